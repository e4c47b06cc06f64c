#pragma once

// The DXF reader: turns an ASCII DXF file into the entities and tables of a CCadDrawing. It
// reads the HEADER, TABLES (layers only), BLOCKS and ENTITIES sections and eleven entity kinds;
// everything else is passed over. The drawing is not normalised here (see DxfNormalize.h).

#include <functional>
#include <string>
#include <string_view>

#include "cad/CadDrawing.h"

namespace quarrant {

// Receives the messages the user sees (GBK), in order.
using DxfMessageSink = std::function<void(const std::string& gbkMessage)>;

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

// Reads the DXF file at gbkPath into the (new) drawing. Returns 0 on success, -1 on failure;
// "打开文件出错" and "文件格式错误" go to the sink, other failures (end of file inside a section
// or an entity, a wrong group code after a header variable) have no message of their own. The
// identifier map is not filled: the drawing-file read-back does that.
int ReadDxf(CCadDrawing& drawing, std::string_view gbkPath, const DxfMessageSink& messages = {});

// The same for a file already in memory.
int ReadDxf(CCadDrawing& drawing, DxfBytes bytes, const DxfMessageSink& messages = {});

}  // namespace quarrant
