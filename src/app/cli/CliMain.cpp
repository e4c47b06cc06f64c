// quarrant-cli: the window-less batch companion of Quarrant.

#include <clocale>
#include <cstring>
#include <string>

#include "app/cli/CliContext.h"
#include "base/FileIO.h"
#include "base/GbkText.h"

namespace quarrant::cli {

int Usage(const CliContext& context, const char* text) {
    std::fprintf(context.err, "usage: quarrant-cli [--home DIR] %s\n", text);
    return kExitUsage;
}

int Failed(const CliContext& context, const std::string& gbkMessage) {
    std::fprintf(context.err, "%s\n", GbkToUtf8(gbkMessage).c_str());
    return kExitFailed;
}

}  // namespace quarrant::cli

int main(int argc, char** argv) {
    using namespace quarrant;
    using namespace quarrant::cli;
    std::setlocale(LC_ALL, "C");

    CliContext context;
    context.programFolder = ExecutableFolder();
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--home") == 0) {
        if (i + 1 >= argc) {
            return Usage(context, "eval|import|count|pick|scale|report|rows ...");
        }
        context.programFolder = Utf8ToGbk(argv[i + 1]);
        while (context.programFolder.size() > 1 &&
               (context.programFolder.back() == '/' || context.programFolder.back() == '\\')) {
            context.programFolder.pop_back();
        }
        i += 2;
    }
    if (i >= argc) {
        return Usage(context, "eval|import|count|pick|scale|report|rows ...");
    }
    std::string command = argv[i++];
    for (; i < argc; ++i) {
        context.args.emplace_back(argv[i]);
    }
    if (command == "eval") {
        return RunEval(context);
    }
    if (command == "import") {
        return RunImport(context);
    }
    if (command == "count") {
        return RunCount(context);
    }
    if (command == "pick") {
        return RunPick(context);
    }
    if (command == "scale") {
        return RunScale(context);
    }
    if (command == "report") {
        return RunReport(context);
    }
    if (command == "rows") {
        return RunRows(context);
    }
    return Usage(context, "eval|import|count|pick|scale|report|rows ...");
}
