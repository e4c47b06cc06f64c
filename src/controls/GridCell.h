#pragma once

#include <memory>

#include "controls/GridCellBase.h"

namespace quarrant {

// The grid's default cell class. The font and the merge data are kept apart from the cell and
// allocated only when set, so that a grid of a million plain cells stays small.
class TESSELIX_EXPORT CGridCell : public CGridCellBase {
public:
    CGridCell();
    ~CGridCell() override;

    void SetText(std::string_view text) override { m_text.assign(text.data(), text.size()); }
    void SetImage(int image) override { m_image = image; }
    void SetData(std::intptr_t data) override { m_data = data; }
    void SetFormat(unsigned format) override { m_format = format; }
    void SetTextClr(GridColor color) override { m_textColor = color; }
    void SetBackClr(GridColor color) override { m_backColor = color; }
    void SetFont(const GridFont* font) override;
    // -1 means the default cell's margin.
    void SetMargin(int margin) override { m_margin = margin; }
    void SetGrid(GridModel* grid) override { m_grid = grid; }
    // Cells do not keep their position: the grid knows it.
    void SetCoords(int, int) override {}

    const std::string& GetText() const override { return m_text; }
    int GetImage() const override { return m_image; }
    std::intptr_t GetData() const override { return m_data; }
    unsigned GetFormat() const override { return m_format; }
    GridColor GetTextClr() const override { return m_textColor; }
    GridColor GetBackClr() const override { return m_backColor; }
    const GridFont* GetFont() const override { return m_font.get(); }
    int GetMargin() const override { return m_margin; }
    GridModel* GetGrid() const override { return m_grid; }

    const GridFont* GetFontObject() const override;
    bool IsDefaultFont() const override { return m_font == nullptr; }

    bool IsMergeWithOthers() const override { return m_merge != nullptr && m_merge->mergedInto; }
    CCellRange GetMergeRange() const override {
        return m_merge != nullptr ? m_merge->range : CCellRange();
    }
    CCellID GetMergeCellID() const override {
        return m_merge != nullptr ? m_merge->master : CCellID();
    }
    void SetMergeCellID(CCellID master) override;
    void SetMergeRange(const CCellRange& range) override;

private:
    struct MergeData {
        CCellRange range;
        bool mergedInto = false;
        CCellID master;
    };
    void DropMergeDataIfPlain();

    std::string m_text;
    GridModel* m_grid = nullptr;
    std::intptr_t m_data = 0;
    std::unique_ptr<GridFont> m_font;
    std::unique_ptr<MergeData> m_merge;
    int m_image = -1;
    unsigned m_format = kDefaultCellFormat;
    GridColor m_textColor = kClrDefault;
    GridColor m_backColor = kClrDefault;
    int m_margin = -1;
};

}  // namespace quarrant
