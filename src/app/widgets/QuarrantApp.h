#pragma once

// The application object: the workspace model, the settings of the program folder, the four
// document templates and the main frame. One instance per run (tests make one per case).

#include <memory>
#include <string>

#include "app/SettingsFiles.h"
#include "app/widgets/WindowMessageSink.h"
#include "platform/AppContext.h"
#include "platform/DocTemplate.h"
#include "project/ProjectManager.h"

class QMdiSubWindow;

namespace quarrant {

class CMainFrame;

// The type names of the four document templates (GBK), registered in this order as resources
// 130 to 133.
inline constexpr const char* kManagerDocType =
    "\xB9\xA4\xB3\xCC\xB9\xDC\xC0\xED\xC6\xF7";  // 工程管理器
inline constexpr const char* kDataDocType = "DATA";
inline constexpr const char* kDrawingDocType = "DRAWING";
inline constexpr const char* kTableDocType = "TABLE";

// "帮助.htm": the help page in the program folder.
inline constexpr const char* kHelpPageFileName = "\xB0\xEF\xD6\xFA.htm";

class CQuarrantApp final : public AppContext {
public:
    CQuarrantApp();
    ~CQuarrantApp();
    CQuarrantApp(const CQuarrantApp&) = delete;
    CQuarrantApp& operator=(const CQuarrantApp&) = delete;

    // Start-up in the program folder (GBK, no final separator): the settings files and every
    // project of PATH.ini, the four document templates, the main frame and the project
    // manager. The main window is shown maximised when show is set. False when the program
    // cannot start.
    bool InitInstance(const std::string& programFolder, bool show = true);

    Settings& GetSettings() override { return m_settings; }
    ProjectManager& Manager() override { return m_manager; }
    DocTemplateRegistry& Templates() override { return m_templates; }
    QWidget* MainWindow() override;
    void SetStatusText(int pane, const std::string& gbkText) override;
    int OpenWindows() const override;
    void UpdateCommandStates() override;
    void RunWorker(int total, const std::function<void()>& worker) override;

    MessageSink& Messages() { return m_messages; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    // Brings the project manager's frame to the top, or opens it.
    void OpenProjectManager();

    // <program folder>/帮助.htm (GBK).
    std::string HelpPagePath() const;
    // Opens the help page with the desktop's program for it; a message when it cannot.
    void OpenHelp();

private:
    QMdiSubWindow* CreateManagerFrame();

    WindowMessageSink m_messages;
    Settings m_settings;
    ProjectManager m_manager{m_messages};
    DocTemplateRegistry m_templates;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

}  // namespace quarrant
