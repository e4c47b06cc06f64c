#pragma once

// Paints the entities of a drawing into an image of the window's size, black behind them:
// the picture the CAD control keeps and puts its overlays on. The painting runs on the
// application's thread pool, where the painting library blends pixels without handing every
// few hundred of them to other threads (which costs more than the blending itself for
// half-transparent pens). A picture with many entities is shared by two pool threads, each
// painting one half of the window; every pixel comes out as in a paint by one thread, which
// paints the same halves in turn.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadView.h"
#include "cad/SpatialIndex.h"
#include "cad/widgets/CadRenderer.h"

namespace quarrant {

class CadPicturePainter {
public:
    CadPicturePainter();

    // Forgets the texts converted for the screen (the drawing changed).
    void ForgetTexts();
    // Whether a paint of many entities (4000 or more) is shared by two threads, where the
    // machine has two cores or more (on by default).
    void SetParallel(bool on) { m_parallel = on; }

    // Fills area of image black and paints the entities that can show in it. image has the
    // size of the window the view describes. covered: see CadRenderer::PaintEntityList (both
    // threads only read it).
    void Paint(QImage& image, const QRect& area, const CCadDrawing& drawing, const CadView& view,
               const SpatialIndex& index, const CCadIdentifierSet* covered = nullptr);

    // Entities painted by the last Paint, and whether two threads shared it.
    std::size_t LastPaintedCount() const { return m_lastPainted; }
    bool LastPaintShared() const { return m_lastShared; }

private:
    CadRenderer m_first;
    CadRenderer m_second;
    bool m_parallel = true;
    std::vector<std::uint32_t> m_firstList;
    std::vector<std::uint32_t> m_secondList;
    std::size_t m_lastPainted = 0;
    bool m_lastShared = false;
};

}  // namespace quarrant
