#include "app/CatalogueFile.h"

#include "base/BinaryStream.h"

namespace quarrant {

bool DecodeCatalogue(std::string_view data, Catalogue& catalogue) {
    BinaryReader reader(data);
    std::int32_t count = 0;
    if (!reader.ReadInt32(count)) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        CatalogueRecord record;
        std::string key;
        if (!reader.ReadText(key) || !reader.ReadText(record.second) ||
            !reader.ReadText(record.third)) {
            return false;
        }
        // The record texts live in 1024-byte buffers: longer texts are cut.
        for (std::string* text : {&key, &record.second, &record.third}) {
            if (text->size() > kCatalogueTextLimit) {
                text->resize(kCatalogueTextLimit);
            }
        }
        record.name = key;
        catalogue.SetAt(key, std::move(record));
    }
    return true;
}

std::string EncodeCatalogue(const Catalogue& catalogue) {
    BinaryWriter writer;
    writer.WriteInt32(static_cast<std::int32_t>(catalogue.size()));
    for (const auto& entry : catalogue) {
        writer.WriteText(entry.key);
        writer.WriteText(entry.value.second);
        writer.WriteText(entry.value.third);
    }
    return writer.Take();
}

}  // namespace quarrant
