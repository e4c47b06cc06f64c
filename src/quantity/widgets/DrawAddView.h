#pragma once

// CDrawAddView: a drawing window's page pane. Its page is made in mode 0 (picking from the
// drawing); the sheet covers the whole pane whenever the pane is resized.

#include "quantity/widgets/PageHostView.h"

namespace quarrant {

class CDrawSheet;
class CRowView;

class CDrawAddView : public CPageHostView {
    Q_OBJECT

public:
    CDrawAddView(AppContext& app, CRowView* rowView, QWidget* parent = nullptr);

    CDrawSheet* DrawSheet() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace quarrant
