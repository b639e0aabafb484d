// The settings of the three bead roads (珠路1 to 珠路3): beads per column, 1 to 20,
// and whether ties are left out. Read whenever a bead road is computed; the road
// model itself stores none of them.
#pragma once

namespace zavuv {

struct RoadSettings {
  int beads[3] = {6, 6, 6};
  bool ignoreTies[3] = {false, false, false};
};

}  // namespace zavuv
