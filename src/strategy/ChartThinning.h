// Keeps the points of a chart line bounded however long the run.
//
// Up to kCap points every point is kept (Positions stays empty: point i stands at
// x = i). Beyond that the line is thinned by buckets: the x axis is cut into buckets
// of w positions (w a power of two, buckets starting at x = 0), and each bucket keeps
// its first, lowest, highest and last point, in x order, without repeats. w is the
// smallest power of two that brings the line back to at most kCap / 2 points, so a
// thinned line has between kCap / 16 and kCap / 8 buckets (16,384 to 32,768), at
// least four buckets for every pixel column of any screen.
//
// Why the picture does not change: drawn at a width at which every pixel column
// covers whole buckets, a column of the full line spans exactly from the lowest to
// the highest value of its points and enters and leaves it at its first and last
// point; those four are among the points kept (the first, lowest, highest and last
// of a run of buckets are among the buckets' own), so the thinned line covers the
// same pixels. Where a column boundary cuts through a bucket, the bucket is at most
// a quarter of a pixel wide. Thinning again at twice the width only drops points:
// the kept points of two buckets contain the kept points of their union, so the
// result equals a single thinning of the full line at the final width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zavuv {

template <class T>
class ChartThinning {
 public:
  static constexpr std::size_t kCap = std::size_t{1} << 18;
  static constexpr std::size_t kReserveFrom = std::size_t{1} << 12;

  // Called after every append: thins the line once it reaches kCap points.
  void AfterAppend(std::vector<T>& values, std::vector<std::int64_t>& positions) {
    ++count_;
    if (!positions.empty()) positions.push_back(count_ - 1);
    if (values.size() < kCap) {
      // A long line takes its whole room at once rather than doubling its way up to
      // kCap (each doubling copies the line into fresh pages); a shoe's line of a
      // hundred points never gets here.
      if (values.size() == values.capacity() && values.size() >= kReserveFrom) values.reserve(kCap);
      return;
    }
    if (positions.empty()) {
      positions.resize(values.size());
      for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = static_cast<std::int64_t>(i);
    }
    // The smallest width that leaves at most kCap / 2 points (four per bucket).
    while (4 * (static_cast<std::size_t>(count_) / width_ + 1) > kCap / 2) width_ *= 2;
    Thin(values, positions);
  }

  // Thins the points appended since the last thinning at the present width, so the
  // whole line is thinned alike (a line that never reached kCap is left as it is).
  void Finish(std::vector<T>& values, std::vector<std::int64_t>& positions) {
    if (!positions.empty()) Thin(values, positions);
  }

  void Reset() {
    count_ = 0;
    width_ = 1;
  }

  // Points appended since the last Reset, and the bucket width (1: not thinned).
  std::int64_t Count() const { return count_; }
  std::int64_t Width() const { return width_; }

 private:
  void Thin(std::vector<T>& values, std::vector<std::int64_t>& positions) {
    std::size_t out = 0;
    std::size_t i = 0;
    const std::size_t n = values.size();
    while (i < n) {
      const std::int64_t bucket = positions[i] / width_;
      std::size_t first = i, low = i, high = i, last = i;
      for (++i; i < n && positions[i] / width_ == bucket; ++i) {
        if (values[i] < values[low]) low = i;
        if (values[i] > values[high]) high = i;
        last = i;
      }
      std::size_t keep[4] = {first, low < high ? low : high, low < high ? high : low, last};
      std::size_t previous = n;
      for (std::size_t k : keep) {
        if (k == previous) continue;
        values[out] = values[k];
        positions[out] = positions[k];
        ++out;
        previous = k;
      }
    }
    values.resize(out);
    positions.resize(out);
  }

  std::int64_t count_ = 0;
  std::int64_t width_ = 1;
};

}  // namespace zavuv
