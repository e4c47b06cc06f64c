#pragma once

// The drawing of a cell's text by its format flags, with the laid-out texts kept across
// repaints.

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRect>
#include <QStaticText>
#include <QString>

class QPainter;

namespace quarrant {

// Single-line texts laid out in one font, kept across repaints: drawing a laid-out text skips
// shaping, which is most of the cost of a cell. The owner clears it when the font changes.
class TextLayoutCache {
public:
    const QStaticText& Get(const QString& text, const QFont& font);
    void Clear() { m_texts.clear(); }

private:
    QHash<QString, QStaticText> m_texts;
};

// Draws text inside rect by the cell's text-drawing flags: alignment, single line or word
// break, end ellipsis. metrics are those of the painter's font; cache, when given, holds
// layouts in that font.
void DrawCellText(QPainter& painter, const QRect& rect, unsigned format, const QString& text,
                  const QFontMetrics& metrics, TextLayoutCache* cache);

}  // namespace quarrant
