#pragma once

// Importing a DXF file into a CCadFile, as adding a drawing does: read, then normalise.

#include <memory>
#include <string_view>

#include "cad/CadDrawing.h"
#include "cad/DxfReader.h"

namespace quarrant {

// Discards the drawing the file object held, reads the DXF file at gbkPath into a new drawing
// with the given colour table and normalises it with the coordinate precision (Set.ini line 1,
// a float widened to double). Returns 0 on success. On failure (-1) the reader's message, if
// any, and then "解码失败" go to the sink, and the file object is left without a drawing.
// The identifier map stays empty: a drawing reaches a project through the drawing-file
// read-back, which fills it.
int LoadDxf(CCadFile& file, std::string_view gbkPath,
            std::shared_ptr<const CCadColorTable> colorTable, double coordinatePrecision,
            const DxfMessageSink& messages = {});

// The same for a file already in memory.
int LoadDxf(CCadFile& file, DxfBytes bytes, std::shared_ptr<const CCadColorTable> colorTable,
            double coordinatePrecision, const DxfMessageSink& messages = {});

}  // namespace quarrant
