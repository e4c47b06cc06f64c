#include "cad/CadInteraction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quarrant {
namespace {

// A release within this many pixels of the press (in X and in Y) is a click.
constexpr int kClickPixels = 3;
// Snapping reaches this many pixels in X and in Y.
constexpr double kSnapPixels = 3.0;

bool IsListFlagged(int type) {
    return type == kCadLine || type == kCadArc || type == kCadCircle || type == kCadPolyline ||
           type == kCadSolid;
}

// Sets the marked flag of an entity, and for INSERT and DIMENSION of the entities in their
// lists that are drawn with it.
void SetMarkedFlag(const CCadEntity& entity, int marked) {
    if (!entity.record) {
        return;
    }
    entity.record->marked = marked;
    const CCadEntityList* list = nullptr;
    if (entity.type == kCadInsert) {
        list = &entity.As<CCadInsert>()->entities;
    } else if (entity.type == kCadDimension && entity.As<CCadDimension>()->block) {
        list = &entity.As<CCadDimension>()->block->entities;
    }
    if (list == nullptr) {
        return;
    }
    for (const CCadEntity& child : *list) {
        if (child.record && IsListFlagged(child.type)) {
            child.record->marked = marked;
        }
    }
}

// The types a rectangle can pick; ELLIPSE and MTEXT are never picked.
bool IsPickable(int type) {
    switch (type) {
        case kCadLine:
        case kCadArc:
        case kCadCircle:
        case kCadPolyline:
        case kCadDimension:
        case kCadText:
        case kCadInsert:
        case kCadSolid:
            return true;
        default:
            return false;
    }
}

CadPixel TruncatedPixel(const CadPoint& p) {
    auto clampToInt = [](double v) {
        if (!std::isfinite(v)) {
            return 0;
        }
        return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
    };
    return CadPixel{clampToInt(p.x), clampToInt(p.y)};
}

CadCursor CursorOfMode(int mode) {
    switch (mode) {
        case kModeSelect:
            return CadCursor::Select;
        case kModeRealTimeZoom:
        case kModeWindowZoom:
            return CadCursor::Zoom;
        case kModeMove:
            return CadCursor::Move;
        default:
            return CadCursor::Measure;
    }
}

}  // namespace

std::string CadCommandText(int command) {
    switch (command) {
        case kCmdThreeLines:
            return "\xB1\xEA\xBC\xC7\xCE\xAA"
                   "3"
                   "\xCC\xF5\xCF\xDF";  // 标记为3条线
        case kCmdFourLines:
            return "\xB1\xEA\xBC\xC7\xCE\xAA"
                   "4"
                   "\xCC\xF5\xCF\xDF";  // 标记为4条线
        case kCmdFiveLines:
            return "\xB1\xEA\xBC\xC7\xCE\xAA"
                   "5"
                   "\xCC\xF5\xCF\xDF";  // 标记为5条线
        case kCmdCustomLines:
            return "\xD7\xD4\xB6\xA8\xD2\xE5\xCF\xDF\xCA\xFD\xC1\xBF";  // 自定义线数量
        case kCmdExit:
            return "\xCD\xCB\xB3\xF6";  // 退出
        case kCmdConfirm:
            return "\xC8\xB7\xB6\xA8";  // 确定
        case kCmdClearAll:
            // 撤销所有选择和测量
            return "\xB3\xB7\xCF\xFA\xCB\xF9\xD3\xD0\xD1\xA1\xD4\xF1\xBA\xCD\xB2\xE2\xC1\xBF";
        case kCmdClearMeasurements:
            return "\xD6\xBB\xB3\xB7\xCF\xFA\xB2\xE2\xC1\xBF";  // 只撤销测量
        case kCmdWindowZoom:
            return "\xBF\xF2\xD1\xA1\xB7\xC5\xB4\xF3";  // 框选放大
        case kCmdRealTimeZoom:
            return "\xCA\xB5\xCA\xB1\xCB\xF5\xB7\xC5";  // 实时缩放
        case kCmdZoomIn:
            return "\xB7\xC5\xB4\xF3";  // 放大
        case kCmdZoomOut:
            return "\xCB\xF5\xD0\xA1";  // 缩小
        case kCmdMove:
            return "\xD2\xC6\xB6\xAF";  // 移动
        case kCmdMeasure:
            return "\xB2\xE2\xC1\xBF";  // 测量
        default:
            return std::string();
    }
}

