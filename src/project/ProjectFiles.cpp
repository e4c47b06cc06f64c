#include "project/ProjectFiles.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>

#include "base/BinaryStream.h"
#include "base/CNumbers.h"

namespace quarrant {

namespace {

// Smallest encodings, used to refuse counts that the remaining bytes cannot hold before
// anything is allocated for them.
constexpr std::size_t kMinDrawingEntryBytes = 4 * 4;
constexpr std::size_t kMinRowBytes = 12 * 4 + 4 * 4 + 4 + 4;
constexpr std::size_t kMinTopLevelRowBytes = kMinRowBytes + 4;

bool IsSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// The number of a "YZN%d" file name, or -1 for any other name.
std::int64_t FileNumber(std::string_view name) {
    constexpr std::string_view kPrefix = "YZN";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 10 ||
        name.substr(0, kPrefix.size()) != kPrefix) {
        return -1;
    }
    std::int64_t number = 0;
    for (char c : name.substr(kPrefix.size())) {
        if (c < '0' || c > '9') {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

void RaiseNextFileNumber(Project& project, std::string_view fileName) {
    std::int64_t number = FileNumber(fileName);
    if (number >= project.nextFileNumber) {
        project.nextFileNumber = static_cast<std::int32_t>(
            std::min<std::int64_t>(number + 1, std::numeric_limits<std::int32_t>::max()));
    }
}

void WriteIdentifiers(BinaryWriter& writer, const std::vector<std::int32_t>& identifiers) {
    writer.WriteInt32(static_cast<std::int32_t>(identifiers.size()));
    for (std::int32_t identifier : identifiers) {
        writer.WriteInt32(identifier);
    }
}

// Items 1 to 18 of a row record.
void WriteRow(BinaryWriter& writer, const QuantityRow& row) {
    writer.WriteText(row.material);
    writer.WriteText(row.itemName);
    writer.WriteText(row.partOrAxis);
    writer.WriteText(row.count);
    writer.WriteText(row.length);
    writer.WriteText(row.width);
    writer.WriteText(row.height);
    writer.WriteText(row.unit);
    writer.WriteText(row.quantity);
    writer.WriteText(row.area);
    writer.WriteText(row.volume);
    writer.WriteText(row.unitWeight);
    WriteIdentifiers(writer, row.list1);
    WriteIdentifiers(writer, row.list2);
    WriteIdentifiers(writer, row.list3);
    WriteIdentifiers(writer, row.list4);
    writer.WriteText(row.drawingName);
    writer.WriteInt32(row.identifier);
}

bool ReadIdentifiers(BinaryReader& reader, std::vector<std::int32_t>& identifiers) {
    std::int32_t count = 0;
    if (!reader.ReadInt32(count)) {
        return false;
    }
    if (count < 0 || static_cast<std::size_t>(count) > reader.Remaining() / 4) {
        return false;
    }
    identifiers.resize(static_cast<std::size_t>(count));
    for (std::int32_t& identifier : identifiers) {
        reader.ReadInt32(identifier);
    }
    return !reader.Failed();
}

// Items 1 to 18 of a row record; false when the record is incomplete.
bool ReadRow(BinaryReader& reader, QuantityRow& row) {
    for (std::string* text :
         {&row.material, &row.itemName, &row.partOrAxis, &row.count, &row.length, &row.width,
          &row.height, &row.unit, &row.quantity, &row.area, &row.volume, &row.unitWeight}) {
        if (!reader.ReadText(*text)) {
            return false;
        }
    }
    return ReadIdentifiers(reader, row.list1) && ReadIdentifiers(reader, row.list2) &&
           ReadIdentifiers(reader, row.list3) && ReadIdentifiers(reader, row.list4) &&
           reader.ReadText(row.drawingName) && reader.ReadInt32(row.identifier);
}

// A count that the remaining bytes can hold at minBytes per element; false otherwise.
bool ReadCount(BinaryReader& reader, std::size_t minBytes, std::int32_t& count) {
    if (!reader.ReadInt32(count)) {
        return false;
    }
    return count >= 0 && static_cast<std::size_t>(count) <= reader.Remaining() / minBytes;
}

}  // namespace

std::string EncodeProjectFile(const Project& project) {
    BinaryWriter writer;
    writer.WriteText(kProjectFileVersion);
    writer.WriteText(project.caption);
    writer.WriteText(project.projectName);
    writer.WriteText(project.projectType);
    writer.WriteInt32(project.nextFileNumber);
    writer.WriteInt32(static_cast<std::int32_t>(project.drawings.size() + 1));
    writer.WriteText(project.dataTable.fileName);
    for (const auto& drawing : project.drawings) {
        writer.WriteText(drawing->drawingName);
        writer.WriteText(drawing->fileName);
        writer.WriteText(drawing->unit);
        writer.WriteText(drawing->scale);
    }
    return writer.Take();
}

Result<DrawingList> DecodeProjectFile(std::string_view bytes, Project& project,
                                      std::string_view gbkPath) {
    BinaryReader reader(bytes);
    project.drawings.clear();
    std::string version;
    if (!reader.ReadText(version)) {
        return Status::Failure(DamagedProjectFileMessage(gbkPath));
    }
    if (version != kProjectFileVersion) {
        return Status::Failure(VersionMessage(version));
    }
    std::int32_t itemCount = 0;
    std::string dataFileName;
    if (!reader.ReadText(project.caption) || !reader.ReadText(project.projectName) ||
        !reader.ReadText(project.projectType) || !reader.ReadInt32(project.nextFileNumber) ||
        !reader.ReadInt32(itemCount) || itemCount < 1 || !reader.ReadText(dataFileName) ||
        !IsSafeFileName(dataFileName)) {
        return Status::Failure(DamagedProjectFileMessage(gbkPath));
    }
    project.dataTable.fileName = dataFileName;
    RaiseNextFileNumber(project, dataFileName);

    std::set<std::string> fileNames = {dataFileName};
    for (std::int32_t item = 1; item < itemCount; ++item) {
        if (reader.Remaining() < kMinDrawingEntryBytes) {
            return DrawingList::kDamaged;
        }
        auto drawing = std::make_unique<Drawing>(&project);
        if (!reader.ReadText(drawing->drawingName) || !reader.ReadText(drawing->fileName) ||
            !reader.ReadText(drawing->unit) || !reader.ReadText(drawing->scale) ||
            !IsSafeFileName(drawing->fileName) || !fileNames.insert(drawing->fileName).second) {
            return DrawingList::kDamaged;
        }
        RaiseNextFileNumber(project, drawing->fileName);
        project.drawings.push_back(std::move(drawing));
    }
    return DrawingList::kWhole;
}

std::string EncodeDataFile(const QuantityTable& table) {
    BinaryWriter writer;
    writer.WriteText(table.displayName);
    writer.WriteInt32(table.nextRowIdentifier);
    writer.WriteInt32(static_cast<std::int32_t>(table.headings.size()));
    for (const std::string& heading : table.headings) {
        writer.WriteText(heading);
    }
    writer.WriteInt32(static_cast<std::int32_t>(table.rows.size()));
    for (const auto& entry : table.rows) {
        const QuantityRow& row = *entry.value;
        WriteRow(writer, row);
        writer.WriteInt32(static_cast<std::int32_t>(row.children.size()));
        for (const auto& child : row.children) {
            WriteRow(writer, *child.value);
        }
    }
    return writer.Take();
}

Status DecodeDataFile(std::string_view bytes, QuantityTable& table, std::string_view gbkPath) {
    BinaryReader reader(bytes);
    table.rows.RemoveAll();
    std::int32_t largestIdentifier = std::numeric_limits<std::int32_t>::min();
    auto finish = [&](bool intact) {
        if (largestIdentifier > table.nextRowIdentifier) {
            table.nextRowIdentifier = largestIdentifier;
        }
        return intact ? Status() : Status::Failure(DamagedFileMessage(gbkPath));
    };

    std::string displayName;
    std::int32_t nextRowIdentifier = 0;
    if (!reader.ReadText(displayName)) {
        return finish(false);
    }
    table.displayName = std::move(displayName);
    if (!reader.ReadInt32(nextRowIdentifier)) {
        return finish(false);
    }
    table.nextRowIdentifier = nextRowIdentifier;

    std::int32_t headingCount = 0;
    if (!ReadCount(reader, 4, headingCount)) {
        return finish(false);
    }
    std::vector<std::string> headings(static_cast<std::size_t>(headingCount));
    for (std::string& heading : headings) {
        if (!reader.ReadText(heading)) {
            return finish(false);
        }
    }
    table.headings = std::move(headings);

    std::int32_t rowCount = 0;
    if (!ReadCount(reader, kMinTopLevelRowBytes, rowCount)) {
        return finish(false);
    }
    for (std::int32_t i = 0; i < rowCount; ++i) {
        auto row = std::make_shared<QuantityRow>();
        if (!ReadRow(reader, *row)) {
            return finish(false);
        }
        largestIdentifier = std::max(largestIdentifier, row->identifier);
        // The row is entered before its children are read, so that it stays when only they
        // are damaged.
        QuantityRow& parent = *row;
        std::int32_t identifier = row->identifier;
        table.rows.SetAt(identifier, std::move(row));

        std::int32_t childCount = 0;
        if (!ReadCount(reader, kMinRowBytes, childCount)) {
            return finish(false);
        }
        for (std::int32_t k = 0; k < childCount; ++k) {
            auto child = std::make_shared<QuantityRow>();
            if (!ReadRow(reader, *child)) {
                return finish(false);
            }
            largestIdentifier = std::max(largestIdentifier, child->identifier);
            child->parent = &parent;
            std::int32_t childIdentifier = child->identifier;
            parent.children.SetAt(childIdentifier, std::move(child));
        }
    }
    return finish(true);
}

std::string DamagedProjectFileMessage(std::string_view path) {
    // "工程文件已损坏，无法打开工程："
    std::string message =
        "\xB9\xA4\xB3\xCC\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xAC\xCE\xDE\xB7\xA8\xB4\xF2"
        "\xBF\xAA\xB9\xA4\xB3\xCC\xA3\xBA";
    message += path;
    return message;
}

std::string DamagedFileMessage(std::string_view path) {
    // "文件已损坏，只读入了其中完好的部分："
    std::string message =
        "\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xAC\xD6\xBB\xB6\xC1\xC8\xEB\xC1\xCB\xC6\xE4"
        "\xD6\xD0\xCD\xEA\xBA\xC3\xB5\xC4\xB2\xBF\xB7\xD6\xA3\xBA";
    message += path;
    return message;
}

std::string MissingFileMessage(std::string_view path) {
    // "文件丢失或无法打开，按空内容读入："
    std::string message =
        "\xCE\xC4\xBC\xFE\xB6\xAA\xCA\xA7\xBB\xF2\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xA3\xAC\xB0\xB4"
        "\xBF\xD5\xC4\xDA\xC8\xDD\xB6\xC1\xC8\xEB\xA3\xBA";
    message += path;
    return message;
}

std::string VersionMessage(std::string_view version) {
    std::string message =
        "\xC8\xED\xBC\xFE\xBA\xCD\xB9\xA4\xB3\xCC\xB5\xC4\xB0\xE6\xB1\xBE\xB2\xBB\xD2\xBB\xD6\xC2"
        "\xA1\xA3"  // 软件和工程的版本不一致。
        "\xC8\xED\xBC\xFE\xB0\xE6\xB1\xBE\xA3\xBA\x31\x2E\x30\xA3\xBB"  // 软件版本：1.0；
        "\xB9\xA4\xB3\xCC\xB0\xE6\xB1\xBE\xA3\xBA";                     // 工程版本：
    message += version;
    return message;
}

}  // namespace quarrant
