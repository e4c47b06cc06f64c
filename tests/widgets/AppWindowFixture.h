#pragma once

// One run of the program for the window tests: a program folder, project folders, dialogs
// answered by script and messages recorded, and the application started on the project that
// PATH.ini lists.

#include <QAction>

#include <memory>
#include <string>

#include "AppTestSupport.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "platform/CommandActions.h"

namespace quarrant::apptest {

struct AppRun {
    ProgramFolder program;
    TempFolder work;
    TempFolder scratch;
    DialogScript script;
    MessageRecorder messages;
    std::string folder;  // the project PATH.ini lists
    std::unique_ptr<CQuarrantApp> app;

    // Lists the project folder in PATH.ini and starts the program.
    void StartWith(const std::string& projectFolder) {
        folder = projectFolder;
        WriteBytes(program.Path("PATH.ini"), folder + "\r\n");
        Start();
    }
    void Start() {
        app = std::make_unique<CQuarrantApp>();
        app->InitInstance(program.Path(), true);
        if (!QTest::qWaitForWindowExposed(app->MainFrame())) {
            qWarning("main window not exposed");
        }
    }
    // The program ends (not saving again) and starts anew in the same program folder.
    void Restart() {
        app.reset();
        Start();
    }

    Project& TheProject() { return *app->Manager().projects.at(0); }
    CMainFrame& Main() { return *app->MainFrame(); }
    QAction* Action(int id) { return Main().Actions().Find(id); }
};

}  // namespace quarrant::apptest
