#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/Status.h"
#include "cad/CadDrawing.h"

namespace quarrant {

// Parses COLOR.ini text: one colour a line, "number.red.green.blue"; each field converted with
// atoi; missing fields stay 255; blank lines skipped; a later line of the same number replaces
// the earlier one.
CCadColorTable ParseColorTable(std::string_view text);

// Reads <programFolder>/COLOR.ini; fails with the file-open message when it cannot be read.
Result<std::shared_ptr<const CCadColorTable>> LoadColorTable(std::string_view programFolder);

}  // namespace quarrant
