// What a strategy reads from the main window: the shoe table (the current shoe's
// name and whether it is being edited), the two road models and the bead road
// settings. The main window fills one and hands it to every strategy; the
// command-line tool and the tests make their own. Any pointer may be null: the
// strategy then works without that part (no shoe name, its own analysis road,
// default bead settings).
#pragma once

namespace zavuv {

class ShoesData;
class TRoad;
struct RoadSettings;

struct StrategyHost {
  ShoesData* Shoes = nullptr;
  TRoad* DisplayRoad = nullptr;    // always holds the current shoe
  TRoad* AnalysisRoad = nullptr;   // refilled by GetAnalysisRoad for plug-ins
  RoadSettings* Roads = nullptr;
};

}  // namespace zavuv
