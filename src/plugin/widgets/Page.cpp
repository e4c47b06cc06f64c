#include "plugin/widgets/Page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <utility>

#include "base/GbkText.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/MessageEvent.h"
#include "platform/ProgramFont.h"
#include "platform/QtText.h"
#include "plugin/ComponentRules.h"
#include "plugin/FerroletApi.h"
#include "plugin/PageTexts.h"
#include "plugin/PartNames.h"
#include "plugin/PickData.h"
#include "plugin/widgets/DialogUnits.h"
#include "plugin/widgets/PageFields.h"
#include "plugin/widgets/SubDlg.h"

namespace quarrant {
namespace {

// A component line's button: a check box whose check mark says that the line is set. A click
// opens the component dialog instead of toggling; only the dialog checks and unchecks it.
class ComponentButton : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

// The page's dialog size in dialog units.
constexpr int kPageWidthUnits = 194;
constexpr int kPageHeightUnits = 412;

}  // namespace

CPage::CPage(std::int32_t mode, Catalogue* materials, Catalogue* structures,
             std::string programFolder)
    : m_materials(materials != nullptr ? materials : &m_ownMaterials),
      m_structures(structures != nullptr ? structures : &m_ownStructures),
      m_programFolder(std::move(programFolder)),
      m_mode(mode) {
    setObjectName(QStringLiteral("Page1000"));
    setWindowTitle(ToQt(kPageCaption));
    setFont(ProgramFont());
    const DialogUnits units(font());

    m_name = MakeField(this, "Combo1000");
    m_addName = new QPushButton(ToQt(kPlus), this);
    m_addName->setObjectName(QStringLiteral("Button1022"));
    m_removeName = new QPushButton(ToQt(kMinus), this);
    m_removeName->setObjectName(QStringLiteral("Button1023"));
    m_count = new QLineEdit(this);
    m_count->setObjectName(QStringLiteral("Edit1047"));
    m_pickCount = new QPushButton(ToQt(kCountButton), this);
    m_pickCount->setObjectName(QStringLiteral("Button1010"));
    for (QPushButton* small : {m_addName, m_removeName, m_pickCount}) {
        small->setFixedWidth(units.X(18));
        small->setAutoDefault(false);
    }

    auto* group = new QGroupBox(ToQt(kComponentGroup), this);
    group->setObjectName(QStringLiteral("Group1048"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(units.X(6), units.Y(4), units.X(4), units.Y(4));
    groupLayout->setSpacing(units.Y(2));
    for (int index = 0; index < kComponentCount; ++index) {
        auto* button = new ComponentButton(ToQt(kComponentButtonCaption), group);
        button->setObjectName(QStringLiteral("Button%1").arg(1028 + index));
        // A set line's summary may be wider than the page: it is cut off (and shown whole as
        // the tool tip) rather than widening the host's pane.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        connect(button, &QCheckBox::clicked, this, [this, index] { OpenComponent(index); });
        groupLayout->addWidget(button);
        m_buttons[static_cast<std::size_t>(index)] = button;
    }
    m_add = new QPushButton(ToQt(kAddButton), this);
    m_add->setObjectName(QStringLiteral("Button1009"));
    m_add->setAutoDefault(false);

    // The name combo spans the page; the count edit stretches with "数" at the right edge; the
    // group and its buttons take the page's width.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(3));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(ToQt(kStructureNameLabel), this));
    nameRow->addStretch(1);
    nameRow->addWidget(m_addName);
    nameRow->addWidget(m_removeName);
    layout->addLayout(nameRow);
    layout->addWidget(m_name);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(ToQt(kStructureCountLabel), this));
    countRow->addWidget(m_count, 1);
    countRow->addWidget(m_pickCount);
    layout->addLayout(countRow);
    layout->addWidget(group);
    layout->addWidget(m_add);
    layout->addStretch(1);

    // 1. The structure names of the catalogue.
    for (const auto& entry : *m_structures) {
        m_name->addItem(ToQt(entry.key));
    }
    m_name->setCurrentIndex(-1);

    // 2. The component dialog, hidden until a line is opened; it starts with the parts and
    //    axes kept from earlier pages.
    std::vector<std::string> partNames;
    if (!m_programFolder.empty()) {
        Result<std::vector<std::string>> kept = ReadPartNames(m_programFolder);
        if (kept) {
            partNames = std::move(kept.Value());
        } else {
            std::fprintf(stderr, "Ferrolet: %s\n", GbkToUtf8(kept.Message()).c_str());
        }
    }
    m_subDlg = new CSubDlg(this, m_mode, m_materials, partNames);
    m_subDlg->hide();

    // 3. Nothing to pick from without a drawing.
    m_pickCount->setEnabled(m_mode != kPageModeData);

    connect(m_addName, &QPushButton::clicked, this, &CPage::AddStructureName);
    connect(m_removeName, &QPushButton::clicked, this, &CPage::RemoveStructureName);
    connect(m_pickCount, &QPushButton::clicked, this, &CPage::PickCount);
    connect(m_add, &QPushButton::clicked, this, &CPage::AddData);
}

CPage::~CPage() {
    const std::vector<std::string> parts = m_subDlg->PartNames();
    delete m_subDlg;
    m_subDlg = nullptr;
    if (!m_programFolder.empty()) {
        // The host is tearing its window down: no message box now, the reason goes to
        // standard error.
        Status kept = KeepPartNames(m_programFolder, parts);
        if (!kept) {
            std::fprintf(stderr, "Ferrolet: %s\n", GbkToUtf8(kept.Message()).c_str());
        }
    }
}

QSize CPage::sizeHint() const {
    const DialogUnits units(font());
    return QSize(units.X(kPageWidthUnits), units.Y(kPageHeightUnits));
}

// The page never holds its host's pane open: a pane lower than the page cuts it off at the
// bottom, as a fixed-size dialog would be.
QSize CPage::minimumSizeHint() const {
    return QSize(QWidget::minimumSizeHint().width(), 0);
}

void CPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_subDlg != nullptr) {
        m_subDlg->setGeometry(rect());
    }
}

