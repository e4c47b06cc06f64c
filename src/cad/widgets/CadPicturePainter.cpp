#include "cad/widgets/CadPicturePainter.h"

#include <QPainter>
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
                              const CadView& view, const SpatialIndex& index) {
    // Two threads where the view holds many entities by an even-spread estimate (the halves'
    // own queries run on their threads).
    const bool twoThreads =
        m_parallel && area.height() >= 64 &&
        QThreadPool::globalInstance()->maxThreadCount() >= 2 && QThread::idealThreadCount() >= 2 &&
        EstimatedEntities(index, CadRenderer::CullRect(view, area)) >= kParallelEntities;
    if (twoThreads) {
        const int middle = area.top() + area.height() / 2;
        const QRect first(area.left(), area.top(), area.width(), middle - area.top());
        const QRect second(area.left(), middle, area.width(), area.bottom() + 1 - middle);
        // Each half is painted on a whole-window image, from the entities that can show in
        // it; then the second half is taken over.
        if (m_secondImage.size() != image.size()) {
            m_secondImage = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
        }
        RunOnPool({[&] {
                       index.Query(CadRenderer::CullRect(view, first), m_firstList);
                       m_first.PaintEntityList(image, drawing, view, m_firstList, first);
                   },
                   [&] {
                       index.Query(CadRenderer::CullRect(view, second), m_secondList);
                       m_second.PaintEntityList(m_secondImage, drawing, view, m_secondList,
                                                second);
                   }});
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(second.topLeft(), m_secondImage, second);
        m_lastPainted = m_firstList.size() + m_secondList.size();
        m_lastShared = true;
        return;
    }
    index.Query(CadRenderer::CullRect(view, area), m_firstList);
    RunOnPool({[&] { m_first.PaintEntityList(image, drawing, view, m_firstList, area); }});
    m_lastPainted = m_firstList.size();
    m_lastShared = false;
}

}  // namespace quarrant
