#pragma once

// "部位或轴线.ini" in the program folder: the names of parts and axes typed on the pages, one
// GBK name per line (CR LF). The component dialog starts with them, and a page that is
// destroyed adds the names it collected, so that they are offered again next time.

#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"

namespace quarrant {

// The file's path in the program folder.
std::string PartNamesPath(std::string_view programFolder);

// The names of the file's bytes in file order: lines ending in LF or CR LF, empty lines and
// repeated names left out.
std::vector<std::string> DecodePartNames(std::string_view bytes);

// One name per line, each followed by CR LF.
std::string EncodePartNames(const std::vector<std::string>& names);

// The names of the file; a missing file has none. Fails with the message of a file that exists
// but cannot be read.
Result<std::vector<std::string>> ReadPartNames(std::string_view programFolder);

// Adds the names that the file lacks, after the file's own, and writes the file atomically;
// nothing is written when it lacks none. A file that exists but cannot be read is left alone
// (its names would be lost), with its message.
Status KeepPartNames(std::string_view programFolder, const std::vector<std::string>& names);

}  // namespace quarrant
