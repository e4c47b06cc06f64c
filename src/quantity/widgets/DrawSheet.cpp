#include "quantity/widgets/DrawSheet.h"

#include "platform/MessageEvent.h"
#include "quantity/QuantityEntry.h"
#include "quantity/widgets/RowView.h"

namespace quarrant {

bool CDrawSheet::OnPageMessage(MessageEvent& message) {
    switch (message.Message()) {
        case WM_PAGE_ADDENTRY:
            // The entry becomes rows and is reset; a null entry only lists the rows again.
            if (m_rowView != nullptr) {
                m_rowView->AddEntry(reinterpret_cast<QuantityEntry*>(message.LParam()));
            }
            message.result = 0;
            return true;
        case WM_PAGE_PICK:
            OnPagePick(static_cast<int>(message.WParam()));
            message.result = 0;
            return true;
        default:
            return false;
    }
}

void CDrawSheet::OnPagePick(int) {}

}  // namespace quarrant
