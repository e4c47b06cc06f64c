#include "app/cli/CliContext.h"

namespace quarrant::cli {

// Not built yet: answers with the usage text.
int RunPick(CliContext& context) { return Usage(context, "pick ..."); }

}  // namespace quarrant::cli
