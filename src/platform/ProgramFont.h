#pragma once

// The program's font: "宋体" is asked for as the family "SimSun", with the installed CJK fonts
// as fall-backs, so that Chinese never renders as boxes.

#include <QFont>

namespace quarrant {

// SimSun, then Noto Serif CJK SC, then Noto Sans CJK SC, at 9 points.
QFont ProgramFont();

// Makes ProgramFont the application's default font.
void ApplyProgramFont();

}  // namespace quarrant
