#include "stats/Continuous.h"

#include <stdexcept>
#include <string>

namespace zavuv {

Continuous::Continuous()
    : table_({{"Con", FieldType::Integer, 0, "局數"},
              {"Times", FieldType::Integer, 0, "次數"},
              {"Above", FieldType::Integer, 0, "以上"}}) {}

void Continuous::Clear() {
  runCounts_.clear();
  currentRun_ = 0;
  table_.EmptyDataSet();
}

void Continuous::Add(bool happened) {
  if (happened) {
    ++currentRun_;
  } else if (currentRun_ != 0) {
    AddRun(currentRun_);
    currentRun_ = 0;
  }
}

void Continuous::AddRun(std::int32_t length) {
  if (length < 1) throw std::invalid_argument("連續局數必須至少為 1: " + std::to_string(length));
  if (runCounts_.size() < static_cast<std::size_t>(length)) runCounts_.resize(length, 0);
  ++runCounts_[length - 1];
}

void Continuous::ShowTable() {
  // The run still going at the end of the data counts as a completed run. The run
  // in progress itself is left as it is: every caller clears before counting again.
  if (currentRun_ != 0) AddRun(currentRun_);

  // Above of a length is the number of runs longer than it: a suffix sum over the
  // counts, walked from the longest run down.
  std::vector<std::int32_t> above(runCounts_.size(), 0);
  std::int32_t longer = 0;
  for (std::size_t i = runCounts_.size(); i-- > 0;) {
    above[i] = longer;
    longer += runCounts_[i];
  }

  table_.DisableControls();
  try {
    for (std::size_t i = 0; i < runCounts_.size(); ++i) {
      if (runCounts_[i] == 0) continue;
      table_.AppendRow({static_cast<std::int32_t>(i + 1), runCounts_[i], above[i]});
    }
    table_.First();
  } catch (...) {
    table_.EnableControls();
    throw;
  }
  table_.EnableControls();
}

}  // namespace zavuv
