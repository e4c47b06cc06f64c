#pragma once

// A project loaded by quarrant-cli as start-up loads it: drawings coloured from COLOR.ini of
// the program folder, every message of loading on standard error.

#include <cstdio>
#include <memory>
#include <string>

#include "app/cli/CliContext.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "project/ProjectManager.h"

namespace quarrant::cli {

// Passes messages on to standard error (UTF-8) as they come.
class ErrorStreamSink final : public MessageSink {
public:
    explicit ErrorStreamSink(const CliContext& context) : m_context(context) {}
    void Show(const std::string& gbkText) override {
        std::fprintf(m_context.err, "%s\n", GbkToUtf8(gbkText).c_str());
    }

private:
    const CliContext& m_context;
};

struct CliProject {
    explicit CliProject(const CliContext& context) : messages(context), manager(messages) {}
    ErrorStreamSink messages;
    ProjectManager manager;
    std::unique_ptr<Project> project;
};

// Loads the project folder (UTF-8, as typed; final separators dropped) into loaded.project.
// kExitOk, or kExitFailed after printing why.
int LoadCliProject(const CliContext& context, const std::string& folderUtf8, CliProject& loaded);

}  // namespace quarrant::cli
