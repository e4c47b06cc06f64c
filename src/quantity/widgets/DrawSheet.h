#pragma once

// CDrawSheet: the drawing window's sheet. A finished entry of its page becomes rows of the
// drawing window's row view (with the drawing name, the entity lists and their marks). The
// answer to the page's pick requests belongs to the drawing window and is added there.

#include "quantity/widgets/PageSheet.h"

namespace quarrant {

class CRowView;

class CDrawSheet : public CPageSheet {
    Q_OBJECT

public:
    explicit CDrawSheet(CRowView* rowView, QWidget* parent = nullptr)
        : CPageSheet(parent), m_rowView(rowView) {}

protected:
    bool OnPageMessage(MessageEvent& message) override;
    // WM_PAGE_PICK with the pick mode (wParam); not answered yet.
    virtual void OnPagePick(int mode);

private:
    CRowView* m_rowView = nullptr;
};

}  // namespace quarrant
