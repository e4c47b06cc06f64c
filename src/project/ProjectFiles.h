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

#include "base/Status.h"
#include "project/Project.h"
#include "project/QuantityTable.h"

namespace quarrant {

// The only project file version this program reads and writes.
inline constexpr std::string_view kProjectFileVersion = "1.0";

// Whether a project file's drawing list was read whole.
enum class DrawingList {
    kWhole,
    kDamaged  // it ends early or names an impossible file; the drawings before the damage
              // were read
};

// The project file of the project (its tables' rows and its drawings' data are not in it).
std::string EncodeProjectFile(const Project& project);

// Reads the project file at gbkPath (its bytes) into a new project: caption, project name,
// project type, next file number, the data table's file name and one Drawing (names, unit,
// scale, no drawing data yet) per listed drawing. Fails with the version message when the
// version is not "1.0" (nothing else is read) and with the damaged-project message naming
// gbkPath when the items up to the data file name are incomplete or impossible. A damaged
// drawing list is no failure: the drawings before the damage stay. A file name that is empty,
// holds a folder separator or repeats another file name of the project counts as damage, so
// that saving never writes outside the folder or two drawings into one file. The next file
// number is raised above every "YZN%d" number in use, so that a new file never replaces an
// old one.
Result<DrawingList> DecodeProjectFile(std::string_view bytes, Project& project,
                                      std::string_view gbkPath);

// The data file of the table: rows in the row map's order, children in their child map's.
std::string EncodeDataFile(const QuantityTable& table);

// Reads the data file at gbkPath (its bytes) into the table, replacing its rows. Rows are
// entered in file order, each at the front of its bucket, so rows sharing a bucket come back in
// reverse order. Fails with DamagedFileMessage(gbkPath) when the data is damaged (ends early or
// holds impossible counts): the display name, next row identifier and headings read before the
// damage stay, as do the rows whose record was complete (a top-level row keeps the children
// read before the damage). The next row identifier is raised to the largest identifier read, so
// that new rows never replace old ones.
Status DecodeDataFile(std::string_view bytes, QuantityTable& table, std::string_view gbkPath = {});

// "软件和工程的版本不一致。软件版本：1.0；工程版本：" followed by the version read.
std::string VersionMessage(std::string_view version);
// "工程文件已损坏，无法打开工程：" followed by the path of the project file.
std::string DamagedProjectFileMessage(std::string_view path);
// The message for a file that is damaged; what could be read was read.
std::string DamagedFileMessage(std::string_view path);
// The message for a data or drawing file that is missing or cannot be read.
std::string MissingFileMessage(std::string_view path);

}  // namespace quarrant
