#include "app/cli/CliContext.h"

namespace quarrant::cli {

// Not built yet: answers with the usage text.
int RunCount(CliContext& context) { return Usage(context, "count ..."); }

}  // namespace quarrant::cli
