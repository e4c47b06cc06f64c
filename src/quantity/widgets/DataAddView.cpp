#include "quantity/widgets/DataAddView.h"

#include "plugin/FerroletApi.h"
#include "quantity/widgets/DataSheet.h"

namespace quarrant {

CDataAddView::CDataAddView(AppContext& app, CRowView* rowView, QWidget* parent)
    : CPageHostView(app, new CDataSheet(rowView), kPageModeData, parent) {
    setObjectName(QStringLiteral("DataAddView"));
}

CDataSheet* CDataAddView::DataSheet() const {
    return static_cast<CDataSheet*>(Sheet());
}

}  // namespace quarrant
