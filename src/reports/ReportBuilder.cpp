#include "reports/ReportBuilder.h"

#include <cstddef>

#include "base/CNumbers.h"
#include "base/HashMap17.h"
#include "quantity/FormulaEvaluator.h"

namespace quarrant {

namespace {

// One group of the summary or material table: the first row seen for its key and the
// quantity texts of every contributing row (views into the rows, which outlive the build).
struct QuantityGroup {
    const QuantityRow* first = nullptr;
    std::vector<std::string_view> texts;
};
using GroupMap = HashMap17<std::string, QuantityGroup>;

void AddToGroup(GroupMap& groups, const std::string& key, const QuantityRow& row,
                std::string_view text) {
    QuantityGroup& group = groups[key];
    if (group.first == nullptr) {
        group.first = &row;
    }
    group.texts.push_back(text);
}

int AppendReportRow(GridModel& grid) {
    const int row = grid.InsertRow("", -1);
    grid.SetRowHeight(row, kReportRowHeight);
    return row;
}

// One row per group in the map's order; groups whose quantity fails are left out and the
// numbering goes on without a gap.
void WriteGroups(GridModel& grid, const GroupMap& groups) {
    int number = 0;
    std::string value;
    for (const auto& entry : groups) {
        if (!EvaluateGroupQuantity(entry.value.texts, value)) {
            continue;
        }
        const int row = AppendReportRow(grid);
        grid.SetItemText(row, 0, FormatInt(++number));
        grid.SetItemText(row, 1, entry.key);
        grid.SetItemText(row, 2, entry.value.first->unit);
        grid.SetItemText(row, 3, value);
    }
}

// The summary sums what stands before the first "=" of a quantity ("2*3=6" counts as 2*3).
std::string_view CutAtEquals(const std::string& quantity) {
    const std::size_t equals = quantity.find('=');
    return equals == std::string::npos ? std::string_view(quantity)
                                       : std::string_view(quantity).substr(0, equals);
}

// Detail columns 1 to 11 of a row, as stored.
void WriteDetailColumns(GridModel& grid, int gridRow, const QuantityRow& row) {
    const std::string* const fields[] = {&row.itemName, &row.material, &row.partOrAxis, &row.count,
                                         &row.length,   &row.width,    &row.height,     &row.area,
                                         &row.volume,   &row.unit,     &row.quantity};
    int col = 1;
    for (const std::string* field : fields) {
        if (!field->empty()) {
            grid.SetItemText(gridRow, col, *field);
        }
        ++col;
    }
}

// The sum evaluated in one formula; the value as "%.3f" text.
bool EvaluateOnce(const std::string& formula, std::string& valueText) {
    return EvaluateFormula(formula, valueText) == 0;
}

void AppendTerm(std::string& formula, std::string_view text) {
    if (!formula.empty()) {
        formula += '+';
    }
    formula += '(';
    formula += text;
    formula += ')';
}

}  // namespace

void ResetReportGrid(GridModel& grid, ReportKind kind) {
    const std::vector<ReportColumn>& columns = ReportColumns(kind);
    grid.DeleteAllItems();
    grid.SetColumnCount(static_cast<int>(columns.size()));
    grid.SetRowCount(1);
    grid.SetRowHeight(0, kReportHeaderHeight);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetEditable(false);
    for (std::size_t col = 0; col < columns.size(); ++col) {
        grid.SetItemText(0, static_cast<int>(col), columns[col].heading);
        grid.SetColumnWidth(static_cast<int>(col), columns[col].width);
    }
}

std::vector<std::string> ReportTreeNames(ReportKind kind, const QuantityTable& dataTable) {
    HashMap17<std::string, bool> names;
    for (const auto& entry : dataTable.rows) {
        const QuantityRow& row = *entry.value;
        if (row.parent != nullptr) {
            continue;
        }
        if (kind == ReportKind::kSummary || kind == ReportKind::kDetail) {
            if (!row.itemName.empty()) {
                names[row.itemName] = true;
            }
        } else if (kind == ReportKind::kMaterial) {
            for (const auto& child : row.children) {
                if (!child.value->material.empty()) {
                    names[child.value->material] = true;
                }
            }
        }
    }
    std::vector<std::string> result;
    result.reserve(names.size());
    for (const auto& entry : names) {
        result.push_back(entry.key);
    }
    return result;
}

bool EvaluateGroupQuantity(const std::vector<std::string_view>& texts, std::string& valueText) {
    std::string formula;
    for (std::string_view text : texts) {
        if (!text.empty()) {
            AppendTerm(formula, text);
        }
    }
    if (formula.empty()) {
        return false;
    }
    if (EvaluateOnce(formula, valueText)) {
        return true;
    }
    // Removing the notes may still leave more than one formula holds: the sum is taken in
    // pieces, each evaluated scaled by 10^6 so that its "%.3f" value keeps nine decimals.
    constexpr std::size_t kPieceLength = FormulaEvaluator::kMaxFormulaLength - 16;
    if (formula.size() <= FormulaEvaluator::kMaxFormulaLength) {
        return false;
    }
    double sum = 0.0;
    std::string piece;
    std::string pieceValue;
    auto addPiece = [&]() {
        if (!EvaluateOnce("(" + piece + ")*1000000", pieceValue)) {
            return false;
        }
        sum += AtofC(pieceValue) / 1000000.0;
        piece.clear();
        return true;
    };
    for (std::string_view text : texts) {
        if (text.empty()) {
            continue;
        }
        if (!piece.empty() && piece.size() + text.size() + 3 > kPieceLength && !addPiece()) {
            return false;
        }
        AppendTerm(piece, text);
    }
    if (!piece.empty() && !addPiece()) {
        return false;
    }
    valueText = FormatFixed(sum, 3);
    return true;
}

int ReportBuilder::ProgressTotal() const {
    return static_cast<int>(m_dataTable.rows.size()) + 2;
}

void ReportBuilder::CollectRowList(ProgressSteps* progress) {
    m_rowList.clear();
    m_rowList.reserve(m_dataTable.rows.size());
    for (const auto& entry : m_dataTable.rows) {
        if (progress != nullptr) {
            progress->Advance();
        }
        if (entry.value->parent == nullptr) {
            m_rowList.push_back(entry.value.get());
        }
    }
}

void ReportBuilder::InitialBuild(GridModel& grid, ProgressSteps& progress) {
    m_selectedName.clear();
    CollectRowList(&progress);
    BuildTable(grid, nullptr, progress);
    progress.Finish();
}

void ReportBuilder::FullRebuild(GridModel& grid, ProgressSteps& progress) {
    // The rows are taken again from the data table: rows deleted or added in a data window
    // since the window opened are then neither referred to nor missed.
    CollectRowList(nullptr);
    BuildTable(grid, nullptr, progress);
    progress.Finish();
}

void ReportBuilder::FilteredRebuild(GridModel& grid, const std::string& name,
                                    ProgressSteps& progress) {
    m_selectedName = name;
    CollectRowList(nullptr);
    BuildTable(grid, &m_selectedName, progress);
    progress.Finish();
}

void ReportBuilder::BuildTable(GridModel& grid, const std::string* filter,
                               ProgressSteps& progress) {
    switch (m_kind) {
        case ReportKind::kSummary:
            BuildSummary(grid, filter, progress);
            break;
        case ReportKind::kDetail:
            BuildDetail(grid, filter, progress);
            break;
        case ReportKind::kMaterial:
            BuildMaterial(grid, filter, progress);
            break;
        default:
            break;
    }
}

void ReportBuilder::BuildSummary(GridModel& grid, const std::string* filter,
                                 ProgressSteps& progress) {
    ResetReportGrid(grid, m_kind);
    GroupMap groups;
    for (const QuantityRow* row : m_rowList) {
        if (filter == nullptr || row->itemName == *filter) {
            AddToGroup(groups, row->itemName, *row, CutAtEquals(row->quantity));
        }
    }
    WriteGroups(grid, groups);
    progress.Advance();
}

void ReportBuilder::BuildDetail(GridModel& grid, const std::string* filter,
                                ProgressSteps& progress) {
    ResetReportGrid(grid, m_kind);
    int number = 0;
    for (const auto& entry : m_dataTable.rows) {
        QuantityRow& row = *entry.value;
        if (row.parent != nullptr || (filter != nullptr && row.itemName != *filter)) {
            continue;
        }
        const int gridRow = AppendReportRow(grid);
        WriteDetailColumns(grid, gridRow, row);
        row.gridRow = gridRow;
        grid.SetItemText(gridRow, 0, FormatInt(++number));
        progress.Advance();
        for (const auto& child : row.children) {
            WriteDetailColumns(grid, AppendReportRow(grid), *child.value);
        }
    }
    progress.Advance();
}

void ReportBuilder::BuildMaterial(GridModel& grid, const std::string* filter,
                                  ProgressSteps& progress) {
    ResetReportGrid(grid, m_kind);
    GroupMap groups;
    for (const auto& entry : m_dataTable.rows) {
        const QuantityRow& row = *entry.value;
        if (row.parent != nullptr) {
            continue;
        }
        for (const auto& child : row.children) {
            const QuantityRow& component = *child.value;
            if (filter == nullptr || component.material == *filter) {
                AddToGroup(groups, component.material, component, component.quantity);
            }
        }
    }
    WriteGroups(grid, groups);
    progress.Advance();
}

}  // namespace quarrant
