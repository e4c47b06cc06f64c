#pragma once

// CDrawSheet: the drawing window's sheet. A finished entry of its page becomes rows of the
// drawing window's row view (with the drawing name, the entity lists and their marks). A pick
// request of the page is answered from the drawing window's CAD control and drawing: a count of
// repeated groups (modes 0 and 4) with their entities selected, or the measured or selected
// lengths in metres (modes 1 to 3); the text goes to every loaded page.

#include <cstdint>
#include <functional>
#include <vector>

#include "cad/GroupCounter.h"
#include "quantity/widgets/PageSheet.h"

namespace quarrant {

class CCadCtrl;
class CPageHostView;
class CRowView;
class Drawing;
class Settings;

class CDrawSheet : public CPageSheet {
    Q_OBJECT

public:
    // The drawing window's CAD control, or nullptr while the drawing view has not made it.
    using ControlSource = std::function<CCadCtrl*()>;

    explicit CDrawSheet(CRowView* rowView, QWidget* parent = nullptr)
        : CPageSheet(parent), m_rowView(rowView) {}

    // Where picks are answered from: the control, the drawing (unit and scale), the settings
    // (precisions) and the pane whose pages get the answer.
    void BindDrawing(ControlSource control, Drawing* drawing, const Settings* settings,
                     CPageHostView* host);

    // Answers a pick request of the page (what WM_PAGE_PICK does).
    void AnswerPick(int mode);

protected:
    bool OnPageMessage(MessageEvent& message) override;

private:
    CRowView* m_rowView = nullptr;
    ControlSource m_control;
    Drawing* m_drawing = nullptr;
    const Settings* m_settings = nullptr;
    CPageHostView* m_host = nullptr;
    // The selected entities while repeated groups are counted.
    CExclusionMap m_exclusionMap;
};

}  // namespace quarrant
