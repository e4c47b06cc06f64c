#include "controls/widgets/ShowMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "platform/QtText.h"

namespace quarrant {
namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

}  // namespace

void ShowMessage(std::string_view gbkText) {
    const std::string text(gbkText);
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), ToQt(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace quarrant
