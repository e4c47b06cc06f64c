#include "cad/widgets/CadRenderer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/GbkText.h"
#include "platform/ProgramFont.h"
#include "platform/QtText.h"

namespace quarrant {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Half the side of a grip, in pixels.
constexpr double kGripHalfSide = 5.0;
// Pixels around the view that can still show something of an entity whose box lies outside
// (grips, a pixel-wide pen).
constexpr double kCullMargin = 8.0;
// A curve is flattened into chords that stay within this many pixels of it.
constexpr double kFlatness = 0.2;
constexpr int kMaxCurveSegments = 16384;
// Texts up to this many pixels are painted once and blended from their masks afterwards,
// within this many bytes of masks per renderer.
constexpr long long kMaxTextPicturePixels = 256 * 1024;
constexpr std::size_t kTextPictureBudget = 48u * 1024u * 1024u;

QRgb EntityColor(const CCadRecord& record) {
    auto channel = [](int value) { return std::clamp(value, 0, 255); };
    return qRgba(channel(record.color.red), channel(record.color.green), channel(record.color.blue),
                 200);
}

// Chords for a curve of the given radius in pixels over sweep radians.
int CurveSegments(double radiusPixels, double sweep) {
    sweep = std::fabs(sweep);
    if (!(radiusPixels > kFlatness) || !std::isfinite(radiusPixels)) {
        return std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2.0))));
    }
    // A chord of angle a leaves the curve by r (1 - cos(a / 2)); a = 2 sqrt(2 f / r) keeps
    // that below f (it is a little less than 2 acos(1 - f / r)) without an arc cosine.
    const double step = 2.0 * std::sqrt(2.0 * kFlatness / radiusPixels);
    const double n = std::ceil(sweep / std::max(step, 1e-6));
    return static_cast<int>(std::clamp(n, 1.0, static_cast<double>(kMaxCurveSegments)));
}

bool Finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

QPointF ToQt(const CadPoint& p) {
    return QPointF(p.x, p.y);
}

}  // namespace

QBrush CheckerBoardBrush(QRgb foreground, QRgb background) {
    QImage tile(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            tile.setPixel(x, y, ((x / 2 + y / 2) % 2 == 0) ? foreground : background);
        }
    }
    return QBrush(tile);
}

CadRenderer::CadRenderer() : m_baseFont(ProgramFont()) {
    m_baseFont.setStyleStrategy(QFont::PreferDefault);
}

void CadRenderer::ForgetTexts() {
    m_textSlotOf.clear();
    m_textSlots.clear();
    ForgetTextPictures();
}

void CadRenderer::ForgetTextPictures() {
    m_pictures.clear();
    m_pictureBytes = 0;
    ++m_pictureGeneration;
}

std::size_t CadRenderer::TextPictureHash::operator()(const TextPictureKey& key) const {
    return qHash(key.text) ^ (static_cast<std::size_t>(key.pixelSize) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<std::size_t>(key.turn) << 17);
}

CadRenderer::TextPicture* CadRenderer::PictureOf(const QString& text, int pixelSize, int turn) {
    TextPictureKey key{text, pixelSize, turn};
    auto found = m_pictures.find(key);
    if (found != m_pictures.end()) {
        found->second.lastPaint = m_paintNumber;
        return &found->second;
    }
    if (m_picturesFull) {
        return nullptr;
    }
    // The ink of the glyphs around the base-line origin, turned, with room to spare.
    const QFont& font = FontOfSize(pixelSize);
    QTransform turning;
    turning.rotate(turn);
    const QRectF ink = turning.mapRect(QFontMetricsF(font).boundingRect(text));
    const int margin = 2 + pixelSize / 8;
    const int left = static_cast<int>(std::floor(ink.left())) - margin;
    const int top = static_cast<int>(std::floor(ink.top())) - margin;
    const int width = static_cast<int>(std::ceil(ink.right())) + margin - left;
    const int height = static_cast<int>(std::ceil(ink.bottom())) + margin - top;
    if (width <= 0 || height <= 0 ||
        static_cast<long long>(width) * height > kMaxTextPicturePixels) {
        return nullptr;
    }
    if (m_pictureBytes > kTextPictureBudget) {
        // Pictures this paint has not used make room; when there is still none, the other
        // texts of this paint are drawn directly.
        ++m_pictureGeneration;
        std::erase_if(m_pictures, [&](const auto& entry) {
            if (entry.second.lastPaint == m_paintNumber) {
                return false;
            }
            m_pictureBytes -= entry.second.mask.Bytes();
            return true;
        });
        if (m_pictureBytes > kTextPictureBudget / 2) {
            m_picturesFull = true;
            return nullptr;
        }
    }
    // The glyphs in opaque white on nothing: their alpha is their coverage.
    QImage glyphs(width, height, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(QPen(Qt::white, 0));
        painter.translate(-left, -top);
        painter.rotate(turn);
        painter.drawText(QPointF(0.0, 0.0), text);
    }
    TextPicture picture;
    picture.mask =
        CoverageMask::FromAlpha(reinterpret_cast<const std::uint32_t*>(glyphs.constBits()), width,
                                height, glyphs.bytesPerLine() / 4, -left, -top);
    picture.lastPaint = m_paintNumber;
    m_pictureBytes += picture.mask.Bytes() + static_cast<std::size_t>(text.size()) * 2 + 64;
    return &m_pictures.emplace(std::move(key), std::move(picture)).first->second;
}

