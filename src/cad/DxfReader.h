#pragma once

// The DXF reader: turns an ASCII DXF file into the entities and tables of a CCadDrawing. It
// reads the HEADER, TABLES (layers only), BLOCKS and ENTITIES sections and eleven entity kinds;
// everything else is passed over. The drawing is not normalised here (see DxfNormalize.h).

#include <string>
#include <string_view>

#include "base/Status.h"
#include "cad/CadDrawing.h"

namespace quarrant {

// "打开文件出错": the file cannot be opened (or read).
inline constexpr std::string_view kDxfOpenErrorMessage =
    "\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE\xB3\xF6\xB4\xED";
// "文件格式错误": the first line, or the line after a section, is not the group code 0.
inline constexpr std::string_view kDxfFormatErrorMessage =
    "\xCE\xC4\xBC\xFE\xB8\xF1\xCA\xBD\xB4\xED\xCE\xF3";
// "解码失败": the import failed.
inline constexpr std::string_view kDxfDecodeFailedMessage = "\xBD\xE2\xC2\xEB\xCA\xA7\xB0\xDC";

// The bytes of a whole DXF file held in memory.
struct DxfBytes {
    std::string_view data;
};

// Reads the DXF file at gbkPath into the (new) drawing. A failure carries "打开文件出错" or
// "文件格式错误"; other failures (end of file inside a section or an entity, a wrong group code
// after a header variable) have no message of their own and carry an empty one. The
// identifier map is not filled: the drawing-file read-back does that.
Status ReadDxf(CCadDrawing& drawing, std::string_view gbkPath);

// The same for a file already in memory.
Status ReadDxf(CCadDrawing& drawing, DxfBytes bytes);

}  // namespace quarrant
