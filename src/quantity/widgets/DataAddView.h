#pragma once

// CDataAddView: the data window's page pane (347 pixels wide). Its page is made in mode 1 (no
// drawing to pick from); the sheet keeps the size it was made with.

#include "quantity/widgets/PageHostView.h"

namespace quarrant {

class CDataSheet;
class CRowView;

class CDataAddView : public CPageHostView {
    Q_OBJECT

public:
    CDataAddView(AppContext& app, CRowView* rowView, QWidget* parent = nullptr);

    CDataSheet* DataSheet() const;
};

}  // namespace quarrant
