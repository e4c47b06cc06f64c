#pragma once

// CGridCtrl: the spreadsheet-like grid of every tabular view, drawn and edited over a
// GridModel. The parent hears of selection and editing through WM_NOTIFY notifications and the
// two messages WM_GRID_ENDEDIT and WM_GRID_RBUTTONUP, all sent synchronously as MessageEvents.

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CellID.h"
#include "controls/CellRange.h"
#include "controls/GridModel.h"
#include "controls/GridNotify.h"
#include "controls/TesselixExport.h"

class QPainter;
class QPrinter;

namespace quarrant {

class CInPlaceEdit;
class GridInteraction;
class TextLayoutCache;

// Window style bits understood by Create.
inline constexpr unsigned kWsChild = 0x40000000u;
inline constexpr unsigned kWsVisible = 0x10000000u;
inline constexpr unsigned kWsBorder = 0x00800000u;
inline constexpr unsigned kWsTabStop = 0x00010000u;

// How an in-place edit was started, besides a key code (Qt::Key) of Enter, F2, a navigation
// key or a typed character.
inline constexpr int kEditStartDoubleClick = -1;
inline constexpr int kEditStartCharacter = -2;

class TESSELIX_EXPORT CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0,
                       QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Places the grid in parent over rect with the control identifier; style bits: visible,
    // border, tab stop. Returns nonzero on success.
    bool Create(const QRect& rect, QWidget* parent, int id,
                unsigned style = kWsChild | kWsVisible | kWsBorder | kWsTabStop);
    int GetDlgCtrlID() const { return m_id; }
    void SetDlgCtrlID(int id) { m_id = id; }
    // Notifications go to the owner when one is set, else to the parent.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    // ---- the content
    GridModel& Model() { return *m_model; }
    const GridModel& Model() const { return *m_model; }
    // An empty model with this grid's metrics, default cells and switches, for a worker to
    // fill off-screen; hand it back with SetModel on the interface thread.
    std::unique_ptr<GridModel> NewModel() const;
    // Shows model in one step (ending any edit first) and returns the previous content.
    std::unique_ptr<GridModel> SetModel(std::unique_ptr<GridModel> model);

    // ---- sizes
    int GetRowCount() const { return m_model->GetRowCount(); }
    int GetColumnCount() const { return m_model->GetColumnCount(); }
    int GetFixedRowCount() const { return m_model->GetFixedRowCount(); }
    int GetFixedColumnCount() const { return m_model->GetFixedColumnCount(); }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    int InsertRow(std::string_view heading, int position = -1);
    int InsertColumn(std::string_view heading,
                     unsigned format = kDtCenter | kDtVCenter | kDtSingleLine, int position = -1);
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    void DeleteAllItems();
    void DeleteNonFixedRows();

    // ---- cells (texts are model texts, GBK)
    CGridCellBase* GetCell(int row, int col) const { return m_model->GetCell(row, col); }
    bool IsValid(int row, int col) const { return m_model->IsValid(row, col); }
    bool IsCellFixed(int row, int col) const { return m_model->IsCellFixed(row, col); }
    bool SetItemText(int row, int col, std::string_view text);
    std::string GetItemText(int row, int col) const { return m_model->GetItemText(row, col); }
    bool SetItemState(int row, int col, unsigned state);
    unsigned GetItemState(int row, int col) const { return m_model->GetItemState(row, col); }
    bool SetItemData(int row, int col, std::intptr_t data);
    std::intptr_t GetItemData(int row, int col) const { return m_model->GetItemData(row, col); }
    bool SetItemImage(int row, int col, int image);
    int GetItemImage(int row, int col) const { return m_model->GetItemImage(row, col); }
    bool SetItemFormat(int row, int col, unsigned format);
    unsigned GetItemFormat(int row, int col) const { return m_model->GetItemFormat(row, col); }
    bool SetItemFgColour(int row, int col, GridColor color);
    bool SetItemBkColour(int row, int col, GridColor color);
    bool SetItemFont(int row, int col, const GridFont& font);
    const GridFont& GetItemFont(int row, int col) const { return m_model->GetItemFont(row, col); }
    bool SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified(int row, int col) const { return m_model->GetModified(row, col); }
    // The images cells refer to by index.
    void SetImageList(std::vector<QPixmap> images);

    // ---- sizes of rows and columns (pixels)
    bool SetRowHeight(int row, int height);
    int GetRowHeight(int row) const { return m_model->GetRowHeight(row); }
    bool SetColumnWidth(int col, int width);
    int GetColumnWidth(int col) const { return m_model->GetColumnWidth(col); }
    // Fit columns (rows) to their texts, measuring the cells the auto-size style names.
    bool AutoSizeColumn(int col, int autoSizeStyle = kAutoSizeDefault);
    void AutoSizeColumns(int autoSizeStyle = kAutoSizeDefault);
    bool AutoSizeRow(int row);
    void AutoSizeRows();
    void AutoSize(int autoSizeStyle = kAutoSizeDefault);
    void SetAutoSizeStyle(int style) { m_model->Switches().autoSizeStyle = style; }
    int GetAutoSizeStyle() const { return m_model->Switches().autoSizeStyle; }
    // The default metrics of the current font: margin, column width, row height, text height.
    GridMetrics MeasureMetrics() const;

