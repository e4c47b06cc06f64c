#include "plugin/PartNames.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "base/FileIO.h"
#include "plugin/PageTexts.h"

namespace quarrant {

std::string PartNamesPath(std::string_view programFolder) {
    return JoinPath(programFolder, kPartNamesFileName);
}

std::vector<std::string> DecodePartNames(std::string_view bytes) {
    std::vector<std::string> names;
    std::unordered_set<std::string_view> seen;
    for (std::string_view line : SplitLines(bytes)) {
        if (!line.empty() && seen.insert(line).second) {
            names.emplace_back(line);
        }
    }
    return names;
}

std::string EncodePartNames(const std::vector<std::string>& names) {
    std::string bytes;
    for (const std::string& name : names) {
        bytes += name;
        bytes += "\r\n";
    }
    return bytes;
}

Result<std::vector<std::string>> ReadPartNames(std::string_view programFolder) {
    const std::string path = PartNamesPath(programFolder);
    std::error_code error;
    if (!std::filesystem::exists(FsPath(path), error)) {
        return std::vector<std::string>();
    }
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return bytes.GetStatus();
    }
    return DecodePartNames(bytes.Value());
}

Status KeepPartNames(std::string_view programFolder, const std::vector<std::string>& names) {
    Result<std::vector<std::string>> kept = ReadPartNames(programFolder);
    if (!kept) {
        return kept.GetStatus();
    }
    std::vector<std::string> all = std::move(kept.Value());
    std::unordered_set<std::string> known(all.begin(), all.end());
    const std::size_t before = all.size();
    for (const std::string& name : names) {
        if (!name.empty() && known.insert(name).second) {
            all.push_back(name);
        }
    }
    if (all.size() == before) {
        return Status();
    }
    return WriteFileAtomically(PartNamesPath(programFolder), EncodePartNames(all));
}

}  // namespace quarrant
