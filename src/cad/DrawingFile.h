#pragma once

// The binary drawing file: four extents, the entity count, then one typed record per entity.
// It is written in pieces straight into the file and read in chunks straight from it, so that
// a drawing of a million entities never lies in memory twice, once as bytes and once decoded.

#include <memory>
#include <string>
#include <string_view>

#include "base/BinaryStream.h"
#include "base/FileIO.h"
#include "base/Status.h"
#include "cad/CadDrawing.h"

namespace quarrant {

// "图纸文件已损坏：" followed by the path: a drawing file that ends early or holds impossible
// counts.
std::string DamagedDrawingFileMessage(std::string_view gbkPath);

// Decodes a whole drawing file into the (new, empty) drawing: extents, then every record in
// order, appended to the entity array and entered in the identifier map. When the data is
// damaged (ends early or holds impossible counts) the failure names gbkPath, and what was read
// before the damage stays in the drawing. Zero bytes give an empty drawing and success.
// Records are allocated in the drawing's record store (see CCadRecordStore).
Status ReadDrawingFile(CCadDrawing& drawing, std::string_view bytes, std::string_view gbkPath = {});
// The same, reading the bytes from a source in chunks.
Status ReadDrawingFile(CCadDrawing& drawing, BinarySource& source, std::string_view gbkPath);
// The same for a file opened from its start. A large file is decoded by two threads, each
// taking about half of the records; the drawing is exactly what one thread would read,
// damaged files included.
Status ReadDrawingFile(CCadDrawing& drawing, FileSource& file, std::string_view gbkPath);

// The bytes of the drawing file of this drawing.
std::string WriteDrawingFile(const CCadDrawing& drawing);
// The same bytes written into an open file in pieces (the caller commits it).
Status WriteDrawingFile(const CCadDrawing& drawing, AtomicFileWriter& file);

// The write-and-read-back through which an imported drawing reaches a project: the import is
// written into the open file, destroyed as soon as it is written, and the file read back from
// its start into stored (a new drawing), which then holds exactly what a save and reload give
// (values rounded to four decimals, INSERTs and DIMENSIONs owning private copies, the
// identifier map filled). The caller commits the file or lets it go. When writing fails the
// import is kept (imported is still set) and the failure is the write's; otherwise imported is
// null and the status is that of the read-back (named after gbkPath).
Status StoreAndReadBack(std::unique_ptr<CCadDrawing>& imported, AtomicFileWriter& file,
                        CCadDrawing& stored, std::string_view gbkPath);

}  // namespace quarrant