    // ---- switches
    void SetEditable(bool editable = true) { m_model->SetEditable(editable); }
    bool IsEditable() const { return m_model->IsEditable(); }
    void SetListMode(bool listMode = true) { m_model->Switches().listMode = listMode; }
    bool GetListMode() const { return m_model->Switches().listMode; }
    void SetSingleRowSelection(bool single = true) {
        m_model->Switches().singleRowSelection = single;
    }
    void SetSingleColSelection(bool single = true) {
        m_model->Switches().singleColSelection = single;
    }
    void EnableSelection(bool enable = true);
    bool IsSelectable() const { return m_model->Switches().selectable; }
    void SetFixedRowSelection(bool on) { m_model->Switches().fixedRowSelection = on; }
    void SetFixedColumnSelection(bool on) { m_model->Switches().fixedColumnSelection = on; }
    void SetRowResize(bool on = true) { m_model->Switches().rowResize = on; }
    void SetColumnResize(bool on = true) { m_model->Switches().columnResize = on; }
    void SetHandleTabKey(bool on = true) { m_model->Switches().handleTabKey = on; }
    void SetDoubleBuffering(bool on = true) { m_model->Switches().doubleBuffer = on; }
    void EnableTitleTips(bool on = true) { m_model->Switches().titleTips = on; }
    void EnableHiddenRowUnhide(bool on = true) { m_model->Switches().hiddenRowUnhide = on; }
    void EnableHiddenColUnhide(bool on = true) { m_model->Switches().hiddenColUnhide = on; }
    void SetTrackFocusCell(bool on = true) { m_model->Switches().trackFocusCell = on; }
    void SetFrameFocusCell(bool on = true) { m_model->Switches().frameFocusCell = on; }
    void EnableDragAndDrop(bool on = true) { m_model->Switches().dragAndDrop = on; }
    void SetGridLines(int lines);
    int GetGridLines() const { return m_model->Switches().gridLines; }
    void SetGridLineColor(GridColor color);
    void SetGridBkColor(GridColor color);

    // ---- row data (one caller word per row index; rows moving do not move it)
    bool SetRowData(int row, std::intptr_t data) { return m_model->SetRowData(row, data); }
    std::intptr_t GetRowData(int row) const { return m_model->GetRowData(row); }

