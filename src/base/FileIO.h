#pragma once

// Whole-file reads and crash-safe writes. Paths given here are model texts (GBK bytes); they
// are turned into UTF-8 file-system names at this edge.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"

namespace quarrant {

// The file-system path of a model path text (GBK bytes; "/" or "\" separate folders).
std::filesystem::path FsPath(std::string_view gbkPath);

// A model path text (GBK bytes) from a file-system path.
std::string ModelPath(const std::filesystem::path& path);

// Joins folder and name with "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// The text after the last "/" or "\" (the whole text when there is none).
std::string_view LastPathComponent(std::string_view path);

// The folder of the running executable, as a model text without the final separator.
std::string ExecutableFolder();

// What a read of a whole file found: whether the file opened, and whether it was read to its
// end (a folder opens but cannot be read; an input error or a file that shrank stops the
// read). bytes holds what was read, never more than the file's length when it was opened.
struct FileBytes {
    bool opened = false;
    bool complete = false;
    std::string bytes;
};
FileBytes ReadFileBytes(std::string_view gbkPath);

// The file's bytes, or the file-open message (GBK) when it cannot be opened or read whole.
Result<std::string> ReadWholeFile(std::string_view gbkPath);

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames it
// over the target, so that a crash or a full disk never leaves a half-written file: either
// the old file or the complete new one is there. On failure the old file is untouched and the
// status holds the message (GBK).
Status WriteFileAtomically(std::string_view gbkPath, std::string_view bytes);

// Lines of a text file: each ends at LF, one CR before it is removed. A final line without
// LF counts; an empty file has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// The standard message for a file that cannot be opened (GBK).
std::string FileOpenErrorMessage(std::string_view gbkPath);

}  // namespace quarrant
