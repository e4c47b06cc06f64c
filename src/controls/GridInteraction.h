#pragma once

// What the user does with the mouse and the keys in a grid, without any window: selecting
// cells, rows, columns and everything; moving the focus cell with the keys (hidden rows and
// columns are skipped, a merged block is one stop); resizing columns and rows at their
// heading borders; starting an in-place edit and taking its text back. CGridCtrl forwards its
// events here; what only a window can do (telling the parent, the edit box, scroll bars,
// repaints, the clipboard, drags) this asks of its GridHost.

#include <cstdint>
#include <optional>
#include <string>

#include "controls/CellID.h"
#include "controls/CellRange.h"
#include "controls/GridTypes.h"

namespace quarrant {

class GridModel;

// The keys the grid reacts to; every other key is None.
enum class GridKey {
    None,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    Home,
    End,
    Tab,
    Backtab,
    Enter,
    F2,
    Delete,
    Insert,
    Escape,
    C,
    X,
    V,
    A
};

// How an in-place edit starts: by a key (Enter, F2, or the key that ended the edit before), a
// double click, or a typed character (which replaces the text).
struct GridEditStart {
    enum class Way { Key, DoubleClick, Character };
    Way way = Way::Key;
    GridKey key = GridKey::None;
};

// A point of the grid's viewport, in pixels.
struct GridPoint {
    int x = 0;
    int y = 0;
};

// The part of the grid in view: scroll offsets and the viewport's size, in pixels.
struct GridViewport {
    int scrollX = 0;
    int scrollY = 0;
    int width = 0;
    int height = 0;
};

// The pointer's shape over the grid without a button held.
enum class GridCursor { Normal, SizeColumn, SizeRow };

enum class GridClipboardCommand { Copy, Cut, Paste };

// What the grid's window does for the interaction. Notify, EditEnded and RightButtonUp reach
// the parent synchronously; its handler may change the grid before they return.
class GridHost {
public:
    virtual ~GridHost() = default;

    virtual GridViewport Viewport() const = 0;
    // Scrolls to a position (pixels); the window keeps it within its scroll range.
    virtual void SetScrollPosition(bool vertical, int position) = 0;
    // One step of a scroll bar, direction +1 or -1.
    virtual void ScrollStep(bool vertical, int direction) = 0;

    // A notification (WM_NOTIFY) to the parent; returns the handler's answer.
    virtual std::intptr_t Notify(int code, int row, int col) = 0;
    // The right-button message with the cell under the pointer (-1, -1 outside the cells).
    virtual void RightButtonUp(int row, int col) = 0;
    // The end-of-edit message; false when the parent closed the grid meanwhile, after which
    // nothing more may be done.
    virtual bool EditEnded(int row, int col) = 0;

    virtual void Repaint() = 0;
    virtual void RepaintCell(int row, int col) = 0;
    // Row or column sizes changed: scroll ranges and the picture follow.
    virtual void SizesChanged() = 0;

    // Checks an edited text before it stays in the cell; true accepts.
    virtual bool ValidateEdit(int row, int col, const std::string& text) = 0;
    // Opens the edit box over rect (viewport pixels) for the cell.
    virtual void OpenEditor(int row, int col, const GridRect& rect, GridEditStart start) = 0;
    // Ends the edit in progress, if any, as a loss of focus would.
    virtual void CloseEditor() = 0;
    virtual void TakeFocus(bool byMouse) = 0;

    // Fits a column (row) to its texts, as a double click on its border asks.
    virtual void AutoSizeColumn(int col) = 0;
    virtual void AutoSizeRow(int row) = 0;
    // How far the pointer moves with the button held before a drag starts (pixels).
    virtual int DragDistance() const = 0;
    // Drags the selection's text away.
    virtual void StartDrag() = 0;
    virtual void Clipboard(GridClipboardCommand command) = 0;
};

class GridInteraction {
public:
    GridInteraction(GridModel& model, GridHost& host) : m_model(&model), m_host(host) {}
    GridInteraction(const GridInteraction&) = delete;
    GridInteraction& operator=(const GridInteraction&) = delete;

