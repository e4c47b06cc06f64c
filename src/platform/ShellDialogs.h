#pragma once

// The shell's choosers and its "open" verb: the folder browser, the file-open dialog, the
// pop-up menu and opening a document with its program. Each goes through a function that tests
// can replace, so that no test waits for a user.

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;
class QAction;
class QPoint;
class QWidget;

namespace quarrant {

// The folder browser (file-system folders only): the chosen folder, or an empty text when it
// was cancelled.
QString BrowseForFolder(QWidget* parent, const QString& title);
using FolderHandler = std::function<QString(const QString& title)>;
FolderHandler SetFolderHandler(FolderHandler handler);

// The file-open dialog with a filter such as "DXF文件 (*.dxf)": the chosen file, or empty.
QString ChooseOpenFile(QWidget* parent, const QString& filter);
using OpenFileHandler = std::function<QString(const QString& filter)>;
OpenFileHandler SetOpenFileHandler(OpenFileHandler handler);

// The file-save dialog with a filter such as "Excel工作簿 (*.xlsx)", starting at a suggested
// name; it asks before an existing file is replaced. The chosen file, or empty.
QString ChooseSaveFile(QWidget* parent, const QString& filter, const QString& suggestedName);
using SaveFileHandler = std::function<QString(const QString& filter, const QString& suggested)>;
SaveFileHandler SetSaveFileHandler(SaveFileHandler handler);

// Shows the pop-up menu at a global position; returns the chosen action or nullptr.
QAction* PopUpMenu(QMenu& menu, const QPoint& globalPosition);
using PopUpHandler = std::function<QAction*(QMenu& menu)>;
PopUpHandler SetPopUpHandler(PopUpHandler handler);

// Opens a local file with the program the desktop associates with it ("open" verb, shown
// normally). False when nothing could open it.
bool ShellOpen(const QString& filePath);
using ShellOpenHandler = std::function<bool(const QString& filePath)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

}  // namespace quarrant
