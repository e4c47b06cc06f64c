#pragma once

// What the user does with the mouse and keys inside the CAD control, without any window: the
// six modes, picking by click, window and crossing rectangle, snapping, measured paths and the
// area polygon, the popup menu and its commands. The control forwards its events here and
// paints what this state says; other windows select and mark entities through it.

#include <cstdint>
#include <string>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadSelection.h"
#include "cad/CadView.h"
#include "cad/SpatialIndex.h"

namespace quarrant {

enum CadMode : int {
    kModeSelect = 0,
    kModeRealTimeZoom = 1,
    kModeWindowZoom = 2,
    kModeMove = 3,
    kModeMeasurePath = 4,
    kModeMeasureArea = 5,
};

// Command identifiers of the popup menu.
inline constexpr int kCmdExit = 33006;               // 退出
inline constexpr int kCmdConfirm = 33007;            // 确定
inline constexpr int kCmdClearAll = 33008;           // 撤销所有选择和测量
inline constexpr int kCmdClearMeasurements = 33009;  // 只撤销测量
inline constexpr int kCmdWindowZoom = 33010;         // 框选放大
inline constexpr int kCmdRealTimeZoom = 33011;       // 实时缩放
inline constexpr int kCmdZoomIn = 33012;             // 放大
inline constexpr int kCmdZoomOut = 33013;            // 缩小
inline constexpr int kCmdMove = 33014;               // 移动
inline constexpr int kCmdThreeLines = 33015;         // 标记为3条线
inline constexpr int kCmdFourLines = 33016;          // 标记为4条线
inline constexpr int kCmdFiveLines = 33017;          // 标记为5条线
inline constexpr int kCmdCustomLines = 33018;        // 自定义线数量
inline constexpr int kCmdMeasure = 33020;            // 测量

// A client pixel.
struct CadPixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const CadPixel&, const CadPixel&) = default;
};

// One popup menu item: a command with its text (GBK), or a separator (command 0).
struct CadMenuItem {
    int command = 0;
    std::string text;
    bool IsSeparator() const { return command == 0; }
};

enum class CadCursor { Unchanged, Select, Zoom, Move, Measure, Hidden };

// What the control has to do after an event.
struct CadFeedback {
    bool repaint = false;
    // The entities' look changed (selected or marked flags); cached pictures are stale.
    bool entitiesChanged = false;
    // Scale or offsets changed (the scroll bars follow).
    bool viewChanged = false;
    // Put the system cursor on this client pixel (a snap moved the point).
    bool moveCursor = false;
    CadPixel cursorTarget;
    CadCursor cursor = CadCursor::Unchanged;
};

// The rectangle the paint outlines while the left button drags in modes 0 and 2.
struct CadRubberBand {
    bool shown = false;
    CadPixel from;
    CadPixel to;
    bool solidWhite = false;  // window (dragged to the right, or window zoom); else crossing
};

// Whether a rectangle selection counts entities entirely inside (window) or touched
// (crossing).
enum class CadPickKind { Window, Crossing };

class CadInteraction {
public:
    CadInteraction() = default;
    CadInteraction(const CadInteraction&) = delete;
    CadInteraction& operator=(const CadInteraction&) = delete;

    // The drawing shown (may be none). A new drawing starts with no selection and no
    // measurements; the old drawing's selected flags are cleared.
    void SetDrawing(CCadDrawing* drawing);
    CCadDrawing* Drawing() const { return m_drawing; }
    // The index of the drawing's entities, rebuilt when the entity array changed.
    const SpatialIndex& Index();

    CadView& View() { return m_view; }
    const CadView& View() const { return m_view; }

    // --- Operations other windows call.
    // previous mode := mode, mode := the new one (0 to 5; other values are ignored).
    void SetMode(int mode);
    // Clears every selected flag, empties the selection and turns the rubber line off.
    void ClearSelection();
    // Appends the top-level entity with this identifier to the selection (no duplicate
    // check) and sets its flags; unknown identifiers are ignored.
    bool SelectById(std::int32_t identifier);
    // Selects each listed entity that is not selected yet: a count's identifier text repeats
    // identifiers, and a selection holding an entity twice would give its length twice.
    void SelectEachOnce(const std::vector<std::int32_t>& identifiers);
    // Sets the marked flag of the entity with this identifier (and of the lines, arcs,
    // circles, polylines and solids of an INSERT or DIMENSION); unknown ones are ignored.
    bool MarkById(std::int32_t identifier);
    // Clears the marked flag of every top-level entity and of their listed entities.
    void ClearMarks();

