#include "plugin/widgets/SubDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

#include "controls/widgets/ShowMessage.h"
#include "platform/MessageEvent.h"
#include "platform/QtText.h"
#include "plugin/FerroletApi.h"
#include "plugin/PageTexts.h"
#include "plugin/widgets/DialogUnits.h"
#include "plugin/widgets/Page.h"
#include "plugin/widgets/PageFields.h"
#include "plugin/widgets/TreeDlg.h"

namespace quarrant {
namespace {

// The material field: dropping it down shows the material tree instead of a list.
class MaterialCombo : public QComboBox {
public:
    MaterialCombo(QWidget* parent, std::function<void()> dropDown)
        : QComboBox(parent), m_dropDown(std::move(dropDown)) {}
    void showPopup() override { m_dropDown(); }

private:
    std::function<void()> m_dropDown;
};

constexpr int kMeasureField = 0;  // 1005
constexpr int kWidthField = 1;    // 1006
constexpr int kHeightField = 2;   // 1007

// The tree's own height in dialog units.
constexpr int kTreeHeightUnits = 222;

const char* MeasureLabel(int measuringMode) {
    switch (measuringMode) {
        case kMeasureArea:
            return kAreaLabel;
        case kMeasureVolume:
            return kVolumeLabel;
        default:
            return kLengthLabel;
    }
}

QPushButton* MakeButton(const char* gbkText, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(ToQt(gbkText), parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CSubDlg::CSubDlg(CPage* page, std::int32_t pageMode, Catalogue* materials,
                 const std::vector<std::string>& partNames)
    : QWidget(page), m_page(page), m_pageMode(pageMode), m_materials(materials) {
    setObjectName(QStringLiteral("SubDlg1003"));
    setAutoFillBackground(true);
    const DialogUnits units(font());

    m_material =
        ConfigureField(new MaterialCombo(this, [this] { DropDownMaterials(); }), "Combo1000");
    QPushButton* addMaterial = MakeButton(kPlus, "Button1049", this);
    QPushButton* removeMaterial = MakeButton(kMinus, "Button1050", this);
    m_part = MakeField(this, "Combo1002");
    m_count = MakeField(this, "Combo1003");
    m_pickCount = MakeButton(kCountButton, "Button1010", this);
    static constexpr const char* kMeasureNames[] = {"Combo1005", "Combo1006", "Combo1007"};
    static constexpr const char* kPickNames[] = {"Button1011", "Button1012", "Button1013"};
    for (std::size_t field = 0; field < m_measures.size(); ++field) {
        m_measures[field] = MakeField(this, kMeasureNames[field]);
        m_measurePicks[field] = MakeButton(kMeasureButton, kPickNames[field], this);
    }
    m_measureLabel = new QLabel(ToQt(kLengthLabel), this);
    m_measureLabel->setObjectName(QStringLiteral("Static1019"));
    m_unit = MakeField(this, "Combo1008");
    m_unit->addItems({QStringLiteral("m"), QStringLiteral("m^2"), QStringLiteral("m^3")});
    m_unit->setCurrentIndex(-1);
    m_unitWeight = new QLineEdit(this);
    m_unitWeight->setObjectName(QStringLiteral("Edit1018"));
    static constexpr const char* kModeTexts[] = {kModeLengthWidthHeight, kModeAreaHeight,
                                                 kModeVolume};
    static constexpr const char* kModeNames[] = {"Radio1014", "Radio1015", "Radio1017"};
    auto* modeGroup = new QButtonGroup(this);
    for (std::size_t mode = 0; mode < m_modes.size(); ++mode) {
        m_modes[mode] = new QRadioButton(ToQt(kModeTexts[mode]), this);
        m_modes[mode]->setObjectName(QLatin1String(kModeNames[mode]));
        modeGroup->addButton(m_modes[mode], static_cast<int>(mode));
    }
    m_modes[kMeasureLength]->setChecked(true);
    QPushButton* set = MakeButton(kSetButton, "Button1025", this);
    QPushButton* clear = MakeButton(kClearButton, "Button1026", this);
    for (QPushButton* small : {addMaterial, removeMaterial, m_pickCount, m_measurePicks[0],
                               m_measurePicks[1], m_measurePicks[2]}) {
        small->setFixedWidth(units.X(18));
    }

    // Labels on the left, the fields stretching, the pick buttons at the right edge.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(3));
    layout->addWidget(new QLabel(ToQt(kMaterialLabel), this));
    auto* materialRow = new QHBoxLayout;
    materialRow->addWidget(m_material, 1);
    materialRow->addWidget(addMaterial);
    materialRow->addWidget(removeMaterial);
    layout->addLayout(materialRow);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(units.X(3));
    grid->setVerticalSpacing(units.Y(3));
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(new QLabel(ToQt(kPartLabel), this), row, 0);
    grid->addWidget(m_part, row++, 1);
    grid->addWidget(new QLabel(ToQt(kCountLabel), this), row, 0);
    grid->addWidget(m_count, row, 1);
    grid->addWidget(m_pickCount, row++, 2);
    auto* modeRow = new QHBoxLayout;
    for (QRadioButton* mode : m_modes) {
        modeRow->addWidget(mode);
    }
    modeRow->addStretch(1);
    grid->addLayout(modeRow, row++, 0, 1, 3);
    QLabel* fieldLabels[] = {m_measureLabel, new QLabel(ToQt(kWidthLabel), this),
                             new QLabel(ToQt(kHeightLabel), this)};
    for (std::size_t field = 0; field < m_measures.size(); ++field) {
        grid->addWidget(fieldLabels[field], row, 0);
        grid->addWidget(m_measures[field], row, 1);
        grid->addWidget(m_measurePicks[field], row++, 2);
    }
    grid->addWidget(new QLabel(ToQt(kUnitLabel), this), row, 0);
    grid->addWidget(m_unit, row++, 1);
    grid->addWidget(new QLabel(ToQt(kUnitWeightLabel), this), row, 0);
    grid->addWidget(m_unitWeight, row++, 1);
    layout->addLayout(grid);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(set);
    buttonRow->addWidget(clear);
    layout->addSpacing(units.Y(4));
    layout->addLayout(buttonRow);
    layout->addStretch(1);

    for (const std::string& part : partNames) {
        if (!part.empty()) {
            m_partSet[part];
        }
    }
    for (const auto& entry : m_partSet) {
        m_part->addItem(ToQt(entry.key));
    }
    m_part->setCurrentIndex(-1);

    // The material tree, hidden until the material field drops down.
    m_tree = new CTreeDlg(this, [this](const std::string& name) { MaterialChosen(name); });

    if (m_pageMode == kPageModeData) {
        m_pickCount->setEnabled(false);
        for (QPushButton* pick : m_measurePicks) {
            pick->setEnabled(false);
        }
    }

    connect(addMaterial, &QPushButton::clicked, this, &CSubDlg::AddMaterial);
    connect(removeMaterial, &QPushButton::clicked, this, &CSubDlg::RemoveMaterial);
    connect(m_pickCount, &QPushButton::clicked, this, [this] { Pick(4); });
    for (std::size_t field = 0; field < m_measurePicks.size(); ++field) {
        const auto pickMode = static_cast<std::int32_t>(field + 1);
        connect(m_measurePicks[field], &QPushButton::clicked, this,
                [this, pickMode] { Pick(pickMode); });
    }
    connect(modeGroup, &QButtonGroup::idClicked, this,
            [this](int mode) { SetMeasuringMode(mode, true); });
    connect(m_unit, &QComboBox::activated, this, [this] { ApplyUnitRule(); });
    connect(set, &QPushButton::clicked, this, &CSubDlg::Set);
    connect(clear, &QPushButton::clicked, this, &CSubDlg::ClearLine);
}

CSubDlg::~CSubDlg() = default;

void CSubDlg::Open(EntryComponent& component, QCheckBox* button) {
    // 1. An empty dialog in its first look.
    m_material->setEditText(QString());
    m_unitWeight->clear();
    SetUnit({});
    SetFieldText(m_part, {});
    SetFieldText(m_count, {});
    for (std::size_t field = 0; field < m_measures.size(); ++field) {
        SetFieldText(m_measures[field], {});
        EnableField(static_cast<int>(field), true);
    }
    m_countIds.clear();
    m_lengthIds.clear();
    m_widthIds.clear();
    m_heightIds.clear();

    // 2. Over the page's whole client area.
    m_button = button;
    m_component = &component;
    setGeometry(m_page->rect());
    raise();
    show();
    m_material->setFocus();

    // 3. The line's values; 长, 面积 or 体积 decides the measuring mode (the last one set).
    const EntryTexts& texts = component.texts;
    m_material->setEditText(ToQt(texts[kEntryMaterial]));
    m_unitWeight->setText(ToQt(texts[kEntryUnitWeight]));
    SetFieldText(m_part, texts[kEntryPartOrAxis]);
    SetUnit(texts[kEntryUnit]);
    SetFieldText(m_count, texts[kEntryCount]);
    SetFieldText(m_measures[kWidthField], texts[kEntryWidth]);
    SetFieldText(m_measures[kHeightField], texts[kEntryHeight]);
    int mode = kMeasureLength;
    if (!texts[kEntryLength].empty()) {
        SetFieldText(m_measures[kMeasureField], texts[kEntryLength]);
    }
    if (!texts[kEntryArea].empty()) {
        SetFieldText(m_measures[kMeasureField], texts[kEntryArea]);
        mode = kMeasureArea;
    }
    if (!texts[kEntryVolume].empty()) {
        SetFieldText(m_measures[kMeasureField], texts[kEntryVolume]);
        mode = kMeasureVolume;
    }
    SetMeasuringMode(mode, false);

    // 4. The entities stay with the dialog until the line is set again.
    m_countIds = std::exchange(component.countEntities, {});
    m_lengthIds = std::exchange(component.lengthEntities, {});
    m_widthIds = std::exchange(component.widthEntities, {});
    m_heightIds = std::exchange(component.heightEntities, {});

    // 5.
    ApplyUnitRule();
}

void CSubDlg::TakeCount(std::string_view count, std::vector<std::int32_t> identifiers) {
    SetFieldText(m_count, count);
    m_countIds = std::move(identifiers);
}

void CSubDlg::TakeMeasure(std::int32_t pickMode, std::string_view values,
                          std::vector<std::int32_t> identifiers) {
    switch (pickMode) {
        case 1:
            SetFieldText(m_measures[kMeasureField], values);
            m_lengthIds = std::move(identifiers);
            break;
        case 2:
            SetFieldText(m_measures[kWidthField], values);
            m_widthIds = std::move(identifiers);
            break;
        case 3:
            SetFieldText(m_measures[kHeightField], values);
            m_heightIds = std::move(identifiers);
            break;
        default:
            break;
    }
}

std::vector<std::string> CSubDlg::PartNames() const {
    std::vector<std::string> names;
    names.reserve(m_partSet.size());
    for (const auto& entry : m_partSet) {
        names.push_back(entry.key);
    }
    return names;
}

void CSubDlg::SetMeasuringMode(int mode, bool applyUnitRule) {
    m_measuringMode = mode;
    m_modes[static_cast<std::size_t>(mode)]->setChecked(true);
    m_measureLabel->setText(ToQt(MeasureLabel(mode)));
    switch (mode) {
        case kMeasureLength:
            break;
        case kMeasureArea:
            EnableField(kWidthField, false);
            break;
        default:
            EnableField(kWidthField, false);
            EnableField(kHeightField, false);
            SetUnit("m^3");
            return;
    }
    if (applyUnitRule) {
        ApplyUnitRule();
    }
}

void CSubDlg::ApplyUnitRule() {
    const UnitRule rule = UnitRuleFor(m_measuringMode, FieldText(m_unit));
    switch (rule.action) {
        case UnitRule::kNoChange:
            break;
        case UnitRule::kEnable:
            EnableField(kMeasureField, true);
            EnableField(kWidthField, rule.widthEnabled);
            EnableField(kHeightField, rule.heightEnabled);
            break;
        case UnitRule::kRefuse:
            ShowMessage(kUnitOnlyAreaOrVolume);
            SetUnit({});
            break;
        case UnitRule::kForceCubic:
            SetUnit("m^3");
            break;
    }
}

// A field and, where there is a drawing to pick from, its pick button.
void CSubDlg::EnableField(int field, bool enabled) {
    const auto at = static_cast<std::size_t>(field);
    m_measures[at]->setEnabled(enabled);
    if (m_pageMode != kPageModeData) {
        m_measurePicks[at]->setEnabled(enabled);
    }
}

void CSubDlg::SetUnit(std::string_view unit) {
    SetFieldText(m_unit, unit);
}

ComponentFields CSubDlg::Fields() const {
    ComponentFields fields;
    fields.material = FieldText(m_material);
    fields.part = FieldText(m_part);
    fields.count = FieldText(m_count);
    fields.measure = FieldText(m_measures[kMeasureField]);
    fields.width = FieldText(m_measures[kWidthField]);
    fields.height = FieldText(m_measures[kHeightField]);
    fields.unit = FieldText(m_unit);
    fields.unitWeight = FromQt(m_unitWeight->text());
    return fields;
}

// The part joins the set, and the part list is rebuilt in the set's order.
void CSubDlg::AddPart(const std::string& part) {
    if (part.empty()) {
        return;
    }
    m_partSet[part];
    m_part->clear();
    for (const auto& entry : m_partSet) {
        m_part->addItem(ToQt(entry.key));
    }
    SetFieldText(m_part, part);
}

void CSubDlg::Set() {
    if (m_component == nullptr) {
        return;
    }
    EntryComponent& component = *m_component;
    // 1. The line is reset first: it only counts again once every check has passed.
    component = EntryComponent();
    // 2.
    const ComponentFields fields = Fields();
    EntryTexts& texts = component.texts;
    texts = ComponentTextsFrom(m_measuringMode, fields);
    // 3.
    AddPart(texts[kEntryPartOrAxis]);
    // 4. The catalogue learns the material's unit and unit weight.
    if (!texts[kEntryMaterial].empty() && !texts[kEntryUnit].empty()) {
        CatalogueRecord& record = (*m_materials)[texts[kEntryMaterial]];
        if (record.name.empty()) {
            record.name = texts[kEntryMaterial];
        }
        record.second = texts[kEntryUnit];
        record.third = texts[kEntryUnitWeight];
    }
    // 5. and 6.
    Result<std::string> quantity = ComponentQuantity(m_measuringMode, texts, fields.unit);
    if (!quantity) {
        StopAtCheck(quantity.Message());
        return;
    }
    texts[kEntryQuantity] = std::move(quantity.Value());
    // 7.
    component.countEntities = m_countIds;
    component.lengthEntities = m_lengthIds;
    component.widthEntities = m_widthIds;
    component.heightEntities = m_heightIds;
    // 8.
    hide();
    ShowLine(m_button, ComponentCaption(texts));
    component.used = 1;
}

// A check stopped "设置": the line is reset, so its button must not look set either.
void CSubDlg::StopAtCheck(const std::string& message) {
    ShowLine(m_button, {});
    ShowMessage(message);
}

void CSubDlg::ClearLine() {
    if (m_component == nullptr) {
        return;
    }
    ShowLine(m_button, {});
    hide();
    *m_component = EntryComponent();
}

void CSubDlg::AddMaterial() {
    const std::string material = FieldText(m_material);
    if (material.empty()) {
        return;
    }
    CatalogueRecord& record = (*m_materials)[material];
    if (record.name.empty()) {
        record.name = material;
    }
    record.second = FieldText(m_unit);
    record.third = FromQt(m_unitWeight->text());
}

void CSubDlg::RemoveMaterial() {
    const std::string material = FieldText(m_material);
    if (!material.empty()) {
        m_materials->RemoveKey(material);
    }
}

void CSubDlg::DropDownMaterials() {
    m_tree->Fill(*m_materials);
    m_tree->DropDownUnder(m_material, DialogUnits(font()).Y(kTreeHeightUnits));
}

void CSubDlg::MaterialChosen(const std::string& name) {
    m_material->setEditText(ToQt(name));
    const CatalogueRecord* record = m_materials->Lookup(name);
    if (record == nullptr) {
        return;
    }
    SetUnit(record->second);
    m_unitWeight->setText(ToQt(record->third));
    ApplyUnitRule();
}

void CSubDlg::Pick(std::int32_t pickMode) {
    std::string empty;
    m_page->SendToSheet(WM_PAGE_PICK, static_cast<std::uintptr_t>(pickMode),
                        reinterpret_cast<std::intptr_t>(&empty));
}

}  // namespace quarrant