void CadInteraction::SetDrawing(CCadDrawing* drawing) {
    m_selection.ClearSelection();
    m_selection.ClearMeasurements();
    m_areaPolygon.clear();
    m_pointCounter = 0;
    m_rubberLineOn = false;
    m_snapValid = false;
    m_buttonDown = false;
    m_drawing = drawing;
    m_index.Clear();
    if (drawing != nullptr) {
        m_view.SetExtents(drawing->minX, drawing->minY, drawing->maxX, drawing->maxY);
    } else {
        m_view.ClearExtents();
    }
}

const SpatialIndex& CadInteraction::Index() {
    if (m_drawing != nullptr && !m_index.IsBuiltFor(*m_drawing)) {
        m_index.Build(*m_drawing);
    }
    return m_index;
}

void CadInteraction::SetMode(int mode) {
    if (mode < kModeSelect || mode > kModeMeasureArea) {
        return;
    }
    m_previousMode = m_mode;
    m_mode = mode;
}

void CadInteraction::ClearSelection() {
    m_selection.ClearSelection();
    m_rubberLineOn = false;
}

bool CadInteraction::SelectById(std::int32_t identifier) {
    return m_drawing != nullptr && m_selection.SelectById(*m_drawing, identifier);
}

void CadInteraction::SelectEachOnce(const std::vector<std::int32_t>& identifiers) {
    if (m_drawing == nullptr) {
        return;
    }
    for (std::int32_t identifier : identifiers) {
        const CCadEntity* entity = m_drawing->FindById(identifier);
        if (entity != nullptr && entity->record->selected == 0) {
            m_selection.SelectById(*m_drawing, identifier);
        }
    }
}

bool CadInteraction::MarkById(std::int32_t identifier) {
    if (m_drawing == nullptr) {
        return false;
    }
    const CCadEntity* entity = m_drawing->FindById(identifier);
    if (entity == nullptr) {
        return false;
    }
    SetMarkedFlag(*entity, 1);
    return true;
}

void CadInteraction::ClearMarks() {
    if (m_drawing == nullptr) {
        return;
    }
    for (const CCadEntity& entity : m_drawing->entities) {
        SetMarkedFlag(entity, 0);
    }
}

void CadInteraction::ClearMeasurements() {
    m_rubberLineOn = false;
    m_pointCounter = 0;
    m_selection.ClearMeasurements();
}

bool CadInteraction::ConfirmIfLongEnough() {
    return m_selection.ConfirmCurrentPath();
}

void CadInteraction::AddMeasuredPoint() {
    CMeasurePoint point;
    if (m_snapValid) {
        point.x = m_snapPoint.x;
        point.y = m_snapPoint.y;
    } else {
        const CadPoint p = m_view.ScreenToDrawing(m_cursorPoint.x, m_cursorPoint.y);
        point.x = p.x;
        point.y = p.y;
    }
    point.lineCount = 2;
    // Points counted in the other measuring mode do not continue this path or area.
    if (m_pointCounter != 0 && m_counterMode != m_mode) {
        m_pointCounter = 0;
    }
    m_counterMode = m_mode;
    if (m_mode == kModeMeasurePath) {
        CMeasurePath& path = m_selection.CurrentPath();
        if (m_pointCounter == 0) {
            path.points.clear();
        }
        path.points.push_back(point);
    } else {
        if (m_pointCounter == 0) {
            m_areaPolygon.clear();
        }
        m_areaPolygon.push_back(point);
    }
    ++m_pointCounter;
    m_rubberAnchor = m_cursorPoint;
    m_measuring = true;
    m_rubberLineOn = true;
}

CadFeedback CadInteraction::LeftButtonDown(CadPixel position) {
    CadFeedback feedback;
    if (m_mode == kModeMeasurePath || m_mode == kModeMeasureArea) {
        AddMeasuredPoint();
        feedback.repaint = true;
        return feedback;
    }
    feedback.cursor = CadCursor::Hidden;
    m_buttonDown = true;
    m_moved = false;
    m_pressPoint = position;
    return feedback;
}