    const CCadSelection& Selection() const { return m_selection; }
    const CMeasurePath& CurrentPath() const { return m_selection.CurrentPath(); }
    const std::vector<CMeasurePath>& ConfirmedPaths() const { return m_selection.ConfirmedPaths(); }
    const std::vector<CMeasurePoint>& AreaPolygon() const { return m_areaPolygon; }

    // --- Mouse and keys.
    CadFeedback LeftButtonDown(CadPixel position);
    CadFeedback MouseMove(CadPixel position);
    // ctrlHeld: the Ctrl key is down as the button goes up (the toggle, besides SetToggle).
    CadFeedback LeftButtonUp(CadPixel position, bool ctrlHeld = false);
    CadFeedback MiddleButtonDown(CadPixel position);
    CadFeedback MiddleButtonUp(CadPixel position);
    // The popup menu of a right click, built afresh each time.
    std::vector<CadMenuItem> PopupMenu();
    // Runs a popup command. 33018 only does the bookkeeping of a command: the control asks
    // for the number first and passes it to SetLastPointLineCount.
    CadFeedback Command(int command);
    // The line count of the last point of the current path; nothing without a current path.
    bool SetLastPointLineCount(int lineCount);
    CadFeedback EnterKey();
    CadFeedback EscapeKey();
    void SetToggle(bool on) { m_toggle = on; }
    // The zoom keys: scan codes 13 (equals) and 78 (numeric-pad plus) zoom in by 10 %, 12
    // (minus) and 74 (numeric-pad minus) out by 10 %, keeping the offsets.
    CadFeedback ZoomKey(int scanCode);
    // The mouse wheel at the last raw mouse position.
    CadFeedback Wheel(int delta);
    // Zooms that end the measurement rubber line.
    CadFeedback ZoomInCentre();
    CadFeedback ZoomOutCentre();
    CadFeedback ZoomToFit();

    // Rectangle selection in drawing units (the corners in any order).
    void SelectRectangle(const CadRect& rect, CadPickKind kind);

    // --- State the paint and the tests read.
    int Mode() const { return m_mode; }
    int PreviousMode() const { return m_previousMode; }
    bool ButtonDown() const { return m_buttonDown; }
    bool MiddleDrag() const { return m_middleDrag; }
    CadPixel PressPoint() const { return m_pressPoint; }
    CadPixel CursorPoint() const { return m_cursorPoint; }
    bool Toggle() const { return m_toggle; }
    int PointCounter() const { return m_pointCounter; }
    bool RubberLineOn() const { return m_rubberLineOn; }
    CadPixel RubberAnchor() const { return m_rubberAnchor; }
    CadPixel RubberEnd() const { return m_rubberEnd; }
    bool Measuring() const { return m_measuring; }
    bool SnapValid() const { return m_snapValid; }
    CadPoint SnapPoint() const { return m_snapPoint; }
    void SetLineCountsEnabled(bool enabled) { m_lineCountsEnabled = enabled; }
    CadRubberBand RubberBand() const;
    // True when the rubber line of a path measurement is to be drawn (anchor to end).
    bool RubberLineShown() const { return m_rubberLineOn && m_mode == kModeMeasurePath; }

private:
    void ClearMeasurements();
    void AddMeasuredPoint();
    // Snapping of the cursor pixel to the selected lines and polyline vertices; returns the
    // pixel the cursor is to be at.
    CadPixel Snap(CadPixel position);
    bool ConfirmIfLongEnough();

    CadView m_view;
    CCadDrawing* m_drawing = nullptr;
    SpatialIndex m_index;
    CCadSelection m_selection;
    std::vector<CMeasurePoint> m_areaPolygon;

    int m_mode = kModeSelect;
    int m_previousMode = kModeSelect;
    // The mode the left button was pressed in during a middle-button drag: the mode to go
    // back to when the middle button is released.
    int m_modeBeforeMiddle = kModeSelect;
    bool m_buttonDown = false;
    bool m_moved = false;
    bool m_middleDrag = false;
    CadPixel m_pressPoint;
    CadPixel m_cursorPoint;
    CadPixel m_wheelPoint;
    bool m_toggle = false;
    int m_pointCounter = 0;
    // The measuring mode (4 or 5) the counted points belong to.
    int m_counterMode = kModeMeasurePath;
    bool m_rubberLineOn = false;
    CadPixel m_rubberAnchor;
    CadPixel m_rubberEnd;
    bool m_measuring = false;
    bool m_snapValid = false;
    CadPoint m_snapPoint;
    bool m_lineCountsEnabled = false;
};

// The popup texts (GBK), by command.
std::string CadCommandText(int command);

}  // namespace quarrant
