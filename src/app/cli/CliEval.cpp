// quarrant-cli eval FORMULA: the main program's formula evaluation, one result line.

#include <cstdio>
#include <string>

#include "app/cli/CliContext.h"
#include "base/CNumbers.h"
#include "base/GbkText.h"
#include "quantity/FormulaEvaluator.h"

namespace quarrant::cli {

// Prints the code, a tab and, on code 0, the "%.3f" value. The formula is the one argument
// after "eval", taken as it is even when it begins with "-".
int RunEval(CliContext& context) {
    if (context.args.size() != 1) {
        return Usage(context, "eval FORMULA");
    }
    std::string valueText;
    int code = EvaluateFormula(Utf8ToGbk(context.args[0]), valueText);
    std::string line = FormatInt(code);
    line += '\t';
    if (code == 0) {
        line += valueText;  // ASCII digits only
    }
    line += '\n';
    if (std::fputs(line.c_str(), context.out) == EOF || std::fflush(context.out) != 0) {
        return kExitFailed;  // the line did not get out
    }
    return kExitOk;
}

}  // namespace quarrant::cli
