#pragma once

// CDrawDataView: the drawing window's row view. It lists only the rows taken on its drawing;
// rows made from the page mark the entities they came from and clear the drawing's selection
// and measurements; its row menu selects the entities a row or one of its quantities was taken
// from, and draws the marks of all of the drawing's rows anew.

#include <functional>

#include "quantity/widgets/RowView.h"

namespace quarrant {

class CCadCtrl;

class CDrawDataView : public CRowView {
    Q_OBJECT

public:
    // The drawing window's CAD control, or nullptr while it is not made yet.
    using ControlSource = std::function<CCadCtrl*()>;

    CDrawDataView(AppContext& app, QuantityTable& dataTable, const std::string& drawingName,
                  QWidget* parent = nullptr);

    void SetControlSource(ControlSource control) { m_control = std::move(control); }

    void OnRowCommand(int id) override;

    // 标记关连的图元 and its variants: selects the entities of the selected grid row's cell.
    void MarkAssociatedEntities();
    // 刷新数据和图纸关联: every entity of this drawing's rows is marked, and only those.
    void RefreshMarks();

signals:
    // Rows were added, deleted, brought back or taken away again.
    void RowsChanged();

protected:
    std::vector<CommandEntry> RowMenu() const override;
    void OnRowsAdded(const QuantityRow& top) override;

private:
    CCadCtrl* Control() const { return m_control ? m_control() : nullptr; }

    ControlSource m_control;
};

}  // namespace quarrant
