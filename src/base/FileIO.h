#pragma once

// Whole-file reads and crash-safe writes. Paths given here are model texts (GBK bytes); they
// are turned into UTF-8 file-system names at this edge.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/BinaryStream.h"
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

// The same for a file written piece by piece, so that a large file never lies in memory whole.
// Open makes the temporary file; Write appends; Commit replaces the target with it. A file
// that is not committed (a failed write, or the writer destroyed first) is removed and the
// target stays untouched. Every failure carries the message of WriteFileAtomically.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    Status Open(std::string_view gbkPath);
    Status Write(std::string_view bytes);
    // Appends the whole content of another open file (read from its start).
    Status Append(int fd);
    // The target's path as given to Open.
    const std::string& Path() const { return m_gbkPath; }
    // durable: flushed to disk before it replaces the target (every save; a scratch file
    // that is read back at once has no need of it).
    Status Commit(bool durable = true);

    // The file, open for reading and writing until the writer is destroyed, also after the
    // commit: what was written can be read back from it even if the target is replaced
    // meanwhile. -1 before Open.
    int Descriptor() const { return m_fd; }

private:
    Status Fail(const std::string& reason);

    int m_fd = -1;
    bool m_committed = false;
    std::string m_gbkPath;
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
};

// A file read in chunks from its start, for BinaryReader.
class FileSource final : public BinarySource {
public:
    // Opens the file at gbkPath; the file-open message when it cannot be read.
    static Result<std::unique_ptr<FileSource>> Open(std::string_view gbkPath);
    // Reads an open file from its start; the descriptor stays the caller's.
    static Result<std::unique_ptr<FileSource>> FromDescriptor(int fd, std::string_view gbkPath);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    std::size_t Left() const override { return m_size > m_offset ? m_size - m_offset : 0; }
    // The length of the file when it was opened.
    std::size_t Size() const { return m_size; }
    // Another source on the same file, reading from offset on; it needs this one open. Two
    // threads may each read through a source of their own.
    std::unique_ptr<FileSource> From(std::size_t offset) const;

private:
    FileSource(int fd, bool owned, std::size_t size) : m_fd(fd), m_owned(owned), m_size(size) {}

    int m_fd = -1;
    bool m_owned = false;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
};

// Lines of a text file: each ends at LF, one CR before it is removed. A final line without
// LF counts; an empty file has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// The standard message for a file that cannot be opened (GBK).
std::string FileOpenErrorMessage(std::string_view gbkPath);

}  // namespace quarrant
