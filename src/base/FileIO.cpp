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
    static std::atomic<unsigned> serial{0};
    std::filesystem::path target = FsPath(gbkPath);
    std::filesystem::path temp = target;
    temp += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial++);

    auto fail = [&](const char* what) {
        // "保存文件失败：" (saving the file failed) + path + reason
        return Status::Failure(
            std::string("\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA3\xBA") +
            std::string(gbkPath) + " (" + what + ")");
    };

    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(std::strerror(errno));
    }
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int saved = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return fail(std::strerror(saved));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int saved = errno;
        ::unlink(temp.c_str());
        return fail(std::strerror(saved));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int saved = errno;
        ::unlink(temp.c_str());
        return fail(std::strerror(saved));
    }
    return Status();
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
