#pragma once

// Paints a drawing the way the CAD control shows it: every entity in drawing order with its
// colour at alpha 200, one-pixel cosmetic pens, the dash pattern {5, 10, 5, 10} for selected
// entities, the marked colours, solid and checker-board fills, texts in the CJK font, grips,
// and the measurement overlays. Drawing coordinates are turned into client pixels here.
// One-pixel solid strokes and unhatched texts, nearly all of a drawing, are blended by
// RasterCanvas; dashed, wide and filled shapes go through QPainter.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadIdentifierSet.h"
#include "cad/CadInteraction.h"
#include "cad/CadView.h"
#include "cad/RasterCanvas.h"

class QPainter;

namespace quarrant {

// Fixed colours of the control (ARGB, alpha 200).
inline constexpr QRgb kDefaultPenColor = 0xC8FFFFFF;
inline constexpr QRgb kMarkedLineColor = 0xC83C3C3C;
inline constexpr QRgb kMarkedFillColor = 0xC8A8A8A8;
// Entities already taken off, while the control shows what is left: a faint grey.
inline constexpr QRgb kCoveredColor = 0xC8282828;
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
    // Forgets the glyph masks kept for repainting.
    void ForgetTextPictures();

    // Fills area of image black and paints the chosen entities (indices into the entity
    // array, ascending: drawing order), each followed by its grips when selected. The image
    // has the window's size; nothing outside area is touched. One-pixel strokes and texts are
    // blended straight into a premultiplied image. With covered given, the top-level entities
    // whose identifiers it holds are painted in kCoveredColor and all others in their own
    // colour, whatever their marked flags; without, marked entities have the marked colours.
    void PaintEntityList(QImage& image, const CCadDrawing& drawing, const CadView& view,
                         const std::vector<std::uint32_t>& indices, const QRect& area,
                         const CCadIdentifierSet* covered = nullptr);
    // The drawing rectangle whose entities can show in area (client pixels) of the view.
    static CadRect CullRect(const CadView& view, const QRect& area);

    // The measured path being clicked, the confirmed paths and the area polygon.
    void PaintMeasurements(QPainter& painter, const CadInteraction& interaction) const;
    // The rectangle of a selection drag or window zoom: solid white, or dotted black.
    static void PaintRubberBand(QPainter& painter, const CadRubberBand& band);
    // The rubber line of a path measurement, drawn by inverting the pixels.
    static void PaintRubberLine(QPainter& painter, CadPixel from, CadPixel to);

    // Entities painted by the last PaintEntityList.
    std::size_t LastPaintedCount() const { return m_lastPainted; }

private:
    struct Stroke {
        QRgb color = kDefaultPenColor;
        bool dashed = false;
        double width = 0.0;  // pixels; 0 = cosmetic one-pixel pen
        bool operator==(const Stroke&) const = default;
        // A one-pixel solid line, which the canvas draws.
        bool Thin() const { return !dashed && width < 1.0; }
    };
    // Where a text's glyphs have ink at a pixel size and turn, kept to be blended onto later
    // paints in any colour: the glyphs' base-line origin lies on the mask's anchor.
    struct TextPictureKey {
        QString text;
        int pixelSize = 0;
        int turn = 0;  // whole degrees clockwise, 0..359
        bool operator==(const TextPictureKey&) const = default;
    };
    struct TextPictureHash {
        std::size_t operator()(const TextPictureKey& key) const;
    };
    struct TextPicture {
        CoverageMask mask;
        std::uint64_t lastPaint = 0;
    };
    // A text as the screen shows it.
    struct ScreenString {
        QString text;
        // The picture it was last blended from, while no pictures have been thrown away.
        TextPicture* picture = nullptr;
        int pictureSize = 0;
        int pictureTurn = 0;
        std::uint64_t pictureGeneration = 0;
    };
    struct Fill {
        QRgb color = kDefaultPenColor;
        bool hatched = false;
        bool operator==(const Fill&) const = default;
    };

    void DrawEntity(const CCadEntity& entity, const CadTransform& toDevice,
                    const CCadDrawing* ellipseFrame);
    void DrawLine(const CCadLine& line, const CadTransform& t);
    // Appends to m_points, in device pixels, the chord ends of the arc about centre (drawing
    // units) from start turning by sweep radians (growing angles: clockwise on the screen),
    // ending exactly on end when given, leaving out start when asked; false if a point is not
    // finite.
    bool ArcChords(const CadPoint& centre, double radius, const CadPoint& start, double sweep,
                   const CadPoint* end, bool skipStart, const CadTransform& t);
    void DrawArc(double cx, double cy, double radius, double startAngle, double sweep,
                 const CadTransform& t, const Stroke& stroke);
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
    // The points of m_points joined by the stroke.
    void StrokePoints(const Stroke& stroke);

    Stroke StrokeOf(const CCadRecord& record, double width = 0.0) const;
    Fill FillOf(const CCadRecord& record) const;
    void UseStroke(const Stroke& stroke);
    void UseFill(const Fill& fill);
    void AddLine(const Stroke& stroke, QPointF a, QPointF b);

    // The screen texts of a TEXT (one), an MTEXT (its lines) or a DIMENSION (its value), a
    // top-level entity: the one being painted.
    std::vector<ScreenString>& ScreenStrings(const CCadEntity& entity);
    const QFont& FontOfSize(int pixelSize);
    double AscentOf(int pixelSize);
    TextPicture* PictureOf(const QString& text, int pixelSize, int turn);

    QPainter* m_painter = nullptr;
    std::optional<RasterCanvas> m_canvas;
    const CadView* m_view = nullptr;
    const CCadDrawing* m_drawing = nullptr;
    CadTransform m_toDevice;
    double m_scale = 1.0;
    QRectF m_area;

    bool m_hasStroke = false;
    Stroke m_stroke;
    std::vector<QPointF> m_points;
    std::vector<RasterCanvas::Point> m_canvasPoints;

    std::unordered_map<TextPictureKey, TextPicture, TextPictureHash> m_pictures;
    std::size_t m_pictureBytes = 0;
    std::uint64_t m_paintNumber = 0;
    std::uint64_t m_pictureGeneration = 1;  // changes whenever pictures are thrown away
    bool m_picturesFull = false;            // no room for more pictures in this paint
    QFont m_baseFont;
    int m_fontPixelSize = -1;
    QFont m_font;
    std::unordered_map<int, double> m_ascents;  // by pixel size
    // The screen texts of the top-level entities: slot k + 1 of entity i is m_textSlotOf[i]
    // (0: none yet); a slot holds the record it was made for, so that a slot of an entity
    // that has since been replaced is made again.
    struct TextSlot {
        const CCadRecord* record = nullptr;
        std::vector<ScreenString> strings;
    };
    std::vector<std::uint32_t> m_textSlotOf;
    std::vector<TextSlot> m_textSlots;
    std::uint32_t m_entityIndex = 0;  // the top-level entity being painted
    // How the entity being painted is coloured: by its marked flags, or with the covered set
    // given, dimmed or in its own colour.
    enum class Shade { ByMark, Covered, Uncovered };
    Shade m_shade = Shade::ByMark;
    std::size_t m_lastPainted = 0;
};

}  // namespace quarrant
