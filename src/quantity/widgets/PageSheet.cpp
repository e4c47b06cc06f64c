#include "quantity/widgets/PageSheet.h"

#include "platform/MessageEvent.h"
#include "plugin/FerroletApi.h"

namespace quarrant {

CPageSheet::CPageSheet(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageSheet"));
    MarkAsPageSheet(this);
}

bool CPageSheet::event(QEvent* event) {
    if (MessageEvent* message = MessageEvent::From(event)) {
        return OnPageMessage(*message);
    }
    return QTabWidget::event(event);
}

}  // namespace quarrant
