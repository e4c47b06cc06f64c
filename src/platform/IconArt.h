#pragma once

// The program's own icons, painted rather than drawn by hand so that they stay crisp at 16
// and 32 pixels: the tree icons "11.ico" ... "71.ico" (written once into the program folder by
// tools/IconGenerator), the list images, the program icon and the toolbar button images.

#include <QIcon>
#include <QImage>

namespace quarrant {

enum class IconArt {
    kWorkspace,   // 11.ico: the project manager (a stack of project folders)
    kProject,     // 21.ico: a project folder marked with a steel I-section
    kOpenFolder,  // 31.ico
    kDocument,    // 41.ico
    kTable,       // 51.ico: report tables and the data table (a ruled sheet)
    kDrawing,     // 71.ico: a drawing (a blueprint with a roof truss)
    kProgram,     // the program icon: a roof truss over a steel-blue ground
};

// The icon file a tree icon is kept in ("11.ico" ...), or nullptr for the program icon.
const char* IconFileName(IconArt art);

// The art painted on a transparent square of size x size pixels (designed on a 32-pixel grid
// with lines on whole pixels at 16 and 32).
QImage PaintIconArt(IconArt art, int size);

// The program icon at 16, 32 and 48 pixels.
QIcon ProgramIcon();

// Image i (0-11) of the project manager list's 32 x 32 image list: 0 is icon resource 5 (the
// program), 1-11 are icon resources 133-143.
QIcon ListImage(int index);

// The 23 x 20 button image of a toolbar command (an empty icon for an unknown command).
QIcon CommandIcon(int commandId);

}  // namespace quarrant
