// The settings of the three bead roads (珠路1 to 珠路3): beads per column, 1 to 20
// ("每行粒數", default 6), and whether ties are left out ("開和不計", default off).
// Read whenever a bead road is computed; the road model itself stores none of them.
// The main window owns one; its road sheets and its strategies read it.
#pragma once

#include <algorithm>

namespace zavuv {

struct RoadSettings {
  static constexpr int kMinBeads = 1;
  static constexpr int kMaxBeads = 20;

  int beads[3] = {6, 6, 6};
  bool ignoreTies[3] = {false, false, false};

  // Beads per column of bead road i (0 to 2), kept within 1 to 20.
  int Beads(int i) const { return std::clamp(beads[i], kMinBeads, kMaxBeads); }
  bool IgnoreTies(int i) const { return ignoreTies[i]; }
};

}  // namespace zavuv
