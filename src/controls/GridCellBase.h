#pragma once

// The base of every cell of the grid. The virtual operations keep the order the grid has
// always had (setters, getters, font and edit queries, copy, reset, editing, then merging);
// drawing and the edit box belong to the widget, which draws a cell from these values.

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/CellID.h"
#include "controls/CellRange.h"
#include "controls/GridTypes.h"
#include "controls/TesselixExport.h"

namespace quarrant {

class GridModel;

class TESSELIX_EXPORT CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase();
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;

    virtual void SetText(std::string_view text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(std::intptr_t data) = 0;
    virtual void SetState(unsigned state) { m_state = state; }
    virtual void SetFormat(unsigned format) = 0;
    virtual void SetTextClr(GridColor color) = 0;
    virtual void SetBackClr(GridColor color) = 0;
    // nullptr returns the cell to the default cell's font.
    virtual void SetFont(const GridFont* font) = 0;
    virtual void SetMargin(int margin) = 0;
    virtual void SetGrid(GridModel* grid) = 0;
    virtual void SetCoords(int row, int col) = 0;

    virtual const std::string& GetText() const = 0;
    virtual int GetImage() const = 0;
    virtual std::intptr_t GetData() const = 0;
    virtual unsigned GetState() const { return m_state; }
    virtual unsigned GetFormat() const = 0;
    virtual GridColor GetTextClr() const = 0;
    virtual GridColor GetBackClr() const = 0;
    // The cell's own font description, nullptr when it uses the default cell's.
    virtual const GridFont* GetFont() const = 0;
    virtual int GetMargin() const = 0;
    virtual GridModel* GetGrid() const = 0;

    // The font the cell is drawn with: its own, else the grid's normal default cell's.
    virtual const GridFont* GetFontObject() const = 0;
    virtual bool IsDefaultFont() const = 0;
    virtual bool IsEditing() const { return m_editing; }

    // Copies text, image, data, state, format, colours, font and margin (not the merge data).
    virtual void CopyFrom(const CGridCellBase& other);
    // Back to an empty cell with default values.
    virtual void Reset();

    // In-place editing: the widget opens its edit box and marks the cell as editing.
    virtual bool Edit() {
        m_editing = true;
        return true;
    }
    virtual void EndEdit() { m_editing = false; }
    virtual void OnEndEdit() { m_editing = false; }

    // Merging. A covered cell is "merged with others" and names its master; a master keeps
    // the range of its block; a plain cell has neither.
    virtual bool IsMergeWithOthers() const = 0;
    virtual CCellRange GetMergeRange() const = 0;
    virtual CCellID GetMergeCellID() const = 0;
    // A valid master makes the cell covered by that master's block; (-1, -1) makes it plain.
    virtual void SetMergeCellID(CCellID master) = 0;
    virtual void SetMergeRange(const CCellRange& range) = 0;
    // True for a master whose range covers more than one cell.
    bool IsMerged() const {
        CCellRange range = GetMergeRange();
        return (range.GetMaxRow() - range.GetMinRow() + 1) *
                   (range.GetMaxCol() - range.GetMinCol() + 1) >
               1;
    }

    bool IsFocused() const { return (GetState() & kCellFocused) != 0; }
    bool IsSelected() const { return (GetState() & kCellSelected) != 0; }
    bool IsDropHighlighted() const { return (GetState() & kCellDropHighlighted) != 0; }
    bool IsReadOnly() const { return (GetState() & kCellReadOnly) != 0; }
    bool IsFixed() const { return (GetState() & kCellFixed) != 0; }
    bool IsModified() const { return (GetState() & kCellModified) != 0; }

protected:
    unsigned m_state = 0;
    bool m_editing = false;
};

}  // namespace quarrant