CadRenderer::Stroke CadRenderer::StrokeOf(const CCadRecord& record, double width) const {
    Stroke stroke;
    stroke.color = m_shade == Shade::Covered     ? kCoveredColor
                   : m_shade == Shade::Uncovered ? EntityColor(record)
                   : record.marked != 0          ? kMarkedLineColor
                                                 : EntityColor(record);
    stroke.dashed = record.selected != 0;
    stroke.width = width;
    return stroke;
}

CadRenderer::Fill CadRenderer::FillOf(const CCadRecord& record) const {
    Fill fill;
    fill.color = m_shade == Shade::Covered     ? kCoveredColor
                 : m_shade == Shade::Uncovered ? EntityColor(record)
                 : record.marked != 0          ? kMarkedFillColor
                                               : EntityColor(record);
    fill.hatched = record.selected != 0;
    return fill;
}

void CadRenderer::UseStroke(const Stroke& stroke) {
    if (m_hasStroke && m_stroke == stroke) {
        return;
    }
    QPen pen(QColor::fromRgba(stroke.color));
    if (stroke.width >= 1.0) {
        pen.setWidthF(stroke.width);
    } else {
        pen.setWidth(0);
        pen.setCosmetic(true);
    }
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (stroke.dashed) {
        pen.setDashPattern({5.0, 10.0, 5.0, 10.0});
    }
    m_painter->setPen(pen);
    m_painter->setBrush(Qt::NoBrush);
    m_stroke = stroke;
    m_hasStroke = true;
}

void CadRenderer::UseFill(const Fill& fill) {
    m_hasStroke = false;
    m_painter->setPen(Qt::NoPen);
    if (fill.hatched) {
        m_painter->setBrush(CheckerBoardBrush(fill.color, kHatchBackground));
    } else {
        m_painter->setBrush(QColor::fromRgba(fill.color));
    }
}

void CadRenderer::AddLine(const Stroke& stroke, QPointF a, QPointF b) {
    if (!Finite(a) || !Finite(b)) {
        return;
    }
    if (m_canvas && stroke.Thin()) {
        m_canvas->Line({a.x(), a.y()}, {b.x(), b.y()}, PremultiplyArgb(stroke.color));
        return;
    }
    UseStroke(stroke);
    // Each line on its own: the painting library cuts a batch of lines at the window's edge
    // (or a clip) as a whole, which moves single pixels depending on the other lines of the
    // batch; one at a time, a line's pixels depend only on the line.
    m_painter->drawLine(a, b);
}

void CadRenderer::StrokePoints(const Stroke& stroke) {
    if (m_points.size() < 2) {
        return;
    }
    if (m_canvas && stroke.Thin()) {
        m_canvasPoints.resize(m_points.size());
        for (std::size_t i = 0; i < m_points.size(); ++i) {
            m_canvasPoints[i] = {m_points[i].x(), m_points[i].y()};
        }
        m_canvas->Path(m_canvasPoints.data(), m_canvasPoints.size(), PremultiplyArgb(stroke.color));
        return;
    }
    UseStroke(stroke);
    m_painter->drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
}

