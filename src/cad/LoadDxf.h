#pragma once

// Importing a DXF file into a CCadFile, as adding a drawing does: read, then normalise.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/DxfReader.h"

namespace quarrant {

// Discards the drawing the file object held, reads the DXF file at gbkPath into a new drawing
// with the given colour table and normalises it with the coordinate precision (Set.ini line 1,
// a float widened to double). On failure the file object is left without a drawing and the
// status carries the reader's own message (empty when it has none); what the user is told is
// ImportFailureMessages of it. The identifier map stays empty: a drawing reaches a project
// through the drawing-file read-back, which fills it.
Status LoadDxf(CCadFile& file, std::string_view gbkPath,
               std::shared_ptr<const CCadColorTable> colorTable, double coordinatePrecision);

// The same for a file already in memory.
Status LoadDxf(CCadFile& file, DxfBytes bytes, std::shared_ptr<const CCadColorTable> colorTable,
               double coordinatePrecision);

// The messages a failed import shows, in order, each on its own: the reader's own message when
// it has one ("打开文件出错" or "文件格式错误"), then "解码失败".
std::vector<std::string> ImportFailureMessages(const Status& failure);

}  // namespace quarrant
