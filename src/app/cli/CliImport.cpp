// quarrant-cli import DXF OUT: the import of the add-drawing dialog, written as a drawing file.

#include <string>
#include <vector>

#include "app/cli/CliContext.h"
#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "cad/ColorTable.h"
#include "cad/DrawingFile.h"
#include "cad/LoadDxf.h"

namespace quarrant::cli {
namespace {

constexpr const char* kImportUsage = "import [--home DIR] [--precision P] DXF OUT";

// The coordinate precision of Set.ini (line 1, atof, kept as a float); 1 when the file is
// missing.
float CoordinatePrecision(const std::string& programFolder) {
    Result<std::string> file = ReadWholeFile(JoinPath(programFolder, "Set.ini"));
    if (!file) {
        return 1.0f;
    }
    std::vector<std::string_view> lines = SplitLines(file.Value());
    return static_cast<float>(AtofC(lines.empty() ? std::string_view() : lines[0]));
}

void PrintMessages(const CliContext& context, const std::vector<std::string>& messages) {
    for (const std::string& message : messages) {
        std::fprintf(context.err, "%s\n", GbkToUtf8(message).c_str());
    }
}

}  // namespace

// Imports DXF (LoadDxf with its normalisation), writes the drawing to the drawing-file format
// and reads it back, as adding a drawing to a project does, and writes the result to OUT.
// Prints the entity count and the extents as stored.
int RunImport(CliContext& context) {
    std::vector<std::string> positional;
    bool precisionGiven = false;
    float precision = 1.0f;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--home" || arg == "--precision") {
            if (i + 1 >= context.args.size()) {
                return Usage(context, kImportUsage);
            }
            const std::string& value = context.args[++i];
            if (arg == "--home") {
                context.programFolder = Utf8ToGbk(value);
                while (context.programFolder.size() > 1 && (context.programFolder.back() == '/' ||
                                                            context.programFolder.back() == '\\')) {
                    context.programFolder.pop_back();
                }
            } else {
                precision = static_cast<float>(AtofC(value));
                precisionGiven = true;
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        return Usage(context, kImportUsage);
    }
    const std::string dxfPath = Utf8ToGbk(positional[0]);
    const std::string outPath = Utf8ToGbk(positional[1]);

    Result<std::shared_ptr<const CCadColorTable>> colors = LoadColorTable(context.programFolder);
    if (!colors) {
        return Failed(context, colors.Message());
    }
    const std::shared_ptr<const CCadColorTable>& colorTable = colors.Value();
    if (!precisionGiven) {
        precision = CoordinatePrecision(context.programFolder);
    }

    std::vector<std::string> messages;
    CCadFile file;
    if (LoadDxf(file, dxfPath, colorTable, static_cast<double>(precision),
                [&messages](const std::string& message) { messages.push_back(message); }) != 0) {
        PrintMessages(context, messages);
        return kExitFailed;
    }

    // The drawing reaches a project through its drawing file: written, then read back.
    CCadDrawing stored(colorTable);
    if (!ReadDrawingFile(stored, WriteDrawingFile(*file.drawing))) {
        return Failed(context, std::string(kDxfDecodeFailedMessage));
    }
    file.drawing.reset();
    if (Status written = WriteFileAtomically(outPath, WriteDrawingFile(stored)); !written) {
        return Failed(context, written.Message());
    }

    std::string line = FormatInt(static_cast<std::int64_t>(stored.entities.size()));
    for (double value : {stored.minX, stored.minY, stored.maxX, stored.maxY}) {
        line += '\t';
        AppendFixed(line, value, 4);
    }
    line += '\n';
    std::fputs(line.c_str(), context.out);
    return kExitOk;
}

}  // namespace quarrant::cli
