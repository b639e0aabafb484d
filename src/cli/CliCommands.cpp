#include "cli/Commands.h"

namespace zavuv::cli {

int RunRoads(const Args&) { throw CliError("not built yet"); }
int RunStats(const Args&) { throw CliError("not built yet"); }
int RunConvert(const Args&) { throw CliError("not built yet"); }
int RunDeal(const Args&) { throw CliError("not built yet"); }

}  // namespace zavuv::cli
