#include "app/cli/CliContext.h"

namespace quarrant::cli {

// Not built yet: answers with the usage text.
int RunEval(CliContext& context) { return Usage(context, "eval ..."); }

}  // namespace quarrant::cli
