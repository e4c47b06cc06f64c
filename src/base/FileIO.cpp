#include "base/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/GbkText.h"

namespace quarrant {

std::filesystem::path FsPath(std::string_view gbkPath) {
    std::string utf8 = GbkToUtf8(gbkPath);
    for (char& c : utf8) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::filesystem::path(utf8);
}

std::string ModelPath(const std::filesystem::path& path) {
    return Utf8ToGbk(path.string());
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    joined += '/';
    joined += name;
    return joined;
}

std::string_view LastPathComponent(std::string_view path) {
    // Walk character by character: the second byte of a GBK character may be 0x5C ("\"),
    // which must not be taken for a separator.
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < path.size()) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (byte == '/' || byte == '\\') {
            start = i + 1;
            ++i;
        } else if (byte >= 0x81 && byte <= 0xFE && i + 1 < path.size()) {
            auto next = static_cast<unsigned char>(path[i + 1]);
            i += (next >= 0x30 && next <= 0x39) ? 4 : 2;
        } else {
            ++i;
        }
    }
    return path.substr(start);
}

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return ModelPath(std::filesystem::current_path());
    }
    return ModelPath(exe.parent_path());
}

std::string FileOpenErrorMessage(std::string_view gbkPath) {
    // "无法打开文件" (cannot open the file), the framework's standard file-error wording.
    return std::string("\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE ") + std::string(gbkPath);
}

FileBytes ReadFileBytes(std::string_view gbkPath) {
    FileBytes file;
    const int fd = ::open(FsPath(gbkPath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return file;
    }
    file.opened = true;
    struct stat info {};
    // Only a regular file has a length to read up to.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return file;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    file.bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, file.bytes.data() + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    file.bytes.resize(done);
    file.complete = done == size;
    return file;
}

Result<std::string> ReadWholeFile(std::string_view gbkPath) {
    FileBytes file = ReadFileBytes(gbkPath);
    if (!file.complete) {
        return Status::Failure(FileOpenErrorMessage(gbkPath));
    }
    return std::move(file.bytes);
}

Status WriteFileAtomically(std::string_view gbkPath, std::string_view bytes) {
    AtomicFileWriter writer;
    if (Status opened = writer.Open(gbkPath); !opened) {
        return opened;
    }
    if (Status written = writer.Write(bytes); !written) {
        return written;
    }
    return writer.Commit(true);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_temp.empty() && !m_committed) {
        ::unlink(m_temp.c_str());
    }
}

Status AtomicFileWriter::Fail(const std::string& reason) {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty() && !m_committed) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    // "保存文件失败：" (saving the file failed) + path + reason
    return Status::Failure(std::string("\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA3\xBA") +
                           m_gbkPath + " (" + reason + ")");
}

Status AtomicFileWriter::Open(std::string_view gbkPath) {
    static std::atomic<unsigned> serial{0};
    m_gbkPath = std::string(gbkPath);
    m_target = FsPath(gbkPath);
    m_temp = m_target;
    m_temp += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    m_fd = ::open(m_temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        int saved = errno;
        m_temp.clear();
        return Fail(std::strerror(saved));
    }
    return Status();
}

Status AtomicFileWriter::Write(std::string_view bytes) {
    if (m_fd < 0 || m_committed) {
        return Fail(std::strerror(EBADF));
    }
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(std::strerror(errno));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return Status();
}

Status AtomicFileWriter::Append(int fd) {
    if (m_fd < 0 || m_committed) {
        return Fail(std::strerror(EBADF));
    }
    // In the kernel where it can; otherwise through a buffer.
    loff_t from = 0;
    for (;;) {
        ssize_t n = ::copy_file_range(fd, &from, m_fd, nullptr, std::size_t{1} << 30, 0);
        if (n == 0) {
            return Status();
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
    }
    if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL) {
        return Fail(std::strerror(errno));
    }
    std::unique_ptr<char[]> buffer(new char[std::size_t{1} << 20]);
    for (;;) {
        ssize_t n = ::pread(fd, buffer.get(), std::size_t{1} << 20, from);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return Fail(std::strerror(errno));
        }
        if (n == 0) {
            return Status();
        }
        from += n;
        if (Status written = Write(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
            !written) {
            return written;
        }
    }
}

Status AtomicFileWriter::Commit(bool durable) {
    if (m_fd < 0 || m_committed) {
        return Fail(std::strerror(EBADF));
    }
    if (durable && ::fsync(m_fd) != 0) {
        return Fail(std::strerror(errno));
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        return Fail(std::strerror(errno));
    }
    m_committed = true;
    return Status();
}

Result<std::unique_ptr<FileSource>> FileSource::Open(std::string_view gbkPath) {
    int fd = ::open(FsPath(gbkPath).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return Status::Failure(FileOpenErrorMessage(gbkPath));
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<FileSource>(
        new FileSource(fd, true, static_cast<std::size_t>(info.st_size)));
}

Result<std::unique_ptr<FileSource>> FileSource::FromDescriptor(int fd, std::string_view gbkPath) {
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        return Status::Failure(FileOpenErrorMessage(gbkPath));
    }
    return std::unique_ptr<FileSource>(
        new FileSource(fd, false, static_cast<std::size_t>(info.st_size)));
}

std::unique_ptr<FileSource> FileSource::From(std::size_t offset) const {
    auto part = std::unique_ptr<FileSource>(new FileSource(m_fd, false, m_size));
    part->m_offset = offset;
    return part;
}

FileSource::~FileSource() {
    if (m_owned && m_fd >= 0) {
        ::close(m_fd);
    }
}

std::ptrdiff_t FileSource::Read(char* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = ::pread(m_fd, buffer, size, static_cast<off_t>(m_offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n > 0) {
            m_offset += static_cast<std::size_t>(n);
        }
        return n;
    }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (end != std::string_view::npos && stop > start && text[stop - 1] == '\r') {
            --stop;
        }
        lines.push_back(text.substr(start, stop - start));
        start = next;
    }
    return lines;
}

}  // namespace quarrant