CadRect CadRenderer::CullRect(const CadView& view, const QRect& area) {
    const CadPoint topLeft =
        view.ScreenToDrawing(area.left() - kCullMargin, area.top() - kCullMargin);
    const CadPoint bottomRight =
        view.ScreenToDrawing(area.right() + 1 + kCullMargin, area.bottom() + 1 + kCullMargin);
    return CadRect{std::min(topLeft.x, bottomRight.x), std::min(topLeft.y, bottomRight.y),
                   std::max(topLeft.x, bottomRight.x), std::max(topLeft.y, bottomRight.y)};
}

void CadRenderer::PaintEntityList(QImage& image, const CCadDrawing& drawing, const CadView& view,
                                  const std::vector<std::uint32_t>& indices, const QRect& area,
                                  const CCadIdentifierSet* covered) {
    // The pixels are taken before a painter holds the image, so that the image is not
    // copied away from under the painter.
    m_canvas.reset();
    if (image.format() == QImage::Format_ARGB32_Premultiplied && !image.isNull()) {
        m_canvas.emplace(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(),
                         image.height(), image.bytesPerLine() / 4);
        const QRect clip = area.intersected(image.rect());
        m_canvas->SetClip(clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1);
    }
    QPainter painter(&image);
    m_painter = &painter;
    m_view = &view;
    m_drawing = &drawing;
    m_scale = view.Scale();
    m_area = QRectF(area);
    m_toDevice = CadTransform{m_scale,
                              0.0,
                              0.0,
                              m_scale,
                              -static_cast<double>(view.OffsetX()),
                              -static_cast<double>(view.OffsetY())};
    m_hasStroke = false;
    ++m_paintNumber;
    m_picturesFull = false;

    // The painter keeps to the area too: the other half of a window may be painted by
    // another thread at the same time.
    painter.setClipRect(area);
    painter.fillRect(area, Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Hatches keep their place on the drawing when it is moved.
    painter.setBrushOrigin(QPointF(-view.OffsetX(), -view.OffsetY()));

    m_lastPainted = indices.size();
    // The entities of a view lie anywhere in the entity array and their records anywhere in
    // memory: each is fetched a few entities ahead of its painting, so that the fetches
    // overlap instead of each paint waiting for its own.
    constexpr std::size_t kAhead = 6;
    const std::size_t count = indices.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (k + 2 * kAhead < count) {
            __builtin_prefetch(&drawing.entities[indices[k + 2 * kAhead]]);
        }
        if (k + kAhead < count) {
            if (const CCadRecord* ahead = drawing.entities[indices[k + kAhead]].record.get()) {
                const char* bytes = reinterpret_cast<const char*>(ahead);
                __builtin_prefetch(bytes);
                __builtin_prefetch(bytes + 64);
                __builtin_prefetch(bytes + 128);
            }
        }
        m_entityIndex = indices[k];
        const CCadEntity& entity = drawing.entities[m_entityIndex];
        if (covered != nullptr) {
            m_shade = entity.record && covered->Contains(entity.record->identifier)
                          ? Shade::Covered
                          : Shade::Uncovered;
        }
        DrawEntity(entity, m_toDevice, &drawing);
        if (entity.record && entity.record->selected != 0) {
            DrawGrips(entity);
        }
    }
    m_shade = Shade::ByMark;
    m_hasStroke = false;
    m_painter = nullptr;
    m_drawing = nullptr;
    m_canvas.reset();
}

