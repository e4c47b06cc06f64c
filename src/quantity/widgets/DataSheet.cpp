#include "quantity/widgets/DataSheet.h"

#include "platform/MessageEvent.h"
#include "quantity/QuantityEntry.h"
#include "quantity/widgets/RowView.h"

namespace quarrant {

bool CDataSheet::OnPageMessage(MessageEvent& message) {
    if (message.Message() != WM_PAGE_ADDENTRY) {
        return false;
    }
    // The entry becomes rows and is reset; a null entry only lists the rows again.
    if (m_rowView != nullptr) {
        m_rowView->AddEntry(reinterpret_cast<QuantityEntry*>(message.LParam()));
    }
    message.result = 0;
    return true;
}

}  // namespace quarrant
