#include "app/widgets/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <thread>

#include "app/widgets/AboutDlg.h"
#include "app/widgets/ProgressDlg.h"
#include "app/widgets/QuarrantApp.h"
#include "app/widgets/SetDlg.h"
#include "app/widgets/XunwenDlg.h"
#include "platform/CommandActions.h"
#include "platform/IconArt.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"

namespace quarrant {

namespace {

// The status bar panes: the message pane and the three key indicators.
const char* const kStatusTexts[] = {
    "\xBE\xCD\xD0\xF7",  // 就绪
    "\xB4\xF3\xD0\xB4",  // 大写
    "\xCA\xFD\xD7\xD6",  // 数字
    "\xB9\xF6\xB6\xAF",  // 滚动
};

}  // namespace

CMainFrame::CMainFrame(CQuarrantApp& app) : m_app(app) {
    setWindowTitle(QStringLiteral("Quarrant"));
    setWindowIcon(ProgramIcon());
    setObjectName(QStringLiteral("MainFrame"));
    resize(1280, 800);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    m_mdiArea->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    m_actions = new CommandActions(this);
    connect(m_actions, &CommandActions::Triggered, this, &CMainFrame::OnCommand);

    // The five toolbars, in order, at the top; the menus use the same actions.
    for (const ToolBarSpec& bar : MainFrameToolBars()) {
        QToolBar* toolBar = BuildToolBar(bar, *m_actions, &CommandIcon, this);
        addToolBar(Qt::TopToolBarArea, toolBar);
        m_toolBars[bar.resource] = toolBar;
    }
    m_childMenus[kMenuData] = &DataFrameMenu();
    m_childMenus[kMenuDrawing] = &DrawingFrameMenu();
    m_childMenus[kMenuMainFrame] = &MainFrameMenu();
    m_childMenus[kMenuManager] = &ManagerFrameMenu();
    m_childMenus[kMenuReport] = &ReportFrameMenu();
    for (const auto& entry : m_childMenus) {
        for (const MenuSpec& menu : *entry.second) {
            for (const CommandEntry& item : menu.items) {
                if (item.id != 0) {
                    m_actions->Action(item.id, item.text);
                }
            }
        }
    }

    for (const char* text : kStatusTexts) {
        auto* pane = new QLabel(ToQt(text), this);
        pane->setObjectName(QStringLiteral("StatusPane%1").arg(m_statusPanes.size()));
        m_statusPanes.push_back(pane);
    }
    statusBar()->addWidget(m_statusPanes[0], 1);
    for (std::size_t i = 1; i < m_statusPanes.size(); ++i) {
        m_statusPanes[i]->setEnabled(false);  // the key states are not shown
        statusBar()->addPermanentWidget(m_statusPanes[i]);
    }

    ShowOnlyToolBar(kToolBarNoChild);
    UpdateMenuAndCommands();
}

CMainFrame::~CMainFrame() {
    RunExitSequence();
    // Child frames report their destruction to this frame; they go while it still stands.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList()) {
        disconnect(frame, nullptr, this, nullptr);
    }
}

void CMainFrame::RegisterChildMenu(int resource, const std::vector<MenuSpec>* menu) {
    m_childMenus[resource] = menu;
    for (const MenuSpec& menuTable : *menu) {
        for (const CommandEntry& item : menuTable.items) {
            if (item.id != 0) {
                m_actions->Action(item.id, item.text);
            }
        }
    }
}

void CMainFrame::AddChildFrame(QMdiSubWindow* frame) {
    m_mdiArea->addSubWindow(frame);
    m_toolBarSwitch.ChildOpened();
    connect(frame, &QObject::destroyed, this, &CMainFrame::OnChildDestroyed);
    frame->showMaximized();
    m_mdiArea->setActiveSubWindow(frame);
    OnSubWindowActivated(frame);
}

QToolBar* CMainFrame::ToolBar(int resource) const {
    auto found = m_toolBars.find(resource);
    return found != m_toolBars.end() ? found->second : nullptr;
}

