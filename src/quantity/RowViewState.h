#pragma once

// What a row view (the drawing window's and the data window's) does to the rows, apart from
// any window: rows made from a finished data-entry record, deletion, undo and redo with their
// history, and cell edits with the quantities they recompute. The views forward their grid's
// messages and their frame's commands here and list the rows again as told.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "quantity/QuantityEntry.h"
#include "quantity/QuantityRow.h"
#include "quantity/RowListing.h"

namespace quarrant {

// "数据行的编号已用完，不能再添加数据。": no identifiers are left for new rows (a damaged data
// file may have used them up).
inline constexpr const char* kNoIdentifiersLeftMessage =
    "\xCA\xFD\xBE\xDD\xD0\xD0\xB5\xC4\xB1\xE0\xBA\xC5\xD2\xD1\xD3\xC3\xCD\xEA\xA3\xAC\xB2\xBB\xC4"
    "\xDC\xD4\xD9\xCC\xED\xBC\xD3\xCA\xFD\xBE\xDD\xA1\xA3";

// Where a view's rows live: the project's data table and its modified flag.
class RowStore {
public:
    virtual ~RowStore() = default;
    // The top-level rows of the project.
    virtual QuantityRowMap& Rows() = 0;
    // How many new rows can still be given identifiers.
    virtual std::int64_t IdentifiersLeft() const = 0;
    // The table's next row identifier plus 1, stored back.
    virtual std::int32_t NewRowIdentifier() = 0;
    virtual void SetModified() = 0;
};

// One row an undo record concerns; only the member matching the record's kind and the child
// flag is set.
struct UndoItem {
    std::int32_t childFlag = 0;  // 1 for a child row
    QuantityRowPtr addedTop;
    QuantityRowPtr addedChild;
    QuantityRowPtr deletedTop;
    QuantityRowPtr deletedChild;
    // The parent of a deleted child, held so that putting the child back never reaches a
    // parent that was freed meanwhile.
    QuantityRowPtr parentOfChild;

    const QuantityRowPtr& Row() const;
};

// One action of the view's history. Rows that an action removed are owned by its record (and
// freed with it) while they are not in the table.
struct UndoRecord {
    static constexpr std::int32_t kAdded = 0;
    static constexpr std::int32_t kDeleted = 2;

    std::int32_t kind = kAdded;
    std::int32_t undone = 0;  // 1 while the action is undone
    std::vector<UndoItem> items;
};

class RowViewState {
public:
    // A drawing window names its drawing: it lists only that drawing's rows and gives its
    // drawing name and entity lists to the rows it makes.
    RowViewState(RowStore& store, std::optional<std::string> drawingName);

    bool IsDrawingWindow() const { return m_windowRows.drawingName.has_value(); }
    // The rows the window lists when nothing is filtered.
    const RowSelection& WindowRows() const { return m_windowRows; }
    RowStore& Store() { return m_store; }

    // Turns a finished entry into a top-level row and one child per used component, with new
    // identifiers, and records the action (discarding every undone record). The entry itself is
    // left as it is. Returns the new top-level row, or the message when too few identifiers are
    // left (nothing then changes).
    Result<QuantityRowPtr> AddEntry(const QuantityEntry& entry);

    // Removes the row (a top-level row takes its children) and records the action. Returns the
    // identifier the listing afterwards selects (the deleted row's), or nothing when the row is
    // no longer in the table.
    std::optional<std::int32_t> DeleteRow(QuantityRow& row);

    // Undoes the last done action, or redoes the first undone one. Returns the identifier the
    // listing afterwards selects (0: none), or nothing when there was nothing to undo or redo.
    std::optional<std::int32_t> Undo();
    std::optional<std::int32_t> Redo();

    bool CanUndo() const { return m_canUndo != 0; }
    bool CanRedo() const { return m_canRedo != 0; }
    int UndoPosition() const { return m_undoPosition; }
    const std::vector<UndoRecord>& Records() const { return m_records; }

    // The outcome of an in-place edit of a row's cell (columns 1 to 12).
    struct CellEdit {
        bool accepted = false;
        // What the cell shows now: the new text, or the stored text when refused.
        std::string cellText;
        // The row's quantity was recomputed (columns 3 to 8).
        bool quantityChanged = false;
        // The top-level row whose structure quantity was recomputed, or nullptr.
        QuantityRow* structure = nullptr;
    };
    // Applies text typed into a cell of the row: the field takes it, and the quantities follow
    // (数量, 长, 宽, 高, 面积, 体积); 长 to 体积 are never emptied and an empty one is not
    // filled; 单位 and 工程量 are not editable. An accepted edit makes the project modified.
    CellEdit EditCell(QuantityRow& row, int col, const std::string& text);

private:
    UndoRecord& NewRecord(std::int32_t kind);
    void UpdateFlags();

    RowStore& m_store;
    RowSelection m_windowRows;
    std::vector<UndoRecord> m_records;  // oldest first
    int m_undoPosition = 0;             // number of records that are done
    std::int32_t m_canUndo = 0;
    std::int32_t m_canRedo = 0;
};

}  // namespace quarrant
