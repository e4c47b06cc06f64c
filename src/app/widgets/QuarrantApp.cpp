#include "app/widgets/QuarrantApp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <thread>

#include "app/widgets/MainFrame.h"
#include "app/widgets/ProgressDlg.h"
#include "base/FileIO.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/CommandTables.h"
#include "platform/IconArt.h"
#include "platform/ModalDialog.h"
#include "platform/ProgramLanguage.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "project/widgets/ManageFrame.h"
#include "quantity/widgets/DataFrame.h"
#include "quantity/widgets/DrawFrame.h"
#include "reports/widgets/TableFrame.h"

namespace quarrant {

namespace {

// "应用程序向导生成的本地应用程序": the key of the framework's profile settings (the standard
// recent-file list is the only thing kept there).
constexpr const char* kProfileKey =
    "\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xCF\xF2\xB5\xBC\xC9\xFA\xB3\xC9\xB5\xC4\xB1\xBE\xB5\xD8\xD3"
    "\xA6\xD3\xC3\xB3\xCC\xD0\xF2";
// "无法打开帮助文件："
constexpr const char* kHelpOpenFailedText =
    "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xB0\xEF\xD6\xFA\xCE\xC4\xBC\xFE\xA3\xBA";
// "正在读入图纸 ": the status bar while drawing files are read in the background.
constexpr const char* kReadingDrawingsText = "\xD5\xFD\xD4\xDA\xB6\xC1\xC8\xEB\xCD\xBC\xD6\xBD ";
// "就绪": the status bar at rest.
constexpr const char* kReadyText = "\xBE\xCD\xD0\xF7";
// How often the status bar looks at the background reading.
constexpr int kReadProgressMs = 100;

}  // namespace

CQuarrantApp::CQuarrantApp() = default;

CQuarrantApp::~CQuarrantApp() {
    // Windows go first: they hold references into the model.
    m_mainFrame.reset();
}

bool CQuarrantApp::InitInstance(const std::string& programFolder, bool show) {
    // The program folder, project types, PATH.ini with every project it lists, Set.ini and
    // the catalogues, in this order.
    StartUp(m_settings, m_manager, programFolder);
    // Message boxes, file dialogs and the other standard texts in Chinese.
    InstallChineseStandardTexts();

    QCoreApplication::setOrganizationName(ToQt(kProfileKey));
    QCoreApplication::setApplicationName(QStringLiteral("Quarrant"));

    m_templates.Register(130, kManagerDocType).SetFactory([this](void*) {
        return CreateManagerFrame();
    });
    RegisterDataWindows(m_templates.Register(131, kDataDocType), *this);
    RegisterDrawingWindows(m_templates.Register(132, kDrawingDocType), *this);
    RegisterReportWindows(m_templates.Register(133, kTableDocType), *this);

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    m_templates.SetFrameHost([this](QMdiSubWindow* frame) { m_mainFrame->AddChildFrame(frame); });

    OpenProjectManager();
    if (show) {
        m_mainFrame->showMaximized();
    }

    // The drawing files are read in the background meanwhile (see StartUp); the status bar
    // tells how far, also for projects added later.
    auto* progress = new QTimer(m_mainFrame.get());
    QObject::connect(progress, &QTimer::timeout, m_mainFrame.get(),
                     [this] { ShowDrawingReadProgress(); });
    progress->start(kReadProgressMs);
    ShowDrawingReadProgress();
    return true;
}

void CQuarrantApp::ShowDrawingReadProgress() {
    ProjectManager::DrawingReadProgress progress = m_manager.ReadProgress();
    std::string text = kReadyText;
    if (!progress.Finished()) {
        text = std::string(kReadingDrawingsText) + std::to_string(progress.read + 1) + "/" +
               std::to_string(progress.queued);
    }
    if (text != m_readProgressText) {
        m_readProgressText = text;
        SetStatusText(0, text);
    }
}

QMdiSubWindow* CQuarrantApp::CreateManagerFrame() {
    auto* frame = new QMdiSubWindow;
    frame->setWidget(new CManageFrame(*this));
    frame->setWindowIcon(QIcon(QPixmap::fromImage(PaintIconArt(IconArt::kWorkspace, 16))));
    SetChildResources(frame, kToolBarManager, kMenuManager);
    return frame;
}

QWidget* CQuarrantApp::MainWindow() {
    return m_mainFrame.get();
}

void CQuarrantApp::SetStatusText(int pane, const std::string& gbkText) {
    if (m_mainFrame == nullptr) {
        return;
    }
    std::vector<QLabel*> panes = m_mainFrame->StatusPanes();
    if (pane >= 0 && static_cast<std::size_t>(pane) < panes.size()) {
        panes[static_cast<std::size_t>(pane)]->setText(ToQt(gbkText));
    }
}

int CQuarrantApp::OpenWindows() const {
    return m_mainFrame != nullptr ? m_mainFrame->OpenWindows() : 0;
}

void CQuarrantApp::UpdateCommandStates() {
    if (m_mainFrame != nullptr) {
        m_mainFrame->UpdateMenuAndCommands();
    }
}

void CQuarrantApp::RunWorker(int total, const std::function<void()>& worker) {
    m_settings.progressDone = 0;
    m_settings.progressTotal = std::max(1, total);
    std::thread thread(worker);
    {
        CProgressDlg progress(m_settings.progressTotal, m_settings.progressDone, m_mainFrame.get());
        ExecModal(progress);
    }
    thread.join();
    m_settings.progressTotal = 0;
    m_settings.progressDone = 0;
}

void CQuarrantApp::OpenProjectManager() {
    // The one manager document is bound to the manager itself: an open one is raised.
    m_templates.OpenOrRaise(kManagerDocType, &m_manager, ToQt(kManagerDocType));
}

std::string CQuarrantApp::HelpPagePath() const {
    return JoinPath(m_settings.programFolder, kHelpPageFileName);
}

void CQuarrantApp::OpenHelp() {
    std::string path = HelpPagePath();
    QString filePath = QString::fromStdString(FsPath(path).string());
    if (!QFileInfo::exists(filePath) || !ShellOpen(filePath)) {
        ShowMessage(std::string(kHelpOpenFailedText) + path);
    }
}

}  // namespace quarrant