CadPixel CadInteraction::Snap(CadPixel position) {
    if (position == m_cursorPoint) {
        // The cursor was just put on the snapped pixel (or did not move): the snap stays as
        // it was.
        return position;
    }
    const double scale = m_view.Scale();
    const double tolerance = kSnapPixels / scale;
    const CadPoint c = m_view.ScreenToDrawing(position.x, position.y);
    auto near = [&](double x, double y) {
        return std::fabs(x - c.x) < tolerance && std::fabs(y - c.y) < tolerance;
    };
    auto take = [&](double x, double y) {
        m_snapPoint = CadPoint{x, y};
        m_snapValid = true;
        return TruncatedPixel(m_view.DrawingToScreen(x, y));
    };
    for (const CCadEntity& entity : m_selection.Entities()) {
        if (!entity.record) {
            continue;
        }
        if (entity.type == kCadLine) {
            const auto* line = entity.As<CCadLine>();
            if (near(line->startX, line->startY)) {
                return take(line->startX, line->startY);
            }
            if (near(line->endX, line->endY)) {
                return take(line->endX, line->endY);
            }
            const double midX = (line->startX + line->endX) / 2.0;
            const double midY = (line->startY + line->endY) / 2.0;
            if (near(midX, midY)) {
                return take(midX, midY);
            }
        } else if (entity.type == kCadPolyline) {
            for (const CCadVertex& vertex : entity.As<CCadPolyline>()->vertices) {
                if (near(vertex.x, vertex.y)) {
                    return take(vertex.x, vertex.y);
                }
            }
        }
    }
    m_snapValid = false;
    return position;
}

CadFeedback CadInteraction::MouseMove(CadPixel position) {
    CadFeedback feedback;
    m_wheelPoint = position;
    m_moved = true;
    CadPixel cursor = position;
    switch (m_mode) {
        case kModeSelect:
        case kModeWindowZoom:
            if (m_buttonDown) {
                feedback.repaint = true;
            } else {
                feedback.cursor = CursorOfMode(m_mode);
            }
            break;
        case kModeRealTimeZoom:
            if (m_buttonDown && m_view.RealTimeZoom(m_cursorPoint.y, position.y)) {
                feedback.viewChanged = true;
                feedback.repaint = true;
            }
            feedback.cursor = CadCursor::Zoom;
            break;
        case kModeMove:
            if (m_buttonDown || m_middleDrag) {
                const int dx = position.x - m_cursorPoint.x;
                const int dy = position.y - m_cursorPoint.y;
                m_view.Pan(-dx, -dy);
                m_rubberAnchor.x += dx;
                m_rubberAnchor.y += dy;
                m_rubberEnd.x += dx;
                m_rubberEnd.y += dy;
                feedback.viewChanged = true;
                feedback.repaint = true;
            }
            feedback.cursor = CadCursor::Move;
            break;
        case kModeMeasurePath:
        case kModeMeasureArea:
            cursor = Snap(position);
            if (!(cursor == position)) {
                feedback.moveCursor = true;
                feedback.cursorTarget = cursor;
            }
            feedback.cursor = CadCursor::Measure;
            if (m_mode == kModeMeasurePath && m_rubberLineOn) {
                feedback.repaint = true;
            }
            m_rubberEnd = cursor;
            break;
        default:
            break;
    }
    m_cursorPoint = cursor;
    return feedback;
}

void CadInteraction::SelectRectangle(const CadRect& rect, CadPickKind kind) {
    if (m_drawing == nullptr) {
        return;
    }
    const CadRect r = NormalizedRect(rect);
    std::vector<std::uint32_t> candidates;
    Index().Query(r, candidates);
    for (std::uint32_t i : candidates) {
        const CCadEntity& entity = m_drawing->entities[i];
        if (!entity.record || !IsPickable(entity.type)) {
            continue;
        }
        const int answer = HitEntity(entity, r);
        if (answer == kHitNone || (kind == CadPickKind::Window && answer != kHitInside)) {
            continue;
        }
        if (entity.record->selected == 0) {
            m_selection.Select(entity);
        } else if (m_toggle) {
            m_selection.Deselect(entity);
        }
    }
}

