#pragma once

// One loaded copy of a page plug-in (Ferrolet.so in the program folder): the library handle,
// with the four exports looked up by name whenever they are called. A library that lacks one
// of them is refused when it is loaded. Unloaded when destroyed (the system counts the loads
// of one file, so every page-hosting view loads and unloads its own).

#include <memory>
#include <string>
#include <string_view>

#include "base/Status.h"
#include "plugin/FerroletApi.h"

namespace quarrant {

class PlugInLibrary {
public:
    // Loads the library file (model path, GBK) and checks that it exports InitPage, SetCadData,
    // Tiqu and Clear. The message says why a file could not be loaded or was refused; a file
    // that does not exist is refused with an empty message.
    static Result<std::unique_ptr<PlugInLibrary>> Load(std::string_view gbkPath);

    ~PlugInLibrary();
    PlugInLibrary(const PlugInLibrary&) = delete;
    PlugInLibrary& operator=(const PlugInLibrary&) = delete;

    const std::string& Path() const { return m_path; }

    // The exports, looked up by name on every call.
    InitPageFunction InitPage() const;
    SetCadDataFunction SetCadData() const;
    TiquFunction Tiqu() const;
    ClearFunction Clear() const;

private:
    PlugInLibrary(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
    void* Symbol(const char* name) const;

    void* m_handle = nullptr;
    std::string m_path;
};

}  // namespace quarrant
