#pragma once

// Builds a report table of a project into a grid's cell content, from the project's data
// table. The builds run on a worker thread behind the progress dialog: they write into a grid
// model that nobody shows yet (the window hands it to its grid afterwards) and read the rows,
// which the interface thread leaves alone while the modal dialog is up.

#include <string>
#include <string_view>
#include <vector>

#include "base/ProgressSteps.h"
#include "controls/GridModel.h"
#include "project/QuantityTable.h"
#include "reports/ReportKind.h"

namespace quarrant {

// Empties the grid and sets up the report's columns: one fixed row 35 high holding the
// headings, one fixed column, the column widths, not editable.
void ResetReportGrid(GridModel& grid, ReportKind kind);

// The names of the report window's tree, each distinct non-empty name once, in the order of a
// 17-bucket text map: the item names of the top-level rows (summary, detail) or the materials
// of their component rows (material). Empty for the other reports.
std::vector<std::string> ReportTreeNames(ReportKind kind, const QuantityTable& dataTable);

// Evaluates the combined quantity of a group: the texts joined by "+", each in brackets so
// that a negative quantity ("-3") adds as it reads, empty texts left out. Notes are removed
// and the sum is evaluated as one formula; a group longer than one formula can be is summed
// in pieces. False when the group fails (unbalanced notes, a formula error, nothing to sum).
bool EvaluateGroupQuantity(const std::vector<std::string_view>& texts, std::string& valueText);

class ReportBuilder {
public:
    ReportBuilder(QuantityTable& dataTable, ReportKind kind)
        : m_dataTable(dataTable), m_kind(kind) {}

    ReportKind Kind() const { return m_kind; }

    // The progress total of a build: the rows of the data table + 2.
    int ProgressTotal() const;

    // The build when the window opens: the top-level rows go into the row list (one step per
    // row), then the table is built. The analysis table and unknown reports stay empty.
    void InitialBuild(GridModel& grid, ProgressSteps& progress);
    // The whole table again (the tree's root selected).
    void FullRebuild(GridModel& grid, ProgressSteps& progress);
    // Only the rows of one item name (summary, detail) or the component rows of one material
    // (material); numbering starts at 1.
    void FilteredRebuild(GridModel& grid, const std::string& name, ProgressSteps& progress);

    // The top-level rows of the last build, in the data table's order.
    const std::vector<QuantityRow*>& RowList() const { return m_rowList; }
    const std::string& SelectedName() const { return m_selectedName; }

private:
    void CollectRowList(ProgressSteps* progress);
    void BuildTable(GridModel& grid, const std::string* filter, ProgressSteps& progress);
    void BuildSummary(GridModel& grid, const std::string* filter, ProgressSteps& progress);
    void BuildDetail(GridModel& grid, const std::string* filter, ProgressSteps& progress);
    void BuildMaterial(GridModel& grid, const std::string* filter, ProgressSteps& progress);

    QuantityTable& m_dataTable;
    ReportKind m_kind;
    std::vector<QuantityRow*> m_rowList;
    std::string m_selectedName;
};

}  // namespace quarrant
