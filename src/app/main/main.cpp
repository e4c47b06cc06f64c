// Quarrant: the application object starts up in the folder of the running program and shows
// the main frame with the project manager.

#include <QApplication>

#include <clocale>

#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "base/FileIO.h"
#include "platform/ProgramFont.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library; numbers are always "C".
    std::setlocale(LC_NUMERIC, "C");
    quarrant::ApplyProgramFont();

    quarrant::CQuarrantApp app;
    if (!app.InitInstance(quarrant::ExecutableFolder())) {
        return 1;
    }
    int result = application.exec();
    app.MainFrame()->RunExitSequence();  // when the frame was not closed by the user
    return result;
}
