#include "quantity/widgets/PlugInLibrary.h"

#include <dlfcn.h>

#include <filesystem>

#include "base/FileIO.h"

namespace quarrant {

namespace {

constexpr const char* kPlugInText = "\xB2\xE5\xBC\xFE\x20";  // "插件 "
// " 缺少导出函数 "
constexpr const char* kMissingExportText =
    "\x20\xC8\xB1\xC9\xD9\xB5\xBC\xB3\xF6\xBA\xAF\xCA\xFD\x20";
// "，不能加载。"
constexpr const char* kRefusedText = "\xA3\xAC\xB2\xBB\xC4\xDC\xBC\xD3\xD4\xD8\xA1\xA3";
// " 不能加载："
constexpr const char* kNotLoadableText = "\x20\xB2\xBB\xC4\xDC\xBC\xD3\xD4\xD8\xA3\xBA";

}  // namespace

Result<std::unique_ptr<PlugInLibrary>> PlugInLibrary::Load(std::string_view gbkPath) {
    const std::filesystem::path file = FsPath(gbkPath);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return Status::Failure({});
    }
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        return Status::Failure(kPlugInText + std::string(gbkPath) + kNotLoadableText +
                               (why != nullptr ? why : ""));
    }
    std::unique_ptr<PlugInLibrary> library(new PlugInLibrary(handle, std::string(gbkPath)));
    for (const char* name : {kInitPageExport, kSetCadDataExport, kTiquExport, kClearExport}) {
        if (library->Symbol(name) == nullptr) {
            return Status::Failure(kPlugInText + std::string(gbkPath) + kMissingExportText + name +
                                   kRefusedText);
        }
    }
    return library;
}

PlugInLibrary::~PlugInLibrary() {
    if (m_handle != nullptr) {
        dlclose(m_handle);
    }
}

void* PlugInLibrary::Symbol(const char* name) const {
    return dlsym(m_handle, name);
}

InitPageFunction PlugInLibrary::InitPage() const {
    return reinterpret_cast<InitPageFunction>(Symbol(kInitPageExport));
}

SetCadDataFunction PlugInLibrary::SetCadData() const {
    return reinterpret_cast<SetCadDataFunction>(Symbol(kSetCadDataExport));
}

TiquFunction PlugInLibrary::Tiqu() const {
    return reinterpret_cast<TiquFunction>(Symbol(kTiquExport));
}

ClearFunction PlugInLibrary::Clear() const {
    return reinterpret_cast<ClearFunction>(Symbol(kClearExport));
}

}  // namespace quarrant
