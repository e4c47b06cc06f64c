#pragma once

// Dialog units, the measure of the page's and dialogs' layouts, in pixels of the program's
// font: a horizontal unit is a quarter of the average width of a Latin character, a vertical
// unit an eighth of the character height. For 宋体 the Latin characters are half as wide as
// the font is high, so a 12-pixel font gives 1.5 pixels per unit either way (the page's 194
// units of width are then 291 pixels and fit the host's pane of 347).

#include <QFont>
#include <QFontInfo>

namespace quarrant {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const int pixels = QFontInfo(font).pixelSize();
        m_baseX = pixels > 1 ? pixels / 2 : 1;
        m_baseY = pixels > 0 ? pixels : 1;
    }

    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }

private:
    int m_baseX;
    int m_baseY;
};

}  // namespace quarrant
