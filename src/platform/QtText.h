#pragma once

// Model texts (GBK bytes) to screen texts and back: the one conversion edge of the windows,
// exported by Tesselix for the program, the library's own controls and the plug-in.

#include <QString>

#include <string>
#include <string_view>

#include "controls/TesselixExport.h"

namespace quarrant {

// A byte sequence that is not valid GBK shows as U+FFFD per byte.
TESSELIX_EXPORT QString ToQt(std::string_view gbk);
// Every character has its GB18030 bytes.
TESSELIX_EXPORT std::string FromQt(const QString& text);

}  // namespace quarrant
