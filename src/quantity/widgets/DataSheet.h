#pragma once

// CDataSheet: the data window's sheet. A finished entry of its page becomes rows of the data
// window's row view (without drawing name and entity lists); it answers no pick request, the
// page's pick buttons being disabled there.

#include "quantity/widgets/PageSheet.h"

namespace quarrant {

class CRowView;

class CDataSheet : public CPageSheet {
    Q_OBJECT

public:
    explicit CDataSheet(CRowView* rowView, QWidget* parent = nullptr)
        : CPageSheet(parent), m_rowView(rowView) {}

protected:
    bool OnPageMessage(MessageEvent& message) override;

private:
    CRowView* m_rowView = nullptr;
};

}  // namespace quarrant
