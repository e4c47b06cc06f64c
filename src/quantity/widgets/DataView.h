#pragma once

// CDataView: the data window's row view, listing every top-level row of the project (those
// taken on drawings included) with their children. Its row menu: 显示所有数据, 过滤, 删除这行数据.

#include "quantity/widgets/RowView.h"

namespace quarrant {

class CDataView : public CRowView {
    Q_OBJECT

public:
    CDataView(AppContext& app, QuantityTable& dataTable, QWidget* parent = nullptr);

protected:
    std::vector<CommandEntry> RowMenu() const override;
};

}  // namespace quarrant
