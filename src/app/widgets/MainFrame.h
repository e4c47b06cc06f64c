#pragma once

// The MDI main frame: the MDI area, the five toolbars of which exactly one is visible (the
// active child's, or 148 when no child is open), a status bar of four panes, the menu of the
// active child, and the exit sequence (catalogues written, one question, the worker save).

#include <QMainWindow>

#include <map>
#include <vector>

#include "app/ToolBarSwitch.h"
#include "platform/CommandTables.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace quarrant {

class CQuarrantApp;
class CommandActions;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CQuarrantApp& app);
    ~CMainFrame() override;

    // Shows a new child frame maximised in the MDI area and counts it as an open window.
    void AddChildFrame(QMdiSubWindow* frame);

    // Registers the menu a child frame names with SetChildResources.
    void RegisterChildMenu(int resource, const std::vector<MenuSpec>* menu);

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* ToolBar(int resource) const;
    // The one visible toolbar.
    int VisibleToolBar() const { return m_toolBarSwitch.Visible(); }
    int OpenWindows() const { return m_toolBarSwitch.OpenWindows(); }
    CommandActions& Actions() const { return *m_actions; }
    // The four status bar panes.
    std::vector<QLabel*> StatusPanes() const { return m_statusPanes; }

    // Runs a command as the menus and toolbars do: the active child first, then the frame.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // The menu of the active child, and every command enabled as its handlers say.
    void UpdateMenuAndCommands();

    // Exit: both catalogue files written; if a project is modified the ask dialog once, and on
    // "是" every modified project saved on a worker thread behind the progress dialog. Runs once
    // (on closing the window, or on destruction if the window was never closed).
    void RunExitSequence();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FrameHandles(int id) const;
    void ShowOnlyToolBar(int resource);
    void OnSubWindowActivated(QMdiSubWindow* frame);
    void OnChildDestroyed();
    void ShowSettingsDialog();
    void ShowAboutDialog();

    CQuarrantApp& m_app;
    QMdiArea* m_mdiArea = nullptr;
    CommandActions* m_actions = nullptr;
    std::map<int, QToolBar*> m_toolBars;
    std::map<int, const std::vector<MenuSpec>*> m_childMenus;
    std::vector<QLabel*> m_statusPanes;
    ToolBarSwitch m_toolBarSwitch;
    int m_menuShown = 0;
    bool m_exitDone = false;
};

}  // namespace quarrant
