#include "controls/widgets/CellTextDrawing.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

#include "controls/GridTypes.h"

namespace quarrant {

const QStaticText& TextLayoutCache::Get(const QString& text, const QFont& font) {
    auto found = m_texts.find(text);
    if (found != m_texts.end()) {
        return found.value();
    }
    if (m_texts.size() >= 8192) {
        m_texts.clear();
    }
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    layout.prepare(QTransform(), font);
    return m_texts.insert(text, layout).value();
}

void DrawCellText(QPainter& painter, const QRect& rect, unsigned format, const QString& text,
                  const QFontMetrics& metrics, TextLayoutCache* cache) {
    int horizontal = Qt::AlignLeft;
    if ((format & kDtCenter) != 0) {
        horizontal = Qt::AlignHCenter;
    } else if ((format & kDtRight) != 0) {
        horizontal = Qt::AlignRight;
    }
    int vertical = Qt::AlignTop;
    if ((format & kDtVCenter) != 0) {
        vertical = Qt::AlignVCenter;
    } else if ((format & kDtBottom) != 0) {
        vertical = Qt::AlignBottom;
    }
    const bool singleLine = (format & kDtSingleLine) != 0;
    if (!singleLine && ((format & kDtWordBreak) != 0 || text.contains(QLatin1Char('\n')))) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(rect, horizontal | vertical | Qt::TextWordWrap, text);
        painter.restore();
        return;
    }
    // One line, laid out once: its width places it, and it is cut with an ellipsis when it
    // does not fit.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStaticText own;
    auto layoutOf = [&](const QString& value) -> const QStaticText& {
        if (cache != nullptr) {
            return cache->Get(value, painter.font());
        }
        own = QStaticText(value);
        own.setTextFormat(Qt::PlainText);
        own.prepare(painter.transform(), painter.font());
        return own;
    };
    const QStaticText* layout = &layoutOf(line);
    int width = static_cast<int>(std::ceil(layout->size().width()));
    const bool overflows = width > rect.width();
    if (overflows && (format & kDtEndEllipsis) != 0) {
        layout = &layoutOf(metrics.elidedText(line, Qt::ElideRight, rect.width()));
        width = static_cast<int>(std::ceil(layout->size().width()));
    }
    int x = rect.left();
    if (horizontal == Qt::AlignHCenter) {
        x += (rect.width() - width) / 2;
    } else if (horizontal == Qt::AlignRight) {
        x = rect.right() + 1 - width;
    }
    int y = rect.top();
    if (vertical == Qt::AlignVCenter) {
        y = rect.top() + (rect.height() - metrics.height()) / 2;
    } else if (vertical == Qt::AlignBottom) {
        y = rect.bottom() + 1 - metrics.height();
    }
    if (overflows && (format & kDtEndEllipsis) == 0) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawStaticText(QPoint(x, y), *layout);
        painter.restore();
        return;
    }
    painter.drawStaticText(QPoint(x, y), *layout);
}

}  // namespace quarrant
