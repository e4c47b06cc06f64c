#include "app/widgets/WindowMessageSink.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "controls/widgets/ShowMessage.h"

namespace quarrant {

void WindowMessageSink::Show(const std::string& gbkText) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        ShowMessage(gbkText);
        return;
    }
    QMetaObject::invokeMethod(
        application, [gbkText] { ShowMessage(gbkText); }, Qt::QueuedConnection);
}

}  // namespace quarrant