void CPage::SetCadData(std::string_view text, std::int32_t mode) {
    PickData data = SplitPickText(text);
    switch (mode) {
        case 0:
            m_entities = std::move(data.identifiers);
            m_count->setText(ToQt(data.values));
            break;
        case 4:
            m_subDlg->TakeCount(data.values, std::move(data.identifiers));
            break;
        case 1:
        case 2:
        case 3:
            m_subDlg->TakeMeasure(mode, CondenseValues(data.values), std::move(data.identifiers));
            break;
        default:
            break;
    }
}

void CPage::SendToSheet(int message, std::uintptr_t wParam, std::intptr_t lParam) {
    QWidget* sheet = PageSheetOf(this);
    if (sheet == nullptr) {
        return;
    }
    MessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(sheet, &event);
}

void CPage::AddStructureName() {
    const std::string name = FieldText(m_name);
    if (name.empty() || m_structures->Contains(name)) {
        return;
    }
    m_structures->SetAt(name, CatalogueRecord{name, {}, {}});
    m_name->addItem(ToQt(name));
}

void CPage::RemoveStructureName() {
    const std::string name = FieldText(m_name);
    if (name.empty() || !m_structures->RemoveKey(name)) {
        return;
    }
    const int index = m_name->findText(ToQt(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        m_name->removeItem(index);
    }
}

void CPage::PickCount() {
    std::string empty;
    SendToSheet(WM_PAGE_PICK, 0, reinterpret_cast<std::intptr_t>(&empty));
}

void CPage::OpenComponent(int index) {
    const auto at = static_cast<std::size_t>(index);
    m_subDlg->Open(m_entry.components[at], m_buttons[at]);
}

void CPage::AddData() {
    m_entry.texts[kEntryItemName] = FieldText(m_name);
    std::string count = FromQt(m_count->text());
    if (count.empty() || count == "0") {
        count = "1";
    }
    m_entry.texts[kEntryCount] = count;
    if (m_entry.texts[kEntryItemName].empty()) {
        ShowMessage(kStructureNameEmpty);
        return;
    }
    const std::string& name = m_entry.texts[kEntryItemName];
    if (!m_structures->Contains(name)) {
        m_structures->SetAt(name, CatalogueRecord{name, {}, {}});
        m_name->addItem(ToQt(name));
    }
    if (TotalStructure(m_entry)) {
        m_entry.entities.insert(m_entry.entities.end(), m_entities.begin(), m_entities.end());
        SendToSheet(WM_PAGE_ADDENTRY, 0, reinterpret_cast<std::intptr_t>(&m_entry));
    }
    // The host empties the entry when it takes it; emptied here as well, so that a line whose
    // button is unchecked below can never ride along with the next structure.
    m_entry.Reset();
    ResetPage();
}

void CPage::ResetPage() {
    m_name->setCurrentIndex(-1);
    m_name->setEditText(QString());
    m_count->clear();
    m_entities.clear();
    for (QCheckBox* button : m_buttons) {
        ShowLine(button, {});
    }
}

}  // namespace quarrant
