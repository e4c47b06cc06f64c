// The program folder's small text files of any bytes: the colour table ("COLOR.ini") and the
// part names ("部位或轴线.ini"). The part names come back unchanged when written and read again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cad/ColorTable.h"
#include "plugin/PartNames.h"

using namespace quarrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseColorTable(text);

    std::vector<std::string> names = DecodePartNames(text);
    if (DecodePartNames(EncodePartNames(names)) != names) {
        std::abort();
    }
    return 0;
}