CadFeedback CadInteraction::LeftButtonUp(CadPixel position, bool ctrlHeld) {
    CadFeedback feedback;
    if (m_mode == kModeWindowZoom && m_buttonDown && m_moved) {
        const int left = std::min(m_pressPoint.x, position.x);
        const int right = std::max(m_pressPoint.x, position.x);
        const int top = std::min(m_pressPoint.y, position.y);
        const int bottom = std::max(m_pressPoint.y, position.y);
        if (m_view.ZoomWindow(left, top, right, bottom)) {
            feedback.viewChanged = true;
        }
        feedback.repaint = true;
    } else if (m_mode == kModeSelect && m_buttonDown) {
        const double scale = m_view.Scale();
        const int dx = std::abs(position.x - m_pressPoint.x);
        const int dy = std::abs(position.y - m_pressPoint.y);
        CadRect rect;
        CadPickKind kind = CadPickKind::Crossing;
        if (dx > kClickPixels || dy > kClickPixels) {
            const CadPoint centre = m_view.ScreenToDrawing((m_pressPoint.x + position.x) / 2.0,
                                                           (m_pressPoint.y + position.y) / 2.0);
            const double halfWidth = dx / 2.0 / scale;
            const double halfHeight = dy / 2.0 / scale;
            rect = CadRect{centre.x - halfWidth, centre.y - halfHeight, centre.x + halfWidth,
                           centre.y + halfHeight};
            kind = m_pressPoint.x < position.x ? CadPickKind::Window : CadPickKind::Crossing;
        } else {
            const CadPoint centre = m_view.ScreenToDrawing(m_pressPoint.x, m_pressPoint.y);
            const double half = kClickPixels / scale;
            rect = CadRect{centre.x - half, centre.y - half, centre.x + half, centre.y + half};
        }
        const bool toggle = m_toggle;
        m_toggle = m_toggle || ctrlHeld;
        SelectRectangle(rect, kind);
        m_toggle = toggle;
        feedback.repaint = true;
        feedback.entitiesChanged = true;
    } else if (m_mode == kModeMove) {
        m_buttonDown = false;
        m_cursorPoint = CadPixel{};
        // The picture moved during the drag is replaced by a fresh one.
        feedback.repaint = true;
    }
    if (m_buttonDown) {
        feedback.cursor = CursorOfMode(m_mode);
    }
    m_moved = false;
    m_buttonDown = false;
    if (m_mode == kModeMeasurePath) {
        m_measuring = true;
    }
    return feedback;
}

