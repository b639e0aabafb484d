// A run table: fed one game at a time with "it happened" or "it did not", it counts
// the runs of consecutive games in which it happened, and shows for every run length
// that occurred how many runs had that length (Times) and how many were longer
// (Above). Games that are neither are simply not fed.
#pragma once

#include <cstdint>
#include <vector>

#include "table/ClientDataSet.h"

namespace zavuv {

class Continuous {
 public:
  Continuous();

  // Empties the counts and the table; no run in progress.
  void Clear();
  // true: the run in progress grows by one game; false: it is counted and ended.
  void Add(bool happened);
  // Counts one completed run of the given length (at least 1).
  void AddRun(std::int32_t length);
  // Counts the run in progress and appends the rows (Con, Times, Above) to the table.
  void ShowTable();

  const std::vector<std::int32_t>& RunCounts() const { return runCounts_; }
  std::int32_t CurrentRun() const { return currentRun_; }
  // The rows: Con "局數", Times "次數", Above "以上", ascending by Con.
  ClientDataSet& Table() { return table_; }
  const ClientDataSet& Table() const { return table_; }

 private:
  std::vector<std::int32_t> runCounts_;
  std::int32_t currentRun_ = 0;
  ClientDataSet table_;
};

}  // namespace zavuv
