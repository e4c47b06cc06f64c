#include "controls/widgets/GridFonts.h"

#include <QFontInfo>

#include "platform/QtText.h"

namespace quarrant {

GridFont DescribeFont(const QFont& font) {
    GridFont description;
    description.faceName = FromQt(font.family());
    description.height = font.pixelSize() > 0 ? font.pixelSize() : 0;
    description.weight = font.bold() ? 700 : 400;
    description.italic = font.italic();
    description.underline = font.underline();
    return description;
}

QFont MakeFont(const GridFont& description, const QFont& base) {
    QFont font = base;
    if (!description.faceName.empty()) {
        font.setFamily(ToQt(description.faceName));
    }
    if (description.height > 0) {
        font.setPixelSize(description.height);
    }
    font.setWeight(description.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    return font;
}

QFont ScreenPixelFont(const QFont& font) {
    QFont result = font;
    result.setPixelSize(QFontInfo(font).pixelSize());
    return result;
}

}  // namespace quarrant