    // Another model is shown: no mouse operation or shift-selection anchor carries over.
    void SetModel(GridModel& model);
    // The anchor of shift-selections is gone (the grid's content was replaced).
    void ForgetSelectionStart() { m_selectionStart = CCellID(); }

    // ---- mouse, in viewport pixels
    // A press ends any edit and takes the focus; the left button starts resizing at a heading
    // border, else selects: a heading selects its columns (rows), the corner everything, a
    // cell itself (Shift extends from the anchor, Ctrl adds to the selection).
    void ButtonDown(GridPoint point, bool left, bool shift, bool ctrl);
    // The pointer's shape where no button is held.
    GridCursor Hover(GridPoint point) const;
    // The pointer moves with the left button held: resizing, selecting (scrolling towards a
    // pointer outside the cells) or starting a drag.
    void LeftDrag(GridPoint point, bool ctrl);
    void LeftButtonUp();
    // Ends any edit, focuses the cell under the pointer (a heading's first normal cell),
    // selecting it unless it is selected already, then tells the parent.
    void RightButtonUp(GridPoint point);
    // A double click on a heading border fits the column (row); on a normal cell it edits.
    void DoubleClick(GridPoint point);
    // The vertical scroll position after a wheel turn of notches (positive away from the
    // user), linesPerNotch rows each.
    int WheelScrollY(int notches, int linesPerNotch) const;

    // ---- keys
    // Returns whether the grid used the key; a typed character is the window's to handle.
    bool KeyPress(GridKey key, bool shift, bool ctrl);

    // ---- selection and focus
    void SelectAllCells();
    // Empties the texts of the selected cells of an editable grid (fixed and read-only cells
    // keep theirs).
    void ClearSelectedTexts();
    // The cell a key moves the focus to from `from`, or (-1, -1).
    CCellID NextCell(CCellID from, GridKey key, bool ctrl) const;
    // Scrolls until the cell is in view (fixed rows and columns always are).
    void EnsureVisible(int row, int col);

    // ---- in-place editing
    // Starts an edit of the cell (of its merged block's master): an editable grid and a
    // normal, writable cell, and a parent that does not refuse GVN_BEGINLABELEDIT.
    void EditCell(int row, int col, GridEditStart start);
    // The edit box ended: newText is the edited text when it differs from the cell's as
    // shown; lastKey the key that ended it; takeFocus whether the grid takes the focus back.
    // An edit ended by a navigation key goes on in the cell that key moves to.
    void EditEnded(int row, int col, const std::optional<std::string>& newText, GridKey lastKey,
                   bool takeFocus);

    // ---- geometry of the current view
    CCellID CellAt(GridPoint point) const;
    CCellRange VisibleNonFixedCells() const;
    // The column whose right border is within three pixels of a point in the fixed rows,
    // else -1 (and the row counterpart).
    int ColumnBorderAt(GridPoint point) const;
    int RowBorderAt(GridPoint point) const;

private:
    enum class MouseMode {
        Nothing,
        SelectingCells,
        SelectingRows,
        SelectingCols,
        SelectingAll,
        SizingColumn,
        SizingRow,
        PrepareDrag
    };

    void SelectCells(CCellID from, CCellID to, bool keepPrevious);
    // Selection and focus with GVN_SELCHANGING before and GVN_SELCHANGED after.
    void ChangeSelection(const CCellRange& range, bool keepPrevious, CCellID focus);
    void MoveFocus(GridKey key, bool shift, bool ctrl);
    // The cells of a merged master's block, else the cell alone.
    CCellRange BlockOf(CCellID cell) const;

    GridModel* m_model;
    GridHost& m_host;
    MouseMode m_mouseMode = MouseMode::Nothing;
    // The anchor Shift extends a selection from.
    CCellID m_selectionStart;
    CCellID m_lastMouseCell;
    GridPoint m_mouseDownPoint;
    int m_sizingIndex = -1;
    int m_sizingStartSize = 0;
};

}  // namespace quarrant
