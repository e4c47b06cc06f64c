#include "project/widgets/AddDrawDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/FileIO.h"
#include "cad/LoadDxf.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/QtText.h"
#include "platform/QuestionBox.h"
#include "platform/ShellDialogs.h"
#include "project/Project.h"
#include "project/ProjectDialogChecks.h"
#include "project/widgets/DrawingPreview.h"

namespace quarrant {

CAddDrawDlg::CAddDrawDlg(Project& project, std::shared_ptr<const CCadColorTable> colorTable,
                         double coordinatePrecision, QWidget* parent)
    : QDialog(parent),
      m_project(project),
      m_colorTable(std::move(colorTable)),
      m_coordinatePrecision(coordinatePrecision) {
    setObjectName(QStringLiteral("AddDrawDlg"));
    setWindowTitle(ToQt("\xCC\xED\xBC\xD3\xCD\xBC\xB6\xD4\xBB\xB0\xBF\xF2"));  // 添加图对话框

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1014"));
    m_choose = new QPushButton(ToQt("\xD1\xA1\xD4\xF1\xCD\xBC\xD6\xBD"), this);  // 选择图纸
    m_choose->setObjectName(QStringLiteral("Button1002"));
    m_choose->setAutoDefault(false);
    connect(m_choose, &QPushButton::clicked, this, &CAddDrawDlg::ChooseDrawing);

    // Both lists also take a typed value; the first entry of each is the default.
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("Combo1017"));
    m_unit->setEditable(true);
    for (const char* unit : kDrawingUnits) {
        m_unit->addItem(ToQt(unit));
    }
    m_unit->setCurrentIndex(0);
    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("Combo1019"));
    m_scale->setEditable(true);
    for (const char* scale : kDrawingScales) {
        m_scale->addItem(ToQt(scale));
    }
    m_scale->setCurrentIndex(0);
    m_scaleHint = new QLabel(this);
    m_scaleHint->setObjectName(QStringLiteral("ScaleHint"));
    connect(m_unit, &QComboBox::currentTextChanged, this, [this] { ShowScaleHint(); });

    // The preview takes the place of the placeholder's rectangle.
    m_preview = CreateDrawingPreview(this);
    m_preview->Widget()->setMinimumSize(480, 320);

    auto* buttons = new QDialogButtonBox(this);
    m_add = buttons->addButton(ToQt("\xCC\xED\xBC\xD3"), QDialogButtonBox::AcceptRole);  // 添加
    m_add->setObjectName(QStringLiteral("AddButton"));
    m_add->setDefault(true);
    buttons->addButton(ToQt("\xC8\xA1\xCF\xFB"), QDialogButtonBox::RejectRole);  // 取消
    connect(buttons, &QDialogButtonBox::accepted, this, &CAddDrawDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(ToQt("\xCD\xBC\xD6\xBD\xC3\xFB\xB3\xC6\xA3\xBA"), this), 0,
                      0);  // 图纸名称：
    layout->addWidget(m_name, 0, 1);
    layout->addWidget(m_choose, 0, 2);
    layout->addWidget(m_preview->Widget(), 1, 0, 1, 3);
    layout->addWidget(new QLabel(ToQt("\xCD\xBC\xD6\xBD\xB5\xA5\xCE\xBB\xA3\xBA"), this), 2,
                      0);  // 图纸单位：
    layout->addWidget(m_unit, 2, 1, 1, 2);
    layout->addWidget(new QLabel(ToQt("\xCD\xBC\xD6\xBD\xB1\xC8\xC0\xFD\xA3\xBA"), this), 3,
                      0);  // 图纸比例：
    layout->addWidget(m_scale, 3, 1, 1, 2);
    layout->addWidget(m_scaleHint, 4, 1, 1, 2);
    layout->addWidget(buttons, 5, 0, 1, 3);
    layout->setRowStretch(1, 1);
}

CAddDrawDlg::~CAddDrawDlg() {
    // The preview control never outlives the drawing it shows.
    m_preview->ShowFile(nullptr);
}

std::string CAddDrawDlg::DrawingName() const {
    return FromQt(m_name->text());
}
std::string CAddDrawDlg::Unit() const {
    return FromQt(m_unit->currentText());
}
std::string CAddDrawDlg::Scale() const {
    return FromQt(m_scale->currentText());
}

void CAddDrawDlg::ChooseDrawing() {
    QString chosen = ChooseOpenFile(this, ToQt("DXF\xCE\xC4\xBC\xFE (*.dxf)"));  // DXF文件 (*.dxf)
    if (chosen.isEmpty()) {
        return;
    }
    std::string path = ModelPath(std::filesystem::path(chosen.toStdString()));
    if (m_name->text().isEmpty()) {
        m_name->setText(ToQt(DrawingNameFromFile(path)));
    }
    // The earlier import goes; the new one is shown zoomed to fit.
    m_preview->ShowFile(nullptr);
    m_cadFile = std::make_unique<CCadFile>();
    LoadDxf(*m_cadFile, path, m_colorTable, m_coordinatePrecision,
            [](const std::string& message) { ShowMessage(message); });
    m_preview->ShowFile(m_cadFile.get());
    m_preview->ZoomToFit();

    // The file's own unit, when it declares one the program knows, and what its dimensions say.
    m_estimate = ScaleEstimate();
    if (m_cadFile->drawing != nullptr) {
        const CCadHeader& header = m_cadFile->drawing->header;
        std::string unit = header.insertionUnitsDeclared
                               ? UnitForInsertionUnits(header.insertionUnits)
                               : std::string();
        if (!unit.empty()) {
            m_unit->setCurrentText(ToQt(unit));
        }
        m_estimate = EstimateScale(*m_cadFile->drawing);
    }
    ShowScaleHint();
}

void CAddDrawDlg::ShowScaleHint() {
    m_scaleHint->setText(ToQt(ScaleEstimateText(m_estimate, Unit())));
}

void CAddDrawDlg::accept() {
    // A file whose import failed holds no drawing and counts as none chosen.
    const bool fileChosen = m_cadFile != nullptr && m_cadFile->drawing != nullptr;
    std::string message = CheckAddDrawing(fileChosen, m_project, DrawingName(), Unit(), Scale());
    if (!message.empty()) {
        ShowMessage(message);
        return;
    }
    if (ScaleDisagrees(m_estimate, Unit(), Scale()) &&
        !AskYesNo(this, ScaleMismatchQuestion(m_estimate, Unit()))) {
        return;
    }
    QDialog::accept();
}

}  // namespace quarrant