CadFeedback CadInteraction::MiddleButtonDown(CadPixel /*position*/) {
    CadFeedback feedback;
    if (m_middleDrag) {
        return feedback;
    }
    m_previousMode = m_mode;
    m_modeBeforeMiddle = m_mode;
    m_middleDrag = true;
    m_mode = kModeMove;
    feedback.cursor = CadCursor::Move;
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::MiddleButtonUp(CadPixel /*position*/) {
    CadFeedback feedback;
    if (!m_middleDrag) {
        return feedback;
    }
    m_middleDrag = false;
    // Back to the mode the pan interrupted: a path measurement goes on measuring, an area
    // measurement stays an area measurement, any other mode is kept as it was.
    if (m_measuring && m_modeBeforeMiddle == kModeMeasurePath) {
        m_mode = kModeMeasurePath;
    } else {
        m_mode = m_modeBeforeMiddle;
    }
    if (m_mode == kModeMeasurePath) {
        // The rubber line goes on from the last measured point, if one is being measured.
        m_rubberLineOn = m_pointCounter > 0 && m_counterMode == kModeMeasurePath;
    }
    feedback.cursor = CursorOfMode(m_mode);
    feedback.repaint = true;
    return feedback;
}

std::vector<CadMenuItem> CadInteraction::PopupMenu() {
    std::vector<CadMenuItem> items;
    auto add = [&](int command) { items.push_back(CadMenuItem{command, CadCommandText(command)}); };
    auto separator = [&] { items.push_back(CadMenuItem{}); };
    if (m_mode == kModeMeasurePath && m_lineCountsEnabled) {
        add(kCmdThreeLines);
        add(kCmdFourLines);
        add(kCmdFiveLines);
        add(kCmdCustomLines);
        separator();
    }
    if (m_mode != kModeSelect) {
        add(kCmdExit);
    }
    if (m_mode == kModeMeasurePath) {
        add(kCmdConfirm);
        m_measuring = true;
    }
    add(kCmdClearAll);
    add(kCmdClearMeasurements);
    separator();
    add(kCmdWindowZoom);
    add(kCmdRealTimeZoom);
    add(kCmdZoomIn);
    add(kCmdZoomOut);
    add(kCmdMove);
    add(kCmdMeasure);
    separator();
    return items;
}

bool CadInteraction::SetLastPointLineCount(int lineCount) {
    CMeasurePath& path = m_selection.CurrentPath();
    if (path.points.empty()) {
        return false;
    }
    path.points.back().lineCount = lineCount;
    return true;
}

CadFeedback CadInteraction::ZoomInCentre() {
    CadFeedback feedback;
    m_rubberLineOn = false;
    feedback.viewChanged = m_view.ZoomInCentre();
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::ZoomOutCentre() {
    CadFeedback feedback;
    m_rubberLineOn = false;
    feedback.viewChanged = m_view.ZoomOutCentre();
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::ZoomToFit() {
    CadFeedback feedback;
    feedback.viewChanged = m_view.ZoomToFit();
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::Command(int command) {
    CadFeedback feedback;
    switch (command) {
        case kCmdExit:
            if (m_mode == kModeMeasurePath) {
                m_measuring = false;
                m_rubberLineOn = false;
                m_pointCounter = 0;
                ConfirmIfLongEnough();
            }
            m_mode = kModeSelect;
            feedback.cursor = CadCursor::Select;
            break;
        case kCmdConfirm:
            if (m_mode == kModeMeasurePath) {
                m_measuring = true;
                m_rubberLineOn = false;
                m_pointCounter = 0;
                ConfirmIfLongEnough();
            }
            break;
        case kCmdClearAll:
            ClearSelection();
            ClearMeasurements();
            feedback.entitiesChanged = true;
            break;
        case kCmdClearMeasurements:
            ClearMeasurements();
            break;
        case kCmdWindowZoom:
            m_mode = kModeWindowZoom;
            break;
        case kCmdRealTimeZoom:
            m_mode = kModeRealTimeZoom;
            break;
        case kCmdZoomIn:
            feedback = ZoomInCentre();
            break;
        case kCmdZoomOut:
            feedback = ZoomOutCentre();
            break;
        case kCmdMove:
            m_mode = kModeMove;
            break;
        case kCmdMeasure:
            m_mode = kModeMeasurePath;
            break;
        case kCmdThreeLines:
            SetLastPointLineCount(3);
            break;
        case kCmdFourLines:
            SetLastPointLineCount(4);
            break;
        case kCmdFiveLines:
            SetLastPointLineCount(5);
            break;
        case kCmdCustomLines:
            break;
        default:
            return feedback;
    }
    if (feedback.cursor == CadCursor::Unchanged) {
        feedback.cursor = CursorOfMode(m_mode);
    }
    feedback.repaint = true;
    m_previousMode = -1;
    return feedback;
}

CadFeedback CadInteraction::EnterKey() {
    CadFeedback feedback;
    m_rubberLineOn = false;
    m_pointCounter = 0;
    ConfirmIfLongEnough();
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::EscapeKey() {
    CadFeedback feedback;
    ClearMeasurements();
    m_previousMode = m_mode;
    m_mode = kModeSelect;
    feedback.cursor = CadCursor::Select;
    feedback.repaint = true;
    return feedback;
}

CadFeedback CadInteraction::ZoomKey(int scanCode) {
    CadFeedback feedback;
    bool changed = false;
    if (scanCode == 13 || scanCode == 78) {
        changed = m_view.ZoomIn(0.1);
    } else if (scanCode == 12 || scanCode == 74) {
        changed = m_view.ZoomOut(0.1);
    } else {
        return feedback;
    }
    feedback.viewChanged = changed;
    feedback.repaint = changed;
    return feedback;
}

CadFeedback CadInteraction::Wheel(int delta) {
    CadFeedback feedback;
    feedback.viewChanged = m_view.ZoomAtCursor(delta, m_wheelPoint.x, m_wheelPoint.y);
    feedback.repaint = feedback.viewChanged;
    return feedback;
}

CadRubberBand CadInteraction::RubberBand() const {
    CadRubberBand band;
    if (!m_buttonDown || (m_mode != kModeSelect && m_mode != kModeWindowZoom)) {
        return band;
    }
    band.shown = true;
    band.from = m_pressPoint;
    band.to = m_cursorPoint;
    band.solidWhite = m_mode == kModeWindowZoom || m_cursorPoint.x > m_pressPoint.x;
    return band;
}

}  // namespace quarrant
