#include "quantity/widgets/DrawAddView.h"

#include <QResizeEvent>

#include "plugin/FerroletApi.h"
#include "quantity/widgets/DrawSheet.h"

namespace quarrant {

CDrawAddView::CDrawAddView(AppContext& app, CRowView* rowView, QWidget* parent)
    : CPageHostView(app, new CDrawSheet(rowView), kPageModeDrawing, parent) {
    setObjectName(QStringLiteral("DrawAddView"));
}

CDrawSheet* CDrawAddView::DrawSheet() const {
    return static_cast<CDrawSheet*>(Sheet());
}

void CDrawAddView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The tab widget lays its page out inside the same rectangle.
    Sheet()->setGeometry(rect());
}

}  // namespace quarrant