void CadRenderer::DrawEntity(const CCadEntity& entity, const CadTransform& t,
                             const CCadDrawing* ellipseFrame) {
    if (!entity.record) {
        return;
    }
    switch (entity.type) {
        case kCadLine:
            DrawLine(*entity.As<CCadLine>(), t);
            break;
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            DrawArc(arc->centerX, arc->centerY, arc->radius, arc->startAngle,
                    ArcSweep(arc->startAngle, arc->endAngle), t, StrokeOf(*arc));
            break;
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            DrawArc(circle->centerX, circle->centerY, circle->radius, 0.0, 360.0, t,
                    StrokeOf(*circle));
            break;
        }
        case kCadEllipse:
            DrawEllipse(*entity.As<CCadEllipse>(), t, ellipseFrame);
            break;
        case kCadPolyline:
            DrawPolyline(*entity.As<CCadPolyline>(), t);
            break;
        case kCadSolid:
            DrawSolid(*entity.As<CCadSolid>(), t);
            break;
        case kCadText:
            DrawText(entity);
            break;
        case kCadMText:
            DrawMText(entity);
            break;
        case kCadDimension:
            DrawDimension(entity);
            break;
        case kCadInsert:
            DrawInsert(*entity.As<CCadInsert>());
            break;
        default:
            break;
    }
}

void CadRenderer::DrawLine(const CCadLine& line, const CadTransform& t) {
    AddLine(StrokeOf(line), ToQt(t.Map(line.startX, line.startY)),
            ToQt(t.Map(line.endX, line.endY)));
}

bool CadRenderer::ArcChords(const CadPoint& centre, double radius, const CadPoint& start,
                            double sweep, const CadPoint* end, bool skipStart,
                            const CadTransform& t) {
    if (!(std::fabs(sweep) > 0.0) || !std::isfinite(sweep) || !std::isfinite(radius)) {
        return false;
    }
    const int n = CurveSegments(std::fabs(radius) * t.MaxStretch(), sweep);
    // Each chord end is the one before turned about the centre by the chord's angle
    // (growing angles run clockwise on the screen, Y being down).
    const double stepCos = std::cos(sweep / n);
    const double stepSin = std::sin(sweep / n);
    double dx = start.x - centre.x;
    double dy = start.y - centre.y;
    for (int k = 0; k <= n; ++k) {
        if (k > 0 || !skipStart) {
            const CadPoint p =
                k == n && end != nullptr ? *end : CadPoint{centre.x + dx, centre.y + dy};
            m_points.push_back(ToQt(t.Map(p.x, p.y)));
            if (!Finite(m_points.back())) {
                return false;
            }
        }
        const double turned = dx * stepCos - dy * stepSin;
        dy = dx * stepSin + dy * stepCos;
        dx = turned;
    }
    return true;
}

void CadRenderer::DrawArc(double cx, double cy, double radius, double startAngle, double sweep,
                          const CadTransform& t, const Stroke& stroke) {
    if (!(sweep > 0.0) || !std::isfinite(sweep) || !std::isfinite(radius) ||
        !std::isfinite(startAngle)) {
        return;
    }
    sweep = std::min(sweep, 360.0);
    const double start = startAngle * kRadiansPerDegree;
    const CadPoint centre{cx, cy};
    const CadPoint first{cx + radius * std::cos(start), cy + radius * std::sin(start)};
    m_points.clear();
    // A whole circle ends exactly where it started.
    if (ArcChords(centre, radius, first, sweep * kRadiansPerDegree,
                  sweep >= 360.0 ? &first : nullptr, false, t)) {
        StrokePoints(stroke);
    }
}

void CadRenderer::DrawEllipse(const CCadEllipse& ellipse, const CadTransform& t,
                              const CCadDrawing* ellipseFrame) {
    const EllipseAxes axes = EllipseAxesOf(ellipse, ellipseFrame);
    double start = 0.0, sweep = 0.0;
    EllipseParameterRange(ellipse, start, sweep);
    const double major = std::hypot(axes.major.x, axes.major.y);
    const double minor = std::hypot(axes.minor.x, axes.minor.y);
    if (!std::isfinite(major) || !std::isfinite(minor)) {
        return;
    }
    const int n = CurveSegments(std::max(major, minor) * t.MaxStretch(), sweep);
    m_points.resize(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k) {
        const double p = start + sweep * k / n;
        const double c = std::cos(p);
        const double s = std::sin(p);
        m_points[k] = ToQt(t.Map(axes.centre.x + axes.major.x * c + axes.minor.x * s,
                                 axes.centre.y + axes.major.y * c + axes.minor.y * s));
        if (!Finite(m_points[k])) {
            return;
        }
    }
    StrokePoints(StrokeOf(ellipse));
}

