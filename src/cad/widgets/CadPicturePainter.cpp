#include "cad/widgets/CadPicturePainter.h"

#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <functional>

namespace quarrant {
namespace {

// Below this many entities one thread paints faster than two.
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

}  // namespace

CadPicturePainter::CadPicturePainter() = default;

void CadPicturePainter::ForgetTexts() {
    m_first.ForgetTexts();
    m_second.ForgetTexts();
}

void CadPicturePainter::Paint(QImage& image, const QRect& area, const CCadDrawing& drawing,
                              const CadView& view, const SpatialIndex& index) {
    const bool twoThreads = m_parallel && area.height() >= 64 &&
                            QThreadPool::globalInstance()->maxThreadCount() >= 2 &&
                            QThread::idealThreadCount() >= 2;
    if (twoThreads) {
        const int middle = area.top() + area.height() / 2;
        const QRect first(area.left(), area.top(), area.width(), middle - area.top());
        const QRect second(area.left(), middle, area.width(), area.bottom() + 1 - middle);
        index.Query(CadRenderer::CullRect(view, first), m_firstList);
        index.Query(CadRenderer::CullRect(view, second), m_secondList);
        if (m_firstList.size() + m_secondList.size() >= kParallelEntities) {
            // Each half is painted on a whole-window image without a clip (a clip would cut
            // lines differently from the window's edge), from the entities that can show in
            // it; then the second half is taken over.
            if (m_secondImage.size() != image.size()) {
                m_secondImage = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
            }
            RunOnPool({[&] { m_first.PaintEntityList(image, drawing, view, m_firstList, first); },
                       [&] {
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
    }
    index.Query(CadRenderer::CullRect(view, area), m_firstList);
    RunOnPool({[&] { m_first.PaintEntityList(image, drawing, view, m_firstList, area); }});
    m_lastPainted = m_firstList.size();
    m_lastShared = false;
}

}  // namespace quarrant
