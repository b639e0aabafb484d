// The bead road settings of the road settings page: beads per column (1 to 20,
// default 6) and whether ties are left out, for each of the three bead roads. The
// main window owns one; the strategies read it whenever they compute a bead road.
#pragma once

#include <algorithm>

namespace zavuv {

struct RoadSettings {
  static constexpr int kMinBalls = 1;
  static constexpr int kMaxBalls = 20;

  int NoOfBall[3] = {6, 6, 6};                     // "每行粒數" of 珠路1, 珠路2, 珠路3
  bool BallRoadIgnoreTie[3] = {false, false, false};  // "開和不計"

  // Beads per column of bead road i (0 to 2), kept within 1 to 20.
  int Balls(int i) const { return std::clamp(NoOfBall[i], kMinBalls, kMaxBalls); }
  bool IgnoreTie(int i) const { return BallRoadIgnoreTie[i]; }
};

}  // namespace zavuv
