// quarrant-cli report PROJECTFOLDER TABLE: a report table of a project, built as the report
// window builds it, printed as tab-separated lines or written as CSV or an Excel workbook.

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/CliContext.h"
#include "app/cli/CliProject.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "cad/ColorTable.h"
#include "controls/GridModel.h"
#include "project/ProjectManager.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportExport.h"

namespace quarrant::cli {

using CliOptions = std::vector<std::pair<std::string, std::string>>;

// Shared with count, defined in CliCount.cpp.
bool SplitArguments(CliContext& context, const std::vector<std::string>& valueOptions,
                    std::vector<std::string>* positional, CliOptions* options);

namespace {

constexpr const char* kReportUsage =
    "report [--name NAME] [--csv FILE] [--xlsx FILE] PROJECTFOLDER summary|detail|material";

const char* ReportTitleOf(const std::string& table) {
    if (table == "summary") {
        return kSummaryTableTitle;
    }
    if (table == "detail") {
        return kDetailTableTitle;
    }
    if (table == "material") {
        return kMaterialTableTitle;
    }
    return nullptr;
}

}  // namespace

int RunReport(CliContext& context) {
    std::vector<std::string> positional;
    CliOptions options;
    if (!SplitArguments(context, {"--name", "--csv", "--xlsx"}, &positional, &options) ||
        positional.size() != 2) {
        return Usage(context, kReportUsage);
    }
    const char* title = ReportTitleOf(positional[1]);
    if (title == nullptr) {
        return Usage(context, kReportUsage);
    }
    const std::string* name = nullptr;
    std::vector<std::string> csvFiles;
    std::vector<std::string> xlsxFiles;
    std::string nameGbk;
    for (const auto& [option, value] : options) {
        if (option == "--name") {
            nameGbk = Utf8ToGbk(value);
            name = &nameGbk;
        } else if (option == "--csv") {
            csvFiles.push_back(Utf8ToGbk(value));
        } else {
            xlsxFiles.push_back(Utf8ToGbk(value));
        }
    }

    CliProject loaded(context);
    if (int status = LoadCliProject(context, positional[0], loaded); status != kExitOk) {
        return status;
    }
    Project* project = loaded.project.get();

    GridModel grid;
    std::atomic<int> total{0};
    std::atomic<int> done{0};
    ProgressSteps progress(total, done);
    ReportBuilder builder(project->dataTable, ReportKindOf(title));
    total = builder.ProgressTotal();
    if (name != nullptr) {
        builder.FilteredRebuild(grid, *name, progress);
    } else {
        builder.InitialBuild(grid, progress);
    }

    for (const std::string& file : csvFiles) {
        Status written = WriteFileAtomically(file, ReportCsv(grid));
        if (!written) {
            return Failed(context, written.Message());
        }
    }
    for (const std::string& file : xlsxFiles) {
        Status written = WriteReportXlsx(grid, title, file);
        if (!written) {
            return Failed(context, written.Message());
        }
    }
    if (csvFiles.empty() && xlsxFiles.empty()) {
        const std::string text = GbkToUtf8(ReportTabText(grid));
        std::fwrite(text.data(), 1, text.size(), context.out);
    }
    return kExitOk;
}

}  // namespace quarrant::cli
