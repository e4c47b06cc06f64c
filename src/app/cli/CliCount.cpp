// quarrant-cli count DRAWINGFILE ID...: the count of repeated groups, as pick mode 0 hands it
// to the page. Also holds the steps that count and pick share (declared again in
// CliPick.cpp).

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/SettingsFiles.h"
#include "app/cli/CliContext.h"
#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "cad/CadSelection.h"
#include "cad/ColorTable.h"
#include "cad/DrawingFile.h"
#include "cad/PickText.h"

namespace quarrant::cli {

using CliOptions = std::vector<std::pair<std::string, std::string>>;

namespace {

constexpr const char* kCountUsage =
    "count [--coord-precision C] [--angle-precision A] DRAWINGFILE ID...";

// "图纸文件已损坏：" (the drawing file is damaged:) + path
constexpr const char* kDamagedDrawingText =
    "\xCD\xBC\xD6\xBD\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xBA";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number as typed: optional sign, digits with an optional point (at least one
// digit), optional exponent.
bool IsDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == text.size();
}

// An identifier argument: an optional "-" and decimal digits, within the range of int32.
bool ParseIdentifier(std::string_view text, std::int32_t* identifier) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    for (std::size_t k = i; k < text.size(); ++k) {
        if (!IsDigit(text[k])) {
            return false;
        }
    }
    std::size_t firstSignificant = i;
    while (firstSignificant + 1 < text.size() && text[firstSignificant] == '0') {
        ++firstSignificant;
    }
    std::string canonical(text.substr(firstSignificant));
    if (i == 1 && canonical != "0") {
        canonical.insert(canonical.begin(), '-');
    }
    const std::int32_t value = AtoiC(text);
    if (FormatInt(value) != canonical) {
        return false;  // beyond the range of int32
    }
    *identifier = value;
    return true;
}

}  // namespace

// Splits the arguments after the subcommand into positional ones and options. Every option
// takes one value; "--home DIR" sets the program folder; options not listed in valueOptions
// are usage errors. An argument of one "-" and digits (a negative identifier) is positional.
bool SplitArguments(CliContext& context, const std::vector<std::string>& valueOptions,
                    std::vector<std::string>* positional, CliOptions* options) {
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            positional->push_back(arg);
            continue;
        }
        const bool known = arg == "--home" || std::find(valueOptions.begin(), valueOptions.end(),
                                                        arg) != valueOptions.end();
        if (!known || i + 1 >= args.size()) {
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--home") {
            context.programFolder = Utf8ToGbk(value);
            while (context.programFolder.size() > 1 &&
                   (context.programFolder.back() == '/' || context.programFolder.back() == '\\')) {
                context.programFolder.pop_back();
            }
        } else {
            options->emplace_back(arg, value);
        }
    }
    return true;
}

// Reads the drawing file into a new drawing built with the colour table of the program folder.
// Without COLOR.ini the drawing gets an empty colour table: counts and lengths do not use
// colours. Prints the program's message and returns nullptr when the file cannot be read or
// is damaged.
std::unique_ptr<CCadDrawing> LoadDrawingForPick(const CliContext& context,
                                                const std::string& drawingPathUtf8) {
    const std::string path = Utf8ToGbk(drawingPathUtf8);
    Result<std::string> file = ReadWholeFile(path);
    if (!file) {
        Failed(context, file.Message());
        return nullptr;
    }
    std::shared_ptr<const CCadColorTable> colors =
        LoadColorTable(context.programFolder).ValueOr(nullptr);
    auto drawing = std::make_unique<CCadDrawing>(std::move(colors));
    if (!ReadDrawingFile(*drawing, file.Value())) {
        Failed(context, std::string(kDamagedDrawingText) + path);
        return nullptr;
    }
    return drawing;
}

// True when every argument from first on is an integer identifier.
bool AreIdentifierArguments(const std::vector<std::string>& arguments, std::size_t first) {
    for (std::size_t i = first; i < arguments.size(); ++i) {
        std::int32_t identifier = 0;
        if (!ParseIdentifier(arguments[i], &identifier)) {
            return false;
        }
    }
    return true;
}

// Selects the identifiers in order, as SelectById does (unknown ones are ignored, no duplicate
// check). False when an argument is not an integer identifier.
bool SelectIdentifierArguments(const std::vector<std::string>& arguments, std::size_t first,
                               const CCadDrawing& drawing, CCadSelection& selection) {
    std::vector<std::int32_t> identifiers;
    for (std::size_t i = first; i < arguments.size(); ++i) {
        std::int32_t identifier = 0;
        if (!ParseIdentifier(arguments[i], &identifier)) {
            return false;
        }
        identifiers.push_back(identifier);
    }
    for (std::int32_t identifier : identifiers) {
        selection.SelectById(drawing, identifier);
    }
    return true;
}

// True when the text is a number as the precision options take it.
bool IsNumberArgument(std::string_view text) {
    return IsDecimalNumber(text);
}

int RunCount(CliContext& context) {
    std::vector<std::string> positional;
    CliOptions options;
    if (!SplitArguments(context, {"--coord-precision", "--angle-precision"}, &positional,
                        &options) ||
        positional.empty()) {
        return Usage(context, kCountUsage);
    }
    // Validate everything before reading any file.
    for (const auto& [name, value] : options) {
        if (!IsDecimalNumber(value)) {
            return Usage(context, kCountUsage);
        }
    }
    if (!AreIdentifierArguments(positional, 1)) {
        return Usage(context, kCountUsage);
    }

    Settings settings;
    settings.programFolder = context.programFolder;
    if (Status read = ReadSetIni(settings); !read) {
        std::fprintf(context.err, "%s\n", GbkToUtf8(read.Message()).c_str());
    }
    for (const auto& [name, value] : options) {
        const float precision = static_cast<float>(AtofC(value));
        if (name == "--coord-precision") {
            settings.coordinatePrecision = precision;
        } else {
            settings.lineAnglePrecision = precision;
        }
    }

    std::unique_ptr<CCadDrawing> drawing = LoadDrawingForPick(context, positional[0]);
    if (!drawing) {
        return kExitFailed;
    }
    CCadSelection selection;
    SelectIdentifierArguments(positional, 1, *drawing, selection);
    CExclusionMap exclusionMap;
    const std::string text = BuildCountText(*drawing, selection, settings.coordinatePrecision,
                                            settings.lineAnglePrecision, exclusionMap);
    std::fprintf(context.out, "%s\n", GbkToUtf8(text).c_str());
    return kExitOk;
}

}  // namespace quarrant::cli
