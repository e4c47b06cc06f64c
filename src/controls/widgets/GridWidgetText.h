#pragma once

// Conversions between the grid's model values and Qt's: GBK texts, font descriptions, and
// the drawing of a cell's text by its format flags.

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <string>

#include "controls/GridTypes.h"

class QPainter;

namespace quarrant {

// A font description of a Qt font (family as GBK text, pixel height 0 for the default size).
GridFont DescribeFont(const QFont& font);
// The Qt font of a description; base gives what the description leaves open.
QFont MakeFont(const GridFont& description, const QFont& base);
// The same font sized in screen pixels, for drawing on a device of another resolution.
QFont ScreenPixelFont(const QFont& font);

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
