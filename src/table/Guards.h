// Scoped guards of the walks over a table: a flag set for the length of a scope, and
// the table's views detached for it ("the grid stays still while the run walks the
// rows"). Both put things back as they were however the scope ends, errors included.
#pragma once

#include "table/Table.h"

namespace zavuv {

class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = old_; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
  bool old_;
};

class DetachedControls {
 public:
  explicit DetachedControls(Table& table) : table_(table) { table_.DisableControls(); }
  ~DetachedControls() { table_.EnableControls(); }
  DetachedControls(const DetachedControls&) = delete;
  DetachedControls& operator=(const DetachedControls&) = delete;

 private:
  Table& table_;
};

}  // namespace zavuv
