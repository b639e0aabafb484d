// The generator behind every resampling and simulation of the judging: xoshiro256**
// seeded through splitmix64, with bounded draws by multiplication and rejection. Our
// own code, so the same seed gives the same figures on every platform.
#pragma once

#include <cstdint>

namespace zavuv {

class Random {
 public:
  explicit Random(std::uint64_t seed) {
    for (std::uint64_t& word : s_) {
      seed += 0x9E3779B97F4A7C15ull;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      word = z ^ (z >> 31);
    }
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  // Uniform in [0, bound); bound at least 1 and below 2^32.
  std::uint32_t Below(std::uint32_t bound) {
    std::uint64_t m = (Next() >> 32) * bound;
    auto low = static_cast<std::uint32_t>(m);
    if (low < bound) {
      const std::uint32_t threshold = static_cast<std::uint32_t>(-bound) % bound;
      while (low < threshold) {
        m = (Next() >> 32) * bound;
        low = static_cast<std::uint32_t>(m);
      }
    }
    return static_cast<std::uint32_t>(m >> 32);
  }

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t s_[4];
};

}  // namespace zavuv
