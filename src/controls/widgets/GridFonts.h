#pragma once

// The grid's font descriptions (GridFont, toolkit-free) as Qt fonts and back.

#include <QFont>

#include "controls/GridTypes.h"

namespace quarrant {

// A font description of a Qt font (family as GBK text, pixel height 0 for the default size).
GridFont DescribeFont(const QFont& font);
// The Qt font of a description; base gives what the description leaves open.
QFont MakeFont(const GridFont& description, const QFont& base);
// The same font sized in screen pixels, for drawing on a device of another resolution.
QFont ScreenPixelFont(const QFont& font);

}  // namespace quarrant
