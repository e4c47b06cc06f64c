#pragma once

// The binary catalogue files "钢结构数据库.ini" (materials) and "钢结构.ini" (structures):
// int32 count N, then N records of three Texts; the first text is the key.

#include <string>
#include <string_view>

#include "base/Catalogue.h"

namespace quarrant {

// Each text of a record is at most this many bytes; a longer one is cut to it on reading.
inline constexpr std::size_t kCatalogueTextLimit = 1023;

// Reads the records into the catalogue (a later record with the same key replaces the earlier
// one). Returns false when the data ends before the count says; the records read so far stay.
bool DecodeCatalogue(std::string_view data, Catalogue& catalogue);

// The file bytes, records in the catalogue's iteration order.
std::string EncodeCatalogue(const Catalogue& catalogue);

}  // namespace quarrant