    // ---- focus cell and selection
    CCellID GetFocusCell() const { return m_model->GetFocusCell(); }
    void SetFocusCell(int row, int col);
    int GetSelectRow() const { return m_model->GetSelectRow(); }
    int GetSelectCol() const { return m_model->GetSelectCol(); }
    void ResetSelectedRange();
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol);
    CCellRange GetSelectedCellRange() const { return m_model->GetSelectedCellRange(); }
    int GetSelectedCount() const { return m_model->GetSelectedCount(); }
    void SelectAllCells();

    // ---- merged cells
    bool MergeCells(int minRow, int minCol, int maxRow, int maxCol);
    bool UnMergeCells(int minRow, int minCol, int maxRow, int maxCol);
    bool MergeSelectedCells();
    bool UnMergeSelectedCells();
    bool GetMergeCell(int& masterRow, int& masterCol, int row, int col) const {
        return m_model->GetMergeCell(masterRow, masterCol, row, col);
    }
    CCellID GetMergeCellID(CCellID cell) const { return m_model->GetMergeCellID(cell); }
    int GetMergeCellWidth(CCellID cell) const { return m_model->GetMergeCellWidth(cell); }
    int GetMergeCellHeight(CCellID cell) const { return m_model->GetMergeCellHeight(cell); }

    // ---- geometry in viewport coordinates
    bool GetCellOriginNoMerge(int row, int col, QPoint& origin) const;
    bool GetCellOrigin(int row, int col, QPoint& origin) const;
    // A master's rectangle spans its block.
    bool GetCellRect(int row, int col, QRect& rect) const;
    CCellID GetCellFromPt(const QPoint& point) const;
    CCellRange GetVisibleNonFixedCellRange() const;
    void EnsureVisible(int row, int col);
    // Scroll positions in pixels (0 horizontal, 1 vertical).
    int GetScrollPos32(int bar) const;
    bool SetScrollPos32(int bar, int pos);
    void RedrawCell(int row, int col);
    void Refresh();

    // ---- in-place editing
    // Checks an edited or pasted text before it stays in the cell; true accepts.
    virtual bool ValidateEdit(int row, int col, const std::string& text);
    // Starts an in-place edit of the cell as a key, Enter, F2 or a double click would;
    // firstChars are the typed characters that replace the text.
    void OnEditCell(int row, int col, int startKey, const QString& firstChars = QString());
    // Ends the in-place edit in progress, if any, as a loss of focus would.
    void EndEditing();
    bool IsEditing() const;
    QWidget* GetEditWnd() const;
    // The edit box's report: row, column, its text and the key that ended it (0 for a loss
    // of focus).
    void OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey);

    // ---- clipboard (texts on the clipboard are UTF-8; the grid keeps GBK)
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditClear();
    // Pastes text (GBK) at a cell; returns whether anything was pasted.
    bool PasteTextToGrid(CCellID cell, std::string_view gbkText);
    // The clipboard text of the selection (GBK).
    std::string CopyTextFromGrid() const;

    // ---- delimited text files; names are model texts (GBK)
    bool Save(std::string_view fileName, int separator = ',');
    bool Load(std::string_view fileName, int separator = ',');

    // ---- printing
    void SetPrintMarginInfo(int headerHeight, int footerHeight, int leftMargin, int rightMargin,
                            int topMargin, int bottomMargin, int gap) {
        m_model->SetPrintMarginInfo(headerHeight, footerHeight, leftMargin, rightMargin, topMargin,
                                    bottomMargin, gap);
    }
    void GetPrintMarginInfo(int& headerHeight, int& footerHeight, int& leftMargin, int& rightMargin,
                            int& topMargin, int& bottomMargin, int& gap) const {
        m_model->GetPrintMarginInfo(headerHeight, footerHeight, leftMargin, rightMargin, topMargin,
                                    bottomMargin, gap);
    }
    void SetShadedPrintOut(bool shaded = true) { m_model->SetShadedPrintOut(shaded); }
    // Prints every page: through the print dialog when printer is null, else on printer (a
    // real printer or a PDF file). Returns the number of pages printed, 0 when cancelled.
    int Print(QPrinter* printer = nullptr);
    // The steps of a host's print job: prepare (returns the page count), print one page
    // (1-based), finish.
    int OnBeginPrinting(QPainter& painter, QPrinter& printer);
    void OnPrint(QPainter& painter, QPrinter& printer, int page);
    void OnEndPrinting();
    // Header and footer texts of a printed page (UTF-8).
    QString PrintHeaderTitle() const;
    static QString PrintFooterPageText(int page, int pageCount);
    static QString PrintDateTimeText();

    // ---- drawing: the viewport's content for the area, on any painter (an image in tests)
    void DrawGrid(QPainter& painter, const QRect& area);

    // The cell record of the last WM_GRID_ENDEDIT or WM_GRID_RBUTTONUP.
    const GridCellRecord& CellRecord() const { return m_cellRecord; }

protected:
    // Sends a notification to the owner or parent; returns the handler's answer.
    std::intptr_t SendNotify(int code, int row, int col);
    std::intptr_t SendMessageToParent(int message, std::uintptr_t wParam, std::intptr_t lParam);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    class Host;
    struct PrintLayout;

    void ApplyFontMetrics();
    void ApplySystemColors();
    void UpdateScrollBars();
    int ScrollX() const;
    int ScrollY() const;
    struct PaintContext;
    QFont FontFor(const GridFont& font) const;
    QFont CellFont(int row, int col) const;
    QColor TextColorFor(const CGridCellBase& cell, int row, int col) const;
    QColor BackColorFor(const CGridCellBase& cell, int row, int col) const;
    void DrawCell(QPainter& painter, int row, int col, const QRect& rect, PaintContext& context);
    void DrawCells(QPainter& painter, const CCellRange& range, const QRect& clip,
                   PaintContext& context);
    void DrawGridLines(QPainter& painter, PaintContext& context);
    QSize TextExtent(int row, int col) const;
    // Opens the edit box of the cell over rect (viewport pixels).
    void OpenEditor(int row, int col, const QRect& rect, int startKey);

    std::unique_ptr<GridModel> m_model;
    int m_id = 0;
    QPointer<QWidget> m_owner;
    GridCellRecord m_cellRecord;
    std::vector<QPixmap> m_images;
    QPointer<CInPlaceEdit> m_edit;
    // The typed characters of an edit being started (OnEditCell), until its box opens.
    QString m_firstChars;

    // Selection, navigation and editing rules; m_host carries out what they ask of the window.
    std::unique_ptr<Host> m_host;
    std::unique_ptr<GridInteraction> m_interaction;

    // Printing state between OnBeginPrinting and OnEndPrinting.
    std::unique_ptr<PrintLayout> m_print;
    // Laid-out texts of the grid's font, kept across repaints.
    std::unique_ptr<TextLayoutCache> m_textCache;
};

// A grid with its own class identity, created without rows or columns.
class TESSELIX_EXPORT CRGridCtrl : public CGridCtrl {
    Q_OBJECT

public:
    explicit CRGridCtrl(QWidget* parent = nullptr) : CGridCtrl(0, 0, 0, 0, parent) {}
};

}  // namespace quarrant
