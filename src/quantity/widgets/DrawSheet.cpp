#include "quantity/widgets/DrawSheet.h"

#include "cad/PickText.h"
#include "cad/widgets/CadCtrl.h"
#include "platform/MessageEvent.h"
#include "project/Drawing.h"
#include "project/Settings.h"
#include "quantity/QuantityEntry.h"
#include "quantity/widgets/PageHostView.h"
#include "quantity/widgets/RowView.h"

namespace quarrant {

// The message nothing sends; accepted and answered 0.
constexpr int kUnusedSheetMessage = 1137;

void CDrawSheet::BindDrawing(ControlSource control, Drawing* drawing, const Settings* settings,
                             CPageHostView* host) {
    m_control = std::move(control);
    m_drawing = drawing;
    m_settings = settings;
    m_host = host;
}

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
            AnswerPick(static_cast<int>(message.WParam()));
            message.result = 0;
            return true;
        case kUnusedSheetMessage:
            message.result = 0;
            return true;
        default:
            return false;
    }
}

void CDrawSheet::AnswerPick(int mode) {
    CCadCtrl* control = m_control ? m_control() : nullptr;
    if (control == nullptr || m_drawing == nullptr || m_host == nullptr) {
        return;
    }
    const CCadDrawing* drawing = m_drawing->CadFile().drawing.get();
    if (drawing == nullptr) {
        return;
    }
    PickSettings settings;
    settings.unitText = m_drawing->unit;
    settings.scaleText = m_drawing->scale;
    if (m_settings != nullptr) {
        settings.coordinatePrecision = m_settings->coordinatePrecision;
        settings.anglePrecision = m_settings->lineAnglePrecision;
    }
    const PickAnswer answer =
        BuildPickAnswer(mode, *drawing, control->Selection(), settings, m_exclusionMap);
    if (!answer.answered) {
        return;
    }
    m_host->SetCadData(answer.text, answer.dataMode);
    if (!answer.identifiersToSelect.empty()) {
        control->SelectEachOnce(answer.identifiersToSelect);
        control->viewport()->update();
    }
}

}  // namespace quarrant
