#include "cli/Commands.h"

namespace zavuv::cli {

int RunBacktest(const Args&) { throw CliError("backtest is not built yet"); }

}  // namespace zavuv::cli
