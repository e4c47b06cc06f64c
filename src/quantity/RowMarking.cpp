#include "quantity/RowMarking.h"

#include "quantity/RowColumns.h"

namespace quarrant {

std::optional<RowMarking> RowMarkingOf(const QuantityRow& row, int column) {
    if (row.parent == nullptr) {
        // 没有图元与这行数据相关连！
        return RowMarking{&row.list1,
                          "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xD5\xE2\xD0\xD0\xCA\xFD\xBE\xDD"
                          "\xCF\xE0\xB9\xD8\xC1\xAC\xA3\xA1"};
    }
    switch (column) {
        case kColCount:  // 没有图元与数量相关连！
            return RowMarking{&row.list1,
                              "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xCA\xFD\xC1\xBF\xCF\xE0"
                              "\xB9\xD8\xC1\xAC\xA3\xA1"};
        case kColLength:  // 没有图元与长相关连！
            return RowMarking{
                &row.list2,
                "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xB3\xA4\xCF\xE0\xB9\xD8\xC1\xAC\xA3\xA1"};
        case kColWidth:  // 没有图元与宽相关连！
            return RowMarking{
                &row.list3,
                "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xBF\xED\xCF\xE0\xB9\xD8\xC1\xAC\xA3\xA1"};
        case kColHeight:  // 没有图元与高相关连！
            return RowMarking{
                &row.list4,
                "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xB8\xDF\xCF\xE0\xB9\xD8\xC1\xAC\xA3\xA1"};
        case kColArea:  // 没有图元与面积相关连！
            return RowMarking{&row.list2,
                              "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xC3\xE6\xBB\xFD\xCF\xE0"
                              "\xB9\xD8\xC1\xAC\xA3\xA1"};
        case kColVolume:  // 没有图元与体积相关连！
            return RowMarking{&row.list2,
                              "\xC3\xBB\xD3\xD0\xCD\xBC\xD4\xAA\xD3\xEB\xCC\xE5\xBB\xFD\xCF\xE0"
                              "\xB9\xD8\xC1\xAC\xA3\xA1"};
        default:
            return std::nullopt;
    }
}

std::string ComponentMarkItemText(int column) {
    switch (column) {
        case kColCount:  // 标记与数量关连的图元
            return "\xB1\xEA\xBC\xC7\xD3\xEB\xCA\xFD\xC1\xBF\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4"
                   "\xAA";
        case kColLength:  // 标记与长关连的图元
            return "\xB1\xEA\xBC\xC7\xD3\xEB\xB3\xA4\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4\xAA";
        case kColWidth:  // 标记与宽关连的图元
            return "\xB1\xEA\xBC\xC7\xD3\xEB\xBF\xED\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4\xAA";
        case kColHeight:  // 标记与高关连的图元
            return "\xB1\xEA\xBC\xC7\xD3\xEB\xB8\xDF\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4\xAA";
        case kColArea:  // 标记与面积关连的图元
            return "\xB1\xEA\xBC\xC7\xD3\xEB\xC3\xE6\xBB\xFD\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4"
                   "\xAA";
        case kColVolume:  // 标记体积关连的图元
            return "\xB1\xEA\xBC\xC7\xCC\xE5\xBB\xFD\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4\xAA";
        default:
            return {};
    }
}

}  // namespace quarrant
