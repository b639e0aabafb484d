// Strategy set files: a JSON document with the bead road settings and the
// strategies (name, use, road, per-shoe restarts, bet method, bet amount method and
// additional setups). The command-line tool reads them; the window loads and saves
// them. The format is described in docs/strategy-files.md.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "roads/RoadSettings.h"
#include "strategy/Strategy.h"

namespace zavuv {

class StrategyPlugIns;

// A strategy file that cannot be read; the message names the place
// ("strategies[1].amount.kind: unknown kind \"foo\"").
class StrategyFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct StrategySet {
  RoadSettings Roads;
  std::vector<std::unique_ptr<Strategy>> Strategies;
};

// Reads a strategy set. The strategies are made with the given host and offer every
// plug-in module of the given ones, if any (a "plugin" entry names one by its
// caption); relative file names in it (.MED, .AMT) are taken from the strategy
// file's folder. Nothing is returned on an error.
StrategySet ReadStrategySet(const std::string& path, StrategyHost* host = nullptr,
                            const StrategyPlugIns* plugIns = nullptr);
// The same from the text of a document; `folder` is where relative file names start.
StrategySet ParseStrategySet(std::string_view text, const std::string& folder, StrategyHost* host = nullptr,
                             const StrategyPlugIns* plugIns = nullptr);

// Writes the settings and strategies (every table inline) as a strategy set, to a
// temporary file renamed into place.
void WriteStrategySet(const std::string& path, const RoadSettings& roads,
                      const std::vector<const Strategy*>& strategies);
std::string FormatStrategySet(const RoadSettings& roads, const std::vector<const Strategy*>& strategies);

}  // namespace zavuv
