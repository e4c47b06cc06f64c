#pragma once

// Shared by the application, project manager and dialog tests: a program folder of their own
// under /tmp (COLOR.ini and the tree icons copied from the sources), saved projects, a
// recorder of message boxes and a script that answers every modal dialog, menu and chooser so
// that no test ever waits for a user.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileIO.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/ModalDialog.h"
#include "platform/ProgramFont.h"
#include "platform/ShellDialogs.h"
#include "project/ProjectManager.h"

namespace quarrant::apptest {

// GBK bytes of a UTF-8 text.
inline std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}
// Screen text of a UTF-8 literal.
inline QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}

inline void WriteBytes(std::string_view gbkPath, std::string_view bytes) {
    std::ofstream out(FsPath(gbkPath), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(std::string_view gbkPath) {
    std::ifstream in(FsPath(gbkPath), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool Exists(std::string_view gbkPath) {
    std::error_code ec;
    return std::filesystem::exists(FsPath(gbkPath), ec);
}

// A temporary folder (GBK path), removed at the end.
class TempFolder {
public:
    TempFolder() : m_dir(QStringLiteral("/tmp/quarrant-app-XXXXXX")) {
        m_path = ModelPath(std::filesystem::path(m_dir.path().toStdString()));
    }
    const std::string& Path() const { return m_path; }
    std::string Path(std::string_view gbkName) const { return JoinPath(m_path, gbkName); }

private:
    QTemporaryDir m_dir;
    std::string m_path;
};

// A program folder as the build lays it out, without projects: COLOR.ini, Set.ini and the
// tree icons from the sources.
class ProgramFolder : public TempFolder {
public:
    ProgramFolder() {
        const std::string source = JoinPath(QUARRANT_SOURCE_DIR, "programfolder");
        for (const char* name :
             {"COLOR.ini", "11.ico", "21.ico", "31.ico", "41.ico", "51.ico", "71.ico"}) {
            std::error_code ec;
            std::filesystem::copy_file(FsPath(JoinPath(source, name)), FsPath(Path(name)), ec);
        }
        WriteBytes(Path("Set.ini"), "1\r\n0.01\r\n");
    }
};

// A saved project named utf8Name under parent with empty drawings of the given names; returns
// its folder path (GBK). Made by a manager of its own, whose scratch folder is scratch.
inline std::string SavedProject(const TempFolder& parent, std::string_view utf8Name,
                                const TempFolder& scratch,
                                const std::vector<std::string>& utf8Drawings = {}) {
    MessageList messages;
    ProjectManager maker(messages);
    maker.SetProgramFolder(scratch.Path());
    static_cast<void>(MakeProjectFolder(parent.Path(), G(utf8Name)));
    Project* project = maker.CreateProject(parent.Path(), G(utf8Name),
                                           "\xBD\xE1\xB9\xB9\xB9\xA4\xB3\xCC");  // 结构工程
    if (project == nullptr) {
        return {};
    }
    for (const std::string& drawing : utf8Drawings) {
        maker.AddDrawing(*project, G(drawing), "mm", "1:1", nullptr);
    }
    maker.SaveProject(*project);
    return project->folderPath;
}

// A small DXF file: one layer, two lines and a Chinese text.
inline std::string SmallDxf() {
    return "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nBEAM\n70\n0\n62\n"
           "7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nLINE\n8\nBEAM\n10\n0\n20\n0\n11\n6000\n21\n0\n"
           "0\nLINE\n8\nBEAM\n10\n0\n20\n0\n11\n3000\n21\n1500\n"
           "0\nTEXT\n8\nBEAM\n10\n100\n20\n100\n40\n250\n1\n" +
           G("钢梁") + "\n0\nENDSEC\n0\nEOF\n";
}

// Every message box text (UTF-8), in order.
class MessageRecorder {
public:
    MessageRecorder() {
        m_previous =
            SetMessageHandler([this](const std::string& gbk) { texts.push_back(GbkToUtf8(gbk)); });
    }
    ~MessageRecorder() { SetMessageHandler(std::move(m_previous)); }
    std::vector<std::string> texts;

private:
    MessageHandler m_previous;
};

// Answers the modal dialogs by object name; a dialog without an answer is recorded and
// rejected. Also answers pop-up menus, the folder browser, the file chooser and the shell.
class DialogScript {
public:
    using Answer = std::function<int(QDialog&)>;

    DialogScript() {
        SetModalHandler([this](QDialog& dialog) {
            shown.push_back(dialog.objectName());
            auto found = answers.find(dialog.objectName());
            if (found == answers.end()) {
                unanswered.push_back(dialog.objectName());
                return static_cast<int>(QDialog::Rejected);
            }
            return found->second(dialog);
        });
        SetPopUpHandler([this](QMenu& menu) -> QAction* {
            std::vector<QString> texts;
            for (QAction* action : menu.actions()) {
                texts.push_back(action->text());
            }
            menus.push_back(texts);
            for (QAction* action : menu.actions()) {
                if (action->text() == menuChoice) {
                    return action;
                }
            }
            return nullptr;
        });
        SetFolderHandler([this](const QString& title) {
            folderTitles.push_back(title);
            return folderChoice;
        });
        SetOpenFileHandler([this](const QString& filter) {
            fileFilters.push_back(filter);
            return fileChoice;
        });
        SetShellOpenHandler([this](const QString& path) {
            opened.push_back(path);
            return true;
        });
    }
    ~DialogScript() {
        SetModalHandler({});
        SetPopUpHandler({});
        SetFolderHandler({});
        SetOpenFileHandler({});
        SetShellOpenHandler({});
    }

    int Count(const QString& objectName) const {
        int count = 0;
        for (const QString& name : shown) {
            count += name == objectName ? 1 : 0;
        }
        return count;
    }

    std::map<QString, Answer> answers;
    std::vector<QString> shown;
    std::vector<QString> unanswered;
    std::vector<std::vector<QString>> menus;
    QString menuChoice;
    std::vector<QString> folderTitles;
    QString folderChoice;
    std::vector<QString> fileFilters;
    QString fileChoice;
    std::vector<QString> opened;
};

// Runs a dialog for real until it closes itself (the progress dialog), giving up after
// timeoutMs.
inline int RunUntilClosed(QDialog& dialog, int timeoutMs = 60000) {
    QTimer::singleShot(timeoutMs, &dialog, [&dialog] { dialog.reject(); });
    return dialog.exec();
}

// With QUARRANT_SCREENSHOT_DIR set, saves the window there as NAME.png; a main window is shown
// at the size of a usual desktop first, whatever the test screen's.
inline void SaveScreenshot(QWidget* window, const char* name) {
    const QByteArray folder = qgetenv("QUARRANT_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(folder));
    if (qobject_cast<QMainWindow*>(window) != nullptr) {
        window->showNormal();
        window->resize(1280, 800);
        QCoreApplication::processEvents();
    }
    window->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name) +
                        QStringLiteral(".png"));
}

// The child of the object name (a dialog control "Combo1005", "Button1009", ...).
template <class T>
T* Control(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

// A mouse event delivered at once, as the window system would.
inline void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace quarrant::apptest

// The Qt Test main of these tests: offscreen unless told otherwise, "C" numbers, the
// program's font.
#define QUARRANT_APP_TEST_MAIN(TestClass)                     \
    int main(int argc, char** argv) {                         \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) { \
            qputenv("QT_QPA_PLATFORM", "offscreen");          \
        }                                                     \
        QApplication application(argc, argv);                 \
        std::setlocale(LC_NUMERIC, "C");                      \
        quarrant::ApplyProgramFont();                         \
        TestClass test;                                       \
        return QTest::qExec(&test, argc, argv);               \
    }
