// The commands of zavuv-cli. Each takes the arguments after its name, prints JSON
// (UTF-8) on standard output and returns the exit status; errors are thrown as
// CliError or any std::exception and reported by main on standard error.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugins/PlugInRegistry.h"

namespace zavuv {
class Continuous;
struct Fairness;
struct PagesVerdict;
struct RiskResult;
struct Verdict;
}

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
int RunPlugIns(const Args& args);
int RunRisk(const Args& args);

// Loads the plug-in modules of a folder into the registry; a module that the
// program would report ("no plugintype", another interface version) is reported
// on standard error.
std::vector<PlugInScanEntry> LoadPlugIns(PlugInRegistry& registry, const std::string& folder,
                                         const std::string& command);

// A run table as JSON: [[Con, Times, Above], ...].
nlohmann::ordered_json RunsJson(const Continuous& runs);

// The judging figures as JSON (ratios as fractions; what cannot be computed is null).
nlohmann::ordered_json VerdictJson(const Verdict& verdict);
nlohmann::ordered_json PagesJson(const PagesVerdict& pages);
nlohmann::ordered_json FairnessJson(const Fairness& fairness);
nlohmann::ordered_json RiskJson(const RiskResult& risk);

}  // namespace zavuv::cli
