#include "cad/ColorTable.h"

#include <cstddef>
#include <cstdint>

#include "base/CNumbers.h"
#include "base/FileIO.h"

namespace quarrant {

CCadColorTable ParseColorTable(std::string_view text) {
    CCadColorTable table;
    for (std::string_view line : SplitLines(text)) {
        if (TrimC(line).empty()) {
            continue;
        }
        // Colour number, red, green, blue; fields the line does not have keep 255.
        std::int32_t fields[4] = {255, 255, 255, 255};
        std::size_t start = 0;
        for (std::int32_t& field : fields) {
            std::size_t dot = line.find('.', start);
            field =
                AtoiC(line.substr(start, dot == std::string_view::npos ? line.npos : dot - start));
            if (dot == std::string_view::npos) {
                break;
            }
            start = dot + 1;
        }
        CCadColor color;
        color.red = fields[1];
        color.green = fields[2];
        color.blue = fields[3];
        table.SetAt(fields[0], color);
    }
    return table;
}

Result<std::shared_ptr<const CCadColorTable>> LoadColorTable(std::string_view programFolder) {
    Result<std::string> file = ReadWholeFile(JoinPath(programFolder, "COLOR.ini"));
    if (!file) {
        return file.GetStatus();
    }
    return std::shared_ptr<const CCadColorTable>(
        std::make_shared<const CCadColorTable>(ParseColorTable(file.Value())));
}

}  // namespace quarrant
