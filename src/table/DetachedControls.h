// Detaches a table's views for a scope ("the grid stays still while the run walks
// the rows") and re-attaches them however the scope ends.
#pragma once

#include "table/Table.h"

namespace zavuv {

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
