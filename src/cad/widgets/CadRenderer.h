#pragma once

// Paints a drawing the way the CAD control shows it: every entity in drawing order with its
// colour at alpha 200, one-pixel cosmetic pens, the dash pattern {5, 10, 5, 10} for selected
// entities, the marked colours, solid and checker-board fills, texts in the CJK font, grips,
// and the measurement overlays. Drawing coordinates are turned into client pixels here; only
// the entities the view can show are painted.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QString>

#include <unordered_map>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadInteraction.h"
#include "cad/CadView.h"
#include "cad/SpatialIndex.h"

class QPainter;

namespace quarrant {

// Fixed colours of the control (ARGB, alpha 200).
inline constexpr QRgb kDefaultPenColor = 0xC8FFFFFF;
inline constexpr QRgb kMarkedLineColor = 0xC83C3C3C;
inline constexpr QRgb kMarkedFillColor = 0xC8A8A8A8;
inline constexpr QRgb kGripFillColor = 0xC80000FF;
inline constexpr QRgb kGripOutlineColor = 0xC8646464;
inline constexpr QRgb kMeasureColor = 0xC8FFFF00;
inline constexpr QRgb kAreaHatchForeground = 0xC8FFFFFF;
inline constexpr QRgb kHatchBackground = 0xC8000000;

// The SmallCheckerBoard hatch: 2 x 2 pixel checks of the two colours.
QBrush CheckerBoardBrush(QRgb foreground, QRgb background);

class CadRenderer {
public:
    CadRenderer();

    // Forgets the texts converted for the screen (call when the drawing changes).
    void ForgetTexts();
    // Forgets the text pictures kept for repainting.
    void ForgetTextPictures();

    // Fills area black and paints every entity whose box meets it, in drawing order, each
    // followed by its grips when selected. The painter draws in client pixels.
    void PaintEntities(QPainter& painter, const CCadDrawing& drawing, const CadView& view,
                       const SpatialIndex& index, const QRect& area);
    // The same for entities already chosen (indices into the entity array, ascending).
    void PaintEntityList(QPainter& painter, const CCadDrawing& drawing, const CadView& view,
                         const std::vector<std::uint32_t>& indices, const QRect& area);
    // The drawing rectangle whose entities can show in area (client pixels) of the view.
    static CadRect CullRect(const CadView& view, const QRect& area);

    // The measured path being clicked, the confirmed paths and the area polygon.
    void PaintMeasurements(QPainter& painter, const CadInteraction& interaction) const;
    // The rectangle of a selection drag or window zoom: solid white, or dotted black.
    static void PaintRubberBand(QPainter& painter, const CadRubberBand& band);
    // The rubber line of a path measurement, drawn by inverting the pixels.
    static void PaintRubberLine(QPainter& painter, CadPixel from, CadPixel to);

    // Entities painted by the last PaintEntities (top-level, after culling).
    std::size_t LastPaintedCount() const { return m_lastPainted; }

private:
    struct Stroke {
        QRgb color = kDefaultPenColor;
        bool dashed = false;
        double width = 0.0;  // pixels; 0 = cosmetic one-pixel pen
        bool operator==(const Stroke&) const = default;
    };
    // A text as the screen shows it.
    struct TextPicture;
    struct ScreenString {
        QString text;
        // The picture it was last copied from, while the pictures have not been thinned out.
        TextPicture* picture = nullptr;
        int pictureSize = 0;
        QRgb pictureColor = 0;
        std::uint64_t pictureGeneration = 0;
    };
    // An unturned, unhatched text painted once at a size and colour, kept to be copied onto
    // later paints: the glyphs are drawn at a whole-pixel base-line origin, which lies at
    // anchor inside the picture.
    struct TextPictureKey {
        QString text;
        int pixelSize = 0;
        QRgb color = 0;
        bool operator==(const TextPictureKey&) const = default;
    };
    struct TextPictureHash {
        std::size_t operator()(const TextPictureKey& key) const;
    };
    struct TextPicture {
        QImage image;
        QPoint anchor;
        std::uint64_t lastPaint = 0;
    };
    struct Fill {
        QRgb color = kDefaultPenColor;
        bool hatched = false;
        bool operator==(const Fill&) const = default;
    };

    void DrawEntity(const CCadEntity& entity, const CadTransform& toDevice,
                    const CCadDrawing* ellipseFrame);
    void DrawLine(const CCadLine& line, const CadTransform& t);
    void DrawArc(const CCadRecord& record, double cx, double cy, double radius, double startAngle,
                 double sweep, const CadTransform& t, const Stroke& stroke);
    void DrawEllipse(const CCadEllipse& ellipse, const CadTransform& t,
                     const CCadDrawing* ellipseFrame);
    void DrawPolyline(const CCadPolyline& polyline, const CadTransform& t);
    void DrawSolid(const CCadSolid& solid, const CadTransform& t);
    void DrawText(const CCadEntity& entity);
    void DrawMText(const CCadEntity& entity);
    void DrawDimension(const CCadEntity& entity);
    void DrawInsert(const CCadInsert& insert);
    void DrawGrips(const CCadEntity& entity);
    void DrawGrip(double x, double y);
    // Draws a string whose layout box has its top-left corner at origin (client pixels),
    // turned clockwise by rotation degrees about origin, size in pixels.
    void DrawString(ScreenString& text, QPointF origin, double rotation, QPointF offset,
                    double sizePixels, const Fill& fill);

    Stroke StrokeOf(const CCadRecord& record, double width = 0.0) const;
    Fill FillOf(const CCadRecord& record) const;
    void UseStroke(const Stroke& stroke);
    void UseFill(const Fill& fill);
    void FlushLines();
    void AddLine(const Stroke& stroke, QPointF a, QPointF b);

    // The screen texts of a TEXT (one), an MTEXT (its lines) or a DIMENSION (its value).
    std::vector<ScreenString>& ScreenStrings(const CCadEntity& entity);
    const QFont& FontOfSize(int pixelSize, double& ascent);

    QPainter* m_painter = nullptr;
    const CadView* m_view = nullptr;
    const CCadDrawing* m_drawing = nullptr;
    CadTransform m_toDevice;
    double m_scale = 1.0;
    QRectF m_area;

    bool m_hasStroke = false;
    Stroke m_stroke;
    std::vector<QLineF> m_lines;
    std::vector<QPointF> m_points;

    TextPicture* PictureOf(const QString& text, int pixelSize, QRgb color, const QFont& font);

    std::unordered_map<TextPictureKey, TextPicture, TextPictureHash> m_pictures;
    std::size_t m_pictureBytes = 0;
    std::uint64_t m_paintNumber = 0;
    std::uint64_t m_pictureGeneration = 1;  // changes whenever pictures are thrown away
    bool m_picturesFull = false;            // no room for more pictures in this paint
    QFont m_baseFont;
    int m_fontPixelSize = -1;
    QFont m_font;
    double m_fontAscent = 0.0;
    std::unordered_map<const CCadRecord*, std::vector<ScreenString>> m_texts;
    std::vector<std::uint32_t> m_visible;
    std::size_t m_lastPainted = 0;
};

}  // namespace quarrant
