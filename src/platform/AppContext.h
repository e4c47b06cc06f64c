#pragma once

// What a window needs of the running application, and nothing more: the workspace, the
// program's settings (program folder, catalogues, precisions, progress counters), the document
// templates, the main window with its status bar, and the worker run behind the progress
// dialog. The application object implements it; windows outside src/app receive it and never
// see the application class.

#include <functional>
#include <string>

class QWidget;

namespace quarrant {

class DocTemplateRegistry;
class ProjectManager;
class Settings;

class AppContext {
public:
    virtual ~AppContext() = default;

    virtual ProjectManager& Manager() = 0;
    virtual Settings& GetSettings() = 0;
    virtual DocTemplateRegistry& Templates() = 0;

    // The main window: the parent of dialogs and message boxes.
    virtual QWidget* MainWindow() = 0;

    // Shows a text (GBK) in pane 0 to 3 of the main window's status bar.
    virtual void SetStatusText(int pane, const std::string& gbkText) = 0;

    // The number of child windows open now (the project manager counts).
    virtual int OpenWindows() const = 0;

    // The active child's commands changed state (a preview opened, a page turned): the menus
    // and toolbars show them enabled or disabled anew.
    virtual void UpdateCommandStates() {}

    // Sets progress done to 0 and progress total to total (at least 1), starts the worker on a
    // new thread and shows the modal progress dialog until the worker has set progress done to
    // progress total (its last step; it may change the total before), then joins the thread
    // and resets both counters. The worker must not touch widgets; the interface thread does
    // not change the model meanwhile, because the dialog is modal.
    virtual void RunWorker(int total, const std::function<void()>& worker) = 0;
};

}  // namespace quarrant
