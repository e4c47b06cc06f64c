#pragma once

// The project file and the data file as bytes, apart from any disk access, so that they can be
// tested and fuzzed on their own. All integers are little-endian int32; a Text is an int32
// byte count followed by that many GBK bytes.
//
// Project file: version "1.0", caption, project name, project type, next file number, item
// count (drawings + 1), data file name, then per drawing its name, file name, unit and scale.
//
// Data file: display name, next row identifier, heading count and headings, top-level row
// count and the top-level rows, each followed by its child count and children. A row record is
// 材料及材料规格, 项目名称, 部位或轴线, 数量, 长, 宽, 高, 单位, 工程量, 面积, 体积, 单位重量（kg）,
// the four entity identifier lists (count, then the identifiers), drawing name and row identifier.

#include <string>
#include <string_view>

#include "project/Project.h"
#include "project/QuantityTable.h"

namespace quarrant {

// The only project file version this program reads and writes.
inline constexpr std::string_view kProjectFileVersion = "1.0";

enum class ProjectFileStatus {
    kOk,
    kWrongVersion,    // the version is not "1.0"; nothing else was read
    kDamaged,         // the fixed items (up to the data file name) are incomplete or impossible
    kDamagedDrawings  // the drawing list ends early or names an impossible file; the drawings
                      // before the damage were read
};

// The project file of the project (its tables' rows and its drawings' data are not in it).
std::string EncodeProjectFile(const Project& project);

// Reads a project file into a new project: caption, project name, project type, next file
// number, the data table's file name and one Drawing (names, unit, scale, no drawing data yet)
// per listed drawing. version receives the version text read. A file name that is empty, holds
// a folder separator or repeats another file name of the project counts as damage, so that
// saving never writes outside the folder or two drawings into one file. The next file number
// is raised above every "YZN%d" number in use, so that a new file never replaces an old one.
ProjectFileStatus DecodeProjectFile(std::string_view bytes, Project& project, std::string& version);

// The data file of the table: rows in the row map's order, children in their child map's.
std::string EncodeDataFile(const QuantityTable& table);

// Reads a data file into the table, replacing its rows. Rows are entered in file order, each
// at the front of its bucket, so rows sharing a bucket come back in reverse order. Returns
// false when the data is damaged (ends early or holds impossible counts): the display name,
// next row identifier and headings read before the damage stay, as do the rows whose record
// was complete (a top-level row keeps the children read before the damage). The next row
// identifier is raised to the largest identifier read, so that new rows never replace old ones.
bool DecodeDataFile(std::string_view bytes, QuantityTable& table);

// "软件和工程的版本不一致。软件版本：1.0；工程版本：" followed by the version read.
std::string VersionMessage(std::string_view version);

}  // namespace quarrant
