#include "quantity/widgets/DataView.h"

namespace quarrant {

CDataView::CDataView(AppContext& app, QuantityTable& dataTable, QWidget* parent)
    : CRowView(app, dataTable, std::nullopt, parent) {
    setObjectName(QStringLiteral("DataView"));
}

std::vector<CommandEntry> CDataView::RowMenu() const {
    return {
        {kCmdRowShowAll, "\xCF\xD4\xCA\xBE\xCB\xF9\xD3\xD0\xCA\xFD\xBE\xDD"},  // 显示所有数据
        {kCmdRowFilter, "\xB9\xFD\xC2\xCB"},                                   // 过滤
        {0, {}},
        {kCmdRowDelete, "\xC9\xBE\xB3\xFD\xD5\xE2\xD0\xD0\xCA\xFD\xBE\xDD"},  // 删除这行数据
    };
}

}  // namespace quarrant
