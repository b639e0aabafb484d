// The commands of zavuv-cli. Each takes the arguments after its name, prints JSON
// (UTF-8) on standard output and returns the exit status; errors are thrown as
// CliError or any std::exception and reported by main on standard error.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace zavuv::cli {

using Args = std::vector<std::string>;

class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int RunRoads(const Args& args);
int RunStats(const Args& args);
int RunConvert(const Args& args);
int RunDeal(const Args& args);
int RunBacktest(const Args& args);

}  // namespace zavuv::cli
