#include "platform/ModalDialog.h"

#include <QDialog>

namespace quarrant {
namespace {

ModalHandler& Handler() {
    static ModalHandler handler;
    return handler;
}

}  // namespace

int ExecModal(QDialog& dialog) {
    if (Handler()) {
        // The handler may itself run the dialog; a copy keeps it alive if it replaces itself.
        ModalHandler handler = Handler();
        return handler(dialog);
    }
    return dialog.exec();
}

ModalHandler SetModalHandler(ModalHandler handler) {
    ModalHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace quarrant