void CadRenderer::DrawPolyline(const CCadPolyline& polyline, const CadTransform& t) {
    const auto& vertices = polyline.vertices;
    const std::size_t n = vertices.size();
    if (n < 2) {
        return;
    }
    // The constant width is in drawing units; below one pixel the pen is a pixel wide.
    double width = std::fabs(polyline.constantWidth) * t.MaxStretch();
    if (!std::isfinite(width)) {
        width = 0.0;
    }
    const Stroke stroke = StrokeOf(polyline, width >= 1.0 ? width : 0.0);
    if (!stroke.Thin() || !m_canvas) {
        // Segment by segment with the painter's pen.
        auto segment = [&](const CCadVertex& a, const CCadVertex& b) {
            const BulgeArc arc = BulgeSegmentArc(a, b);
            if (arc.valid) {
                DrawArc(arc.centre.x, arc.centre.y, arc.radius, arc.startAngle,
                        ArcSweep(arc.startAngle, arc.endAngle), t, stroke);
            } else {
                AddLine(stroke, ToQt(t.Map(a.x, a.y)), ToQt(t.Map(b.x, b.y)));
            }
        };
        for (std::size_t i = 0; i + 1 < n; ++i) {
            segment(vertices[i], vertices[i + 1]);
        }
        if ((polyline.flags & 1) != 0) {
            segment(vertices[n - 1], vertices[0]);
        }
        return;
    }
    // One path through every vertex and along every bulge, so that each pixel of the
    // polyline is lit once.
    m_points.clear();
    m_points.push_back(ToQt(t.Map(vertices[0].x, vertices[0].y)));
    auto segment = [&](const CCadVertex& a, const CCadVertex& b) {
        CadPoint centre;
        double radius = 0.0;
        if (BulgeSegmentCircle(a, b, centre, radius)) {
            // From a to b about the bulge's centre: a quarter of the included angle has the
            // bulge for its tangent; a negative bulge runs with growing angles.
            const double included = 4.0 * std::atan(std::fabs(a.bulge));
            const std::size_t first = m_points.size();
            const CadPoint end{b.x, b.y};
            if (ArcChords(centre, radius, CadPoint{a.x, a.y}, a.bulge < 0.0 ? included : -included,
                          &end, true, t)) {
                return;
            }
            m_points.resize(first);
        }
        m_points.push_back(ToQt(t.Map(b.x, b.y)));
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        segment(vertices[i], vertices[i + 1]);
    }
    if ((polyline.flags & 1) != 0) {
        segment(vertices[n - 1], vertices[0]);
    }
    for (const QPointF& p : m_points) {
        if (!Finite(p)) {
            return;
        }
    }
    StrokePoints(stroke);
}

void CadRenderer::DrawSolid(const CCadSolid& solid, const CadTransform& t) {
    QPointF corners[4];
    int count = 0;
    corners[count++] = ToQt(t.Map(solid.x1, solid.y1));
    corners[count++] = ToQt(t.Map(solid.x2, solid.y2));
    if (solid.x3 != solid.x4 || solid.y3 != solid.y4) {
        corners[count++] = ToQt(t.Map(solid.x4, solid.y4));
    }
    corners[count++] = ToQt(t.Map(solid.x3, solid.y3));
    for (int i = 0; i < count; ++i) {
        if (!Finite(corners[i])) {
            return;
        }
    }
    UseFill(FillOf(solid));
    m_painter->drawPolygon(corners, count, Qt::OddEvenFill);
}

std::vector<CadRenderer::ScreenString>& CadRenderer::ScreenStrings(const CCadEntity& entity) {
    if (m_textSlotOf.size() <= m_entityIndex) {
        m_textSlotOf.resize(std::max<std::size_t>(m_drawing->entities.size(), m_entityIndex + 1u),
                            0);
    }
    std::uint32_t& slotOf = m_textSlotOf[m_entityIndex];
    if (slotOf != 0 && m_textSlots[slotOf - 1].record == entity.record.get()) {
        return m_textSlots[slotOf - 1].strings;
    }
    if (slotOf == 0) {
        m_textSlots.emplace_back();
        slotOf = static_cast<std::uint32_t>(m_textSlots.size());
    }
    TextSlot& slot = m_textSlots[slotOf - 1];
    slot.record = entity.record.get();
    slot.strings.clear();
    auto add = [&](QString text) {
        ScreenString s;
        s.text = std::move(text);
        slot.strings.push_back(std::move(s));
    };
    if (entity.type == kCadText) {
        add(quarrant::ToQt(entity.As<CCadText>()->text));
    } else if (entity.type == kCadMText) {
        for (const std::string& line : SplitMTextLines(GbkToUtf8(entity.As<CCadMText>()->text))) {
            add(QString::fromStdString(line));
        }
    } else if (entity.type == kCadDimension) {
        add(quarrant::ToQt(DimensionValueText(*entity.As<CCadDimension>())));
    }
    return slot.strings;
}

