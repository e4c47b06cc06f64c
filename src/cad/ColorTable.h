#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cad/CadDrawing.h"

namespace quarrant {

// Parses COLOR.ini text: one colour a line, "number.red.green.blue"; each field converted with
// atoi; missing fields stay 255; blank lines skipped; a later line of the same number replaces
// the earlier one.
CCadColorTable ParseColorTable(std::string_view text);

// Reads <programFolder>/COLOR.ini. Returns nullptr and sets error (the file-open message, GBK)
// when it cannot be read: a drawing cannot be constructed without it.
std::shared_ptr<const CCadColorTable> LoadColorTable(std::string_view programFolder,
                                                     std::string* error);

}  // namespace quarrant
