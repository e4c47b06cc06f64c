#include "platform/ProgramFont.h"

#include <QApplication>
#include <QStringList>

namespace quarrant {

QFont ProgramFont() {
    QFont font(QStringLiteral("SimSun"), 9);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    return font;
}

void ApplyProgramFont() {
    QApplication::setFont(ProgramFont());
}

}  // namespace quarrant