const QFont& CadRenderer::FontOfSize(int pixelSize) {
    if (pixelSize != m_fontPixelSize) {
        m_font = m_baseFont;
        m_font.setPixelSize(pixelSize);
        m_fontPixelSize = pixelSize;
    }
    return m_font;
}

double CadRenderer::AscentOf(int pixelSize) {
    auto found = m_ascents.find(pixelSize);
    if (found != m_ascents.end()) {
        return found->second;
    }
    const double ascent = QFontMetricsF(FontOfSize(pixelSize)).ascent();
    m_ascents.emplace(pixelSize, ascent);
    return ascent;
}

void CadRenderer::DrawString(ScreenString& text, QPointF origin, double rotation, QPointF offset,
                             double sizePixels, const Fill& fill) {
    if (text.text.isEmpty() || !Finite(origin) || !std::isfinite(sizePixels) ||
        !std::isfinite(rotation)) {
        return;
    }
    // Sizes are whole pixels; a text of less than one pixel is drawn a pixel high.
    const double clamped = std::clamp(std::fabs(sizePixels), 1.0, 65536.0);
    const int pixelSize = static_cast<int>(std::lround(clamped));
    // A text whose box cannot reach the painted area is left out (its box is estimated
    // generously: one size per character wide, two sizes high, wherever it is turned).
    const double reach = (text.text.size() + 2.0) * clamped + std::hypot(offset.x(), offset.y());
    if (origin.x() + reach < m_area.left() || origin.x() - reach > m_area.right() + 1 ||
        origin.y() + reach < m_area.top() || origin.y() - reach > m_area.bottom() + 1) {
        return;
    }
    const double ascent = AscentOf(pixelSize);
    // Turns are whole degrees (the callers truncate them).
    const int turn = ((static_cast<int>(std::fmod(rotation, 360.0)) % 360) + 360) % 360;
    if (!fill.hatched && m_canvas) {
        // The base-line origin, turned about the box's corner and put on a whole pixel; the
        // glyphs are blended from their mask.
        const double lx = offset.x();
        const double ly = offset.y() + ascent;
        double bx = origin.x() + lx;
        double by = origin.y() + ly;
        if (turn != 0) {
            const double radians = turn * kRadiansPerDegree;
            const double c = std::cos(radians);
            const double s = std::sin(radians);
            bx = origin.x() + lx * c - ly * s;
            by = origin.y() + lx * s + ly * c;
        }
        TextPicture* picture = nullptr;
        if (text.picture != nullptr && text.pictureGeneration == m_pictureGeneration &&
            text.pictureSize == pixelSize && text.pictureTurn == turn) {
            picture = text.picture;
            picture->lastPaint = m_paintNumber;
        } else {
            picture = PictureOf(text.text, pixelSize, turn);
            text.picture = picture;
            text.pictureSize = pixelSize;
            text.pictureTurn = turn;
            text.pictureGeneration = m_pictureGeneration;
        }
        if (picture != nullptr) {
            m_canvas->Mask(picture->mask, static_cast<int>(std::floor(bx + 0.5)),
                           static_cast<int>(std::floor(by + 0.5)), PremultiplyArgb(fill.color));
            return;
        }
    }
    m_hasStroke = false;
    if (fill.hatched) {
        m_painter->setPen(QPen(CheckerBoardBrush(fill.color, kHatchBackground), 0));
    } else {
        m_painter->setPen(QPen(QColor::fromRgba(fill.color), 0));
    }
    m_painter->setFont(FontOfSize(pixelSize));
    QTransform transform;
    transform.translate(origin.x(), origin.y());
    transform.rotate(turn);
    m_painter->setTransform(transform);
    m_painter->drawText(QPointF(offset.x(), offset.y() + ascent), text.text);
    m_painter->resetTransform();
}

