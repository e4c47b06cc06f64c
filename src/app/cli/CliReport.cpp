#include "app/cli/CliContext.h"

namespace quarrant::cli {

// Not built yet: answers with the usage text.
int RunReport(CliContext& context) {
    return Usage(context, "report ...");
}

}  // namespace quarrant::cli
