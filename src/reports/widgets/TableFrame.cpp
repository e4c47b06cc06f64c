#include "reports/widgets/TableFrame.h"

#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "base/FileIO.h"
#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/AppContext.h"
#include "platform/CommandTables.h"
#include "platform/DocTemplate.h"
#include "platform/IconArt.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "reports/ReportExport.h"
#include "reports/widgets/EditTableView.h"
#include "reports/widgets/HuizongTreeView.h"
#include "reports/widgets/MyPreviewView.h"
#include "reports/widgets/PreviewBar.h"

namespace quarrant {

namespace {

// "命令失败。": the framework's message for a command that could not be carried out.
constexpr const char* kCommandFailedText = "\xC3\xFC\xC1\xEE\xCA\xA7\xB0\xDC\xA1\xA3";
// "打印失败。"
constexpr const char* kPrintFailedText = "\xB4\xF2\xD3\xA1\xCA\xA7\xB0\xDC\xA1\xA3";
// "已导出：" + path, in the status bar.
constexpr const char* kExportedText = "\xD2\xD1\xB5\xBC\xB3\xF6\xA3\xBA";
// The save dialog's filters.
constexpr const char* kExcelFilter =
    "Excel\xB9\xA4\xD7\xF7\xB2\xBE (*.xlsx)";                      // Excel工作簿 (*.xlsx)
constexpr const char* kPdfFilter = "PDF\xCE\xC4\xBC\xFE (*.pdf)";  // PDF文件 (*.pdf)

}  // namespace

CTableFrame::CTableFrame(AppContext& app, QuantityTable& reportNode, QWidget* parent)
    : QWidget(parent), m_app(app), m_doc(reportNode) {
    setObjectName(QStringLiteral("TableFrame"));
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
    m_printer->setDocName(ToQt(m_doc.Title()));

    m_stack = new QStackedWidget(this);
    m_splitter = new QSplitter(Qt::Horizontal);
    m_table = new CEditTableView(app, m_doc);
    m_tree = new CHuizongTreeView(app, m_doc, m_table);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_table);
    // The tree starts at 233 x 200, the table at 300 x 200 and takes what is left.
    m_tree->resize(233, 200);
    m_table->resize(300, 200);
    m_splitter->setSizes({233, 300});
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_stack->addWidget(m_splitter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
}

CTableFrame::~CTableFrame() = default;

void CTableFrame::BuildTree() {
    m_tree->BuildTree();
}

ReportPageTexts CTableFrame::PageTexts() const {
    return ReportPageTexts{ToQt(m_doc.Title()), ToQt(m_doc.ProjectLine())};
}

PageLayout CTableFrame::PrintLayout() const {
    return m_preview != nullptr ? m_preview->Layout() : PageLayout();
}

bool CTableFrame::OpenPreview() {
    if (m_preview != nullptr) {
        return true;
    }
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PreviewPage"));
    auto* bar = new CPreviewBar(page);
    auto* preview = new CMyPreviewView(*m_table->Grid(), *m_printer, PageTexts(), page);
    if (!preview->EnsureLayout()) {
        delete page;
        ShowMessage(kCommandFailedText);
        return false;
    }
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(preview, 1);
    m_previewPage = page;
    m_previewBar = bar;
    m_preview = preview;
    m_stack->addWidget(page);
    m_stack->setCurrentWidget(page);
    connect(bar, &CPreviewBar::Command, this, [this](int id) { OnCommand(id); });
    connect(preview, &CMyPreviewView::CloseRequested, this, &CTableFrame::ClosePreview);
    connect(preview, &CMyPreviewView::PrintRequested, this, [this] { Print(); });
    connect(preview, &CMyPreviewView::StateChanged, this, &CTableFrame::OnPreviewStateChanged);
    preview->setFocus();
    OnPreviewStateChanged();
    return true;
}

void CTableFrame::ClosePreview() {
    if (m_preview == nullptr) {
        return;
    }
    m_stack->setCurrentWidget(m_splitter);
    m_stack->removeWidget(m_previewPage);
    m_previewPage->deleteLater();
    m_previewPage = nullptr;
    m_previewBar = nullptr;
    m_preview = nullptr;
    // The widths (and heights) the preview set stay in the grid.
    m_table->Grid()->Refresh();
    m_app.UpdateCommandStates();
}

void CTableFrame::OnPreviewStateChanged() {
    if (m_previewBar != nullptr) {
        m_previewBar->UpdateStates([this](int id) { return m_preview->IsCommandEnabled(id); });
    }
    m_app.UpdateCommandStates();
}

bool CTableFrame::Print() {
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (ExecModal(dialog) != QDialog::Accepted) {
        return false;
    }
    PageLayout layout = PrintLayout();
    const int pages = PrintReportPages(*m_printer, m_table->Grid()->Model(), layout, PageTexts());
    m_table->Grid()->Refresh();
    if (pages == 0) {
        ShowMessage(kPrintFailedText);
        return false;
    }
    return true;
}

void CTableFrame::PrintSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("PageSetupDialog"));
    if (ExecModal(dialog) != QDialog::Accepted || m_preview == nullptr) {
        return;
    }
    // The pages of another paper or orientation: the preview starts again.
    ClosePreview();
    OpenPreview();
}