void CadRenderer::DrawText(const CCadEntity& entity) {
    const auto& text = *entity.As<CCadText>();
    // The text stands on its insertion point: its box starts one height above it.
    const double height = static_cast<double>(text.height);
    const QPointF origin = ToQt(m_toDevice.Map(text.insertX, text.insertY - height));
    const double rotation =
        text.rotation != 0.0 ? std::trunc(std::fmod(360.0 - text.rotation, 360.0)) : 0.0;
    DrawString(ScreenStrings(entity).front(), origin, rotation, QPointF(), height * m_scale,
               FillOf(text));
}

void CadRenderer::DrawMText(const CCadEntity& entity) {
    const auto& text = *entity.As<CCadMText>();
    std::vector<ScreenString>& lines = ScreenStrings(entity);
    const Fill fill = FillOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QPointF origin = ToQt(
            m_toDevice.Map(text.insertX, text.insertY + static_cast<double>(i) * text.textHeight));
        DrawString(lines[i], origin, 0.0, QPointF(), text.textHeight * m_scale, fill);
    }
}

void CadRenderer::DrawDimension(const CCadEntity& entity) {
    const auto& dimension = *entity.As<CCadDimension>();
    if (!dimension.block) {
        return;
    }
    for (const CCadEntity& child : dimension.block->entities) {
        if (child.type == kCadText || child.type == kCadMText || child.type == kCadInsert ||
            child.type == kCadDimension) {
            continue;
        }
        // Dimension blocks are in drawing coordinates: their ellipses moved like top-level
        // ones.
        DrawEntity(child, m_toDevice, m_drawing);
    }
    // The value, roughly centred on the text middle point and turned with the dimension.
    ScreenString& value = ScreenStrings(entity).front();
    const double size = DimensionTextSize(dimension);
    const double n = static_cast<double>(value.text.size());
    const QPointF origin = ToQt(m_toDevice.Map(dimension.point11.x, dimension.point11.y));
    const double rotation = std::trunc(std::fmod(360.0 - dimension.rotation, 360.0));
    const QPointF offset(-n * size * 0.25 * m_scale, -size * 0.5 * m_scale);
    DrawString(value, origin, rotation, offset, size * m_scale, FillOf(dimension));
}

void CadRenderer::DrawInsert(const CCadInsert& insert) {
    const CadTransform t = InsertDrawTransform(insert).Then(m_toDevice);
    for (const CCadEntity& entity : insert.entities) {
        switch (entity.type) {
            case kCadLine:
            case kCadArc:
            case kCadCircle:
            case kCadEllipse:
            case kCadPolyline:
            case kCadSolid:
                DrawEntity(entity, t, nullptr);
                break;
            default:
                break;
        }
    }
}

void CadRenderer::DrawGrip(double x, double y) {
    const QPointF p = ToQt(m_toDevice.Map(x, y));
    if (!Finite(p)) {
        return;
    }
    m_hasStroke = false;
    const QRectF square(p.x() - kGripHalfSide, p.y() - kGripHalfSide, 2 * kGripHalfSide,
                        2 * kGripHalfSide);
    m_painter->fillRect(square, QColor::fromRgba(kGripFillColor));
    QPen outline(QColor::fromRgba(kGripOutlineColor), 0);
    outline.setCosmetic(true);
    m_painter->setPen(outline);
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(square);
}

