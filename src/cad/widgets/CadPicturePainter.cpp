#include "cad/widgets/CadPicturePainter.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <functional>

namespace quarrant {
namespace {

// Below this many entities in view one thread paints faster than two.
constexpr std::size_t kParallelEntities = 4000;

// Runs the jobs on the application's thread pool and waits for them. On the pool's own
// threads the painting library blends the pixels of a half-transparent pen itself; on any
// other thread it hands every few hundred pixels to the pool's threads, which costs more than
// the blending. A job for which the pool has no idle thread (other work occupies it) runs on
// the calling thread rather than waiting.
void RunOnPool(const std::vector<std::function<void()>>& jobs) {
    QThreadPool* pool = QThreadPool::globalInstance();
    QSemaphore finished;
    const int needed = static_cast<int>(jobs.size());
    if (pool->maxThreadCount() - pool->activeThreadCount() < needed) {
        // The threads of the previous paint may still be on their way back to the pool.
        pool->waitForDone(10);
    }
    int idle = pool->maxThreadCount() - pool->activeThreadCount();
    int started = 0;
    std::vector<const std::function<void()>*> here;
    for (const std::function<void()>& job : jobs) {
        if (idle > 0) {
            --idle;
            ++started;
            pool->start([&finished, &job] {
                job();
                finished.release();
            });
        } else {
            here.push_back(&job);
        }
    }
    for (const std::function<void()>* job : here) {
        (*job)();
    }
    finished.acquire(started);
}

// The entities a rectangle of the drawing holds, were they spread evenly over the bounds.
double EstimatedEntities(const SpatialIndex& index, const CadRect& rect) {
    if (!index.HasBounds()) {
        return 0.0;
    }
    const CadRect& bounds = index.Bounds();
    const double width = bounds.xmax - bounds.xmin;
    const double height = bounds.ymax - bounds.ymin;
    const double shownWidth = std::min(rect.xmax, bounds.xmax) - std::max(rect.xmin, bounds.xmin);
    const double shownHeight = std::min(rect.ymax, bounds.ymax) - std::max(rect.ymin, bounds.ymin);
    if (!(shownWidth >= 0.0) || !(shownHeight >= 0.0)) {
        return 0.0;
    }
    const double across = width > 0.0 ? std::min(shownWidth / width, 1.0) : 1.0;
    const double down = height > 0.0 ? std::min(shownHeight / height, 1.0) : 1.0;
    return static_cast<double>(index.EntityCount()) * across * down;
}

}  // namespace

CadPicturePainter::CadPicturePainter() = default;

void CadPicturePainter::ForgetTexts() {
    m_first.ForgetTexts();
    m_second.ForgetTexts();
}

void CadPicturePainter::Paint(QImage& image, const QRect& area, const CCadDrawing& drawing,
                              const CadView& view, const SpatialIndex& index,
                              const CCadIdentifierSet* covered) {
    if (area.height() < 64 || image.format() != QImage::Format_ARGB32_Premultiplied) {
        index.Query(CadRenderer::CullRect(view, area), m_firstList);
        RunOnPool(
            {[&] { m_first.PaintEntityList(image, drawing, view, m_firstList, area, covered); }});
        m_lastPainted = m_firstList.size();
        m_lastShared = false;
        return;
    }
    // A large area is painted as two halves, one above the other, each from the entities
    // that can show in it and cut at its edge, so that the picture is the same whether one
    // thread paints the halves in turn or two threads paint them at once (where the view
    // holds many entities by an even-spread estimate). The second half is painted through
    // its own image object over the same pixels: each painter keeps to its half.
    const int middle = area.top() + area.height() / 2;
    const QRect first(area.left(), area.top(), area.width(), middle - area.top());
    const QRect second(area.left(), middle, area.width(), area.bottom() + 1 - middle);
    QImage secondView(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                      image.format());
    const bool twoThreads =
        m_parallel && QThreadPool::globalInstance()->maxThreadCount() >= 2 &&
        QThread::idealThreadCount() >= 2 &&
        EstimatedEntities(index, CadRenderer::CullRect(view, area)) >= kParallelEntities;
    auto paintFirst = [&] {
        index.Query(CadRenderer::CullRect(view, first), m_firstList);
        m_first.PaintEntityList(image, drawing, view, m_firstList, first, covered);
    };
    auto paintSecond = [&](CadRenderer& renderer) {
        index.Query(CadRenderer::CullRect(view, second), m_secondList);
        renderer.PaintEntityList(secondView, drawing, view, m_secondList, second, covered);
    };
    if (twoThreads) {
        RunOnPool({paintFirst, [&] { paintSecond(m_second); }});
    } else {
        RunOnPool({[&] {
            paintFirst();
            paintSecond(m_first);
        }});
    }
    // Entities that reach into both halves count once.
    std::size_t both = 0;
    for (auto a = m_firstList.begin(), b = m_secondList.begin();
         a != m_firstList.end() && b != m_secondList.end();) {
        if (*a < *b) {
            ++a;
        } else if (*b < *a) {
            ++b;
        } else {
            ++both;
            ++a;
            ++b;
        }
    }
    m_lastPainted = m_firstList.size() + m_secondList.size() - both;
    m_lastShared = twoThreads;
}

}  // namespace quarrant
