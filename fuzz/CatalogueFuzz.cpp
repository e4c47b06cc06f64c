// Catalogue files of any bytes ("钢结构数据库.ini", "钢结构.ini"): decoding never reads past the
// end, no text exceeds its limit, and what is read survives being written and read again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/CatalogueFile.h"

using namespace quarrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Catalogue catalogue;
    DecodeCatalogue(std::string_view(reinterpret_cast<const char*>(data), size), catalogue);

    std::string bytes = EncodeCatalogue(catalogue);
    Catalogue again;
    if (!DecodeCatalogue(bytes, again) || again.size() != catalogue.size()) {
        std::abort();
    }
    for (const auto& [key, record] : catalogue) {
        const CatalogueRecord* read = again.Lookup(key);
        if (read == nullptr || read->name != record.name || read->second != record.second ||
            read->third != record.third || record.name.size() > kCatalogueTextLimit ||
            record.second.size() > kCatalogueTextLimit ||
            record.third.size() > kCatalogueTextLimit) {
            std::abort();
        }
    }
    return 0;
}
