#include "controls/TesselixExport.h"

// The library's version, for the program's about box and for load checks.
extern "C" TESSELIX_EXPORT const char* TesselixVersion() {
    return "1.0";
}
