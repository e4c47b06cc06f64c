#include "app/cli/CliContext.h"

namespace quarrant::cli {

// Not built yet: answers with the usage text.
int RunImport(CliContext& context) { return Usage(context, "import ..."); }

}  // namespace quarrant::cli