bool CTableFrame::ExportExcel(const std::string& path) {
    Status written = WriteReportXlsx(m_table->Grid()->Model(), m_doc.Title(), path);
    if (!written) {
        ShowMessage(written.Message());
        return false;
    }
    m_app.SetStatusText(0, kExportedText + path);
    return true;
}

bool CTableFrame::ExportPdf(const std::string& path) {
    PageLayout layout = PrintLayout();
    std::string message;
    const bool written =
        WriteReportPdf(*m_printer, m_table->Grid()->Model(), layout, PageTexts(), path, &message);
    m_table->Grid()->Refresh();
    if (!written) {
        ShowMessage(message);
        return false;
    }
    m_app.SetStatusText(0, kExportedText + path);
    return true;
}

void CTableFrame::ChooseAndExport(int id) {
    const bool excel = id == kCmdExportExcel;
    const QString suffix = excel ? QStringLiteral(".xlsx") : QStringLiteral(".pdf");
    const std::string suggested =
        JoinPath(m_doc.GetProject().folderPath, m_doc.Title()) + FromQt(suffix);
    QString chosen = ChooseSaveFile(this, ToQt(excel ? kExcelFilter : kPdfFilter),
                                    QString::fromStdString(FsPath(suggested).string()));
    if (chosen.isEmpty()) {
        return;
    }
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += suffix;
    }
    const std::string path = ModelPath(std::filesystem::path(chosen.toStdString()));
    if (excel) {
        ExportExcel(path);
    } else {
        ExportPdf(path);
    }
}

bool CTableFrame::HasCommandHandler(int id) const {
    switch (id) {
        case kCmdPrintSetup:
        case kCmdExportExcel:
        case kCmdExportPdf:
            return true;
        case kCmdPrintPreview:
            return m_preview == nullptr;
        case kCmdPrint:
            return true;  // prints from the table too, not only from the preview
        default:
            return m_preview != nullptr && CMyPreviewView::IsPreviewCommand(id) &&
                   m_preview->IsCommandEnabled(id);
    }
}

void CTableFrame::OnCommand(int id) {
    switch (id) {
        case kCmdPrintPreview:
            OpenPreview();
            return;
        case kCmdPrintSetup:
            PrintSetup();
            return;
        case kCmdExportExcel:
        case kCmdExportPdf:
            ChooseAndExport(id);
            return;
        default:
            break;
    }
    if (m_preview != nullptr && CMyPreviewView::IsPreviewCommand(id)) {
        m_preview->OnCommand(id);
    } else if (id == kCmdPrint) {
        Print();
    }
}

void RegisterReportWindows(CDocTemplate& tables, AppContext& app) {
    tables.SetFactory([&app](void* node) -> QMdiSubWindow* {
        auto* reportNode = static_cast<QuantityTable*>(node);
        if (reportNode == nullptr || reportNode->parent == nullptr) {
            return nullptr;
        }
        auto* frame = new QMdiSubWindow;
        frame->setWidget(new CTableFrame(app, *reportNode));
        frame->setWindowIcon(QIcon(QPixmap::fromImage(PaintIconArt(IconArt::kTable, 16))));
        SetChildResources(frame, kToolBarReport, kMenuReport);
        return frame;
    });
    tables.SetOpenHook([](QMdiSubWindow* frame) {
        if (auto* table = qobject_cast<CTableFrame*>(frame->widget())) {
            table->BuildTree();
        }
    });
}

}  // namespace quarrant
