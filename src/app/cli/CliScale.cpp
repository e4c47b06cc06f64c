// quarrant-cli scale DXF: what the drawing's own dimensions say about its scale.

#include <cstdio>
#include <string>

#include "app/SettingsFiles.h"
#include "app/cli/CliContext.h"
#include "base/CNumbers.h"
#include "base/GbkText.h"
#include "cad/ColorTable.h"
#include "cad/LoadDxf.h"
#include "cad/ScaleCheck.h"

namespace quarrant::cli {

namespace {
constexpr const char* kScaleUsage = "scale DXF";
}  // namespace

// Imports the DXF file as adding a drawing does (the coordinate precision of Set.ini) and
// prints $INSUNITS, the median metres per drawing unit, the agreeing and the usable dimensions.
int RunScale(CliContext& context) {
    if (context.args.size() != 1) {
        return Usage(context, kScaleUsage);
    }
    // The colours play no part in the check: a program folder without COLOR.ini still works.
    std::shared_ptr<const CCadColorTable> colorTable =
        LoadColorTable(context.programFolder).ValueOr(nullptr);
    // Without a readable Set.ini the default precision applies.
    Settings settings;
    settings.programFolder = context.programFolder;
    static_cast<void>(ReadSetIni(settings));

    std::string messages;
    CCadFile file;
    if (LoadDxf(file, Utf8ToGbk(context.args[0]), colorTable,
                static_cast<double>(settings.coordinatePrecision),
                [&messages](const std::string& message) { messages += message + "\n"; }) != 0) {
        std::fputs(GbkToUtf8(messages).c_str(), context.err);
        return kExitFailed;
    }
    const CCadHeader& header = file.drawing->header;
    ScaleEstimate estimate = EstimateScale(*file.drawing);

    std::string line =
        header.insertionUnitsDeclared ? FormatInt(header.insertionUnits) : std::string("-");
    line += '\t';
    if (estimate.metresPerUnit) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.6g", *estimate.metresPerUnit);
        line += buffer;
    } else {
        line += '-';
    }
    line += '\t' + FormatInt(estimate.agreeing) + '\t' + FormatInt(estimate.usable) + '\n';
    std::fputs(line.c_str(), context.out);
    return kExitOk;
}

}  // namespace quarrant::cli
