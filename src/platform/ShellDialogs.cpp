#include "platform/ShellDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QUrl>

namespace quarrant {
namespace {

// One handler per chooser; the tag keeps choosers of the same signature apart.
template <typename Tag, typename Handler>
Handler& Slot() {
    static Handler handler;
    return handler;
}

template <typename Tag, typename Handler>
Handler Replace(Handler handler) {
    Handler previous = std::move(Slot<Tag, Handler>());
    Slot<Tag, Handler>() = std::move(handler);
    return previous;
}

struct FolderTag {};
struct OpenFileTag {};
struct SaveFileTag {};
struct PopUpTag {};
struct ShellOpenTag {};

}  // namespace

QString BrowseForFolder(QWidget* parent, const QString& title) {
    if (auto handler = Slot<FolderTag, FolderHandler>()) {
        return handler(title);
    }
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

FolderHandler SetFolderHandler(FolderHandler handler) {
    return Replace<FolderTag>(std::move(handler));
}

QString ChooseOpenFile(QWidget* parent, const QString& filter) {
    if (auto handler = Slot<OpenFileTag, OpenFileHandler>()) {
        return handler(filter);
    }
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr,
                                        QFileDialog::ReadOnly);
}

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler) {
    return Replace<OpenFileTag>(std::move(handler));
}

QString ChooseSaveFile(QWidget* parent, const QString& filter, const QString& suggestedName) {
    if (auto handler = Slot<SaveFileTag, SaveFileHandler>()) {
        return handler(filter, suggestedName);
    }
    return QFileDialog::getSaveFileName(parent, QString(), suggestedName, filter);
}

SaveFileHandler SetSaveFileHandler(SaveFileHandler handler) {
    return Replace<SaveFileTag>(std::move(handler));
}

QAction* PopUpMenu(QMenu& menu, const QPoint& globalPosition) {
    if (auto handler = Slot<PopUpTag, PopUpHandler>()) {
        return handler(menu);
    }
    return menu.exec(globalPosition);
}

PopUpHandler SetPopUpHandler(PopUpHandler handler) {
    return Replace<PopUpTag>(std::move(handler));
}

bool ShellOpen(const QString& filePath) {
    if (auto handler = Slot<ShellOpenTag, ShellOpenHandler>()) {
        return handler(filePath);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    return Replace<ShellOpenTag>(std::move(handler));
}

}  // namespace quarrant