void CadRenderer::DrawGrips(const CCadEntity& entity) {
    switch (entity.type) {
        case kCadLine: {
            const auto* line = entity.As<CCadLine>();
            DrawGrip(line->startX, line->startY);
            DrawGrip(line->endX, line->endY);
            DrawGrip((line->startX + line->endX) / 2.0, (line->startY + line->endY) / 2.0);
            break;
        }
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            const double sweep = ArcSweep(arc->startAngle, arc->endAngle);
            for (double angle :
                 {arc->startAngle, arc->startAngle + sweep, arc->startAngle + sweep / 2.0}) {
                const double a = angle * kRadiansPerDegree;
                DrawGrip(arc->centerX + arc->radius * std::cos(a),
                         arc->centerY + arc->radius * std::sin(a));
            }
            break;
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            DrawGrip(circle->centerX, circle->centerY);
            DrawGrip(circle->centerX + circle->radius, circle->centerY);
            DrawGrip(circle->centerX - circle->radius, circle->centerY);
            DrawGrip(circle->centerX, circle->centerY + circle->radius);
            DrawGrip(circle->centerX, circle->centerY - circle->radius);
            break;
        }
        case kCadEllipse: {
            const EllipseAxes axes = EllipseAxesOf(*entity.As<CCadEllipse>(), m_drawing);
            DrawGrip(axes.centre.x, axes.centre.y);
            DrawGrip(axes.centre.x + axes.major.x, axes.centre.y + axes.major.y);
            break;
        }
        case kCadPolyline:
            for (const CCadVertex& vertex : entity.As<CCadPolyline>()->vertices) {
                DrawGrip(vertex.x, vertex.y);
            }
            break;
        case kCadDimension: {
            const auto* d = entity.As<CCadDimension>();
            for (const CCadDimPoint* point : {&d->point11, &d->point10, &d->point12, &d->point13,
                                              &d->point14, &d->point15, &d->point16}) {
                if (point->present != 0) {
                    DrawGrip(point->x, point->y);
                }
            }
            break;
        }
        case kCadMText: {
            const auto* text = entity.As<CCadMText>();
            DrawGrip(text->insertX, text->insertY);
            break;
        }
        case kCadInsert: {
            const auto* insert = entity.As<CCadInsert>();
            DrawGrip(insert->insertX, insert->insertY);
            break;
        }
        case kCadSolid: {
            const auto* s = entity.As<CCadSolid>();
            DrawGrip(s->x1, s->y1);
            DrawGrip(s->x2, s->y2);
            DrawGrip(s->x3, s->y3);
            DrawGrip(s->x4, s->y4);
            break;
        }
        default:
            break;  // TEXT has no grips
    }
}

void CadRenderer::PaintMeasurements(QPainter& painter, const CadInteraction& interaction) const {
    const CadView& view = interaction.View();
    QPen pen(QColor::fromRgba(kMeasureColor), 0);
    pen.setCosmetic(true);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto device = [&](const CMeasurePoint& p) { return ToQt(view.DrawingToScreen(p.x, p.y)); };
    auto drawPath = [&](const std::vector<CMeasurePoint>& points) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            painter.drawLine(device(points[i - 1]), device(points[i]));
        }
    };
    if (interaction.CurrentPath().points.size() >= 2) {
        drawPath(interaction.CurrentPath().points);
    }
    for (const CMeasurePath& path : interaction.ConfirmedPaths()) {
        drawPath(path.points);
    }
    const std::vector<CMeasurePoint>& area = interaction.AreaPolygon();
    if (area.size() >= 3) {
        drawPath(area);
        QPolygonF polygon;
        for (const CMeasurePoint& p : area) {
            polygon << device(p);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrushOrigin(QPointF(-view.OffsetX(), -view.OffsetY()));
        painter.setBrush(CheckerBoardBrush(kAreaHatchForeground, kHatchBackground));
        painter.drawPolygon(polygon, Qt::OddEvenFill);
        painter.setBrush(Qt::NoBrush);
    }
}

void CadRenderer::PaintRubberBand(QPainter& painter, const CadRubberBand& band) {
    if (!band.shown) {
        return;
    }
    const QRect rect =
        QRect(QPoint(band.from.x, band.from.y), QPoint(band.to.x, band.to.y)).normalized();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    QPen white(Qt::white, 0);
    white.setCosmetic(true);
    painter.setPen(white);
    if (band.solidWhite) {
        painter.drawRect(rect);
        return;
    }
    // A dotted black pen whose gaps show the (white) background colour.
    painter.drawRect(rect);
    QPen dotted(Qt::black, 0, Qt::DotLine);
    dotted.setCosmetic(true);
    painter.setPen(dotted);
    painter.drawRect(rect);
}

void CadRenderer::PaintRubberLine(QPainter& painter, CadPixel from, CadPixel to) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::white, 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    painter.restore();
}

}  // namespace quarrant