void CMainFrame::ShowOnlyToolBar(int resource) {
    for (const auto& [id, toolBar] : m_toolBars) {
        toolBar->setVisible(id == resource);
    }
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* frame) {
    if (frame == nullptr) {
        return;  // no child active any more: the toolbar stays until the last one is gone
    }
    int toolBar = ChildToolBar(frame);
    if (toolBar != 0) {
        m_toolBarSwitch.ChildActivated(toolBar);
        ShowOnlyToolBar(toolBar);
    }
    UpdateMenuAndCommands();
}

void CMainFrame::OnChildDestroyed() {
    if (m_toolBarSwitch.ChildDestroyed()) {
        ShowOnlyToolBar(kToolBarNoChild);
    } else if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        OnSubWindowActivated(active);
    }
    UpdateMenuAndCommands();
}

void CMainFrame::UpdateMenuAndCommands() {
    int menu = kMenuMainFrame;
    if (m_toolBarSwitch.OpenWindows() > 0) {
        if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
            int childMenu = ChildMenu(active);
            if (m_childMenus.count(childMenu) != 0) {
                menu = childMenu;
            }
        }
    }
    if (menu != m_menuShown) {
        BuildMenuBar(*menuBar(), *m_childMenus[menu], *m_actions);
        m_menuShown = menu;
    }
    for (int id : m_actions->Ids()) {
        m_actions->Find(id)->setEnabled(IsCommandEnabled(id));
    }
}

bool CMainFrame::FrameHandles(int id) const {
    switch (id) {
        case kCmdOpenProjectManager:
        case kCmdHelpTopics:
        case kCmdPrecisionSettings:
        case kCmdAppAbout:
        case kCmdAppExit:
        case kCmdWindowArrange:
        case kCmdWindowCascade:
        case kCmdWindowTile:
            return true;
        default:
            return false;
    }
}

bool CMainFrame::IsCommandEnabled(int id) const {
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        if (auto* target = dynamic_cast<CommandTarget*>(active->widget())) {
            if (target->HasCommandHandler(id)) {
                return true;
            }
        }
    }
    return FrameHandles(id);
}

void CMainFrame::OnCommand(int id) {
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        if (auto* target = dynamic_cast<CommandTarget*>(active->widget())) {
            if (target->HasCommandHandler(id)) {
                target->OnCommand(id);
                return;
            }
        }
    }
    switch (id) {
        case kCmdOpenProjectManager:
            m_app.OpenProjectManager();
            break;
        case kCmdHelpTopics:
            m_app.OpenHelp();
            break;
        case kCmdPrecisionSettings:
            ShowSettingsDialog();
            break;
        case kCmdAppAbout:
            ShowAboutDialog();
            break;
        case kCmdAppExit:
            close();
            break;
        case kCmdWindowCascade:
            m_mdiArea->cascadeSubWindows();
            break;
        case kCmdWindowTile:
        case kCmdWindowArrange:
            m_mdiArea->tileSubWindows();
            break;
        default:
            break;
    }
}

void CMainFrame::ShowSettingsDialog() {
    CSetDlg dialog(m_app.GetSettings(), m_app.Messages(), this);
    ExecModal(dialog);
}

void CMainFrame::ShowAboutDialog() {
    CAboutDlg dialog(this);
    ExecModal(dialog);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    RunExitSequence();
    event->accept();
}

void CMainFrame::RunExitSequence() {
    if (m_exitDone) {
        return;
    }
    m_exitDone = true;
    Settings& settings = m_app.GetSettings();
    ProjectManager& manager = m_app.Manager();
    WriteCatalogues(settings).ShowFailures(m_app.Messages());
    if (!NeedsSaveQuestion(manager)) {
        return;
    }
    CXunwenDlg ask(this);
    if (ExecModal(ask) != QDialog::Accepted) {
        return;
    }
    std::thread worker = StartSavingModifiedProjects(manager, settings);
    {
        CProgressDlg progress(settings.progressTotal, settings.progressDone, this);
        ExecModal(progress);
    }
    worker.join();
    settings.progressTotal = 0;
    settings.progressDone = 0;
    // Messages the worker handed over (a project that could not be written) are shown now.
    QCoreApplication::sendPostedEvents();
}

}  // namespace quarrant
