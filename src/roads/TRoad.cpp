#include "roads/TRoad.h"

#include <algorithm>

namespace zavuv {

namespace {

// Drops the front of a road once it holds twice the limit, so that trimming costs
// O(1) per appended entry, amortised.
// Returns the number of entries dropped.
template <class Seq>
std::size_t TrimFront(Seq& seq, std::size_t limit) {
  if (limit == 0 || seq.size() < 2 * limit) return 0;
  const std::size_t dropped = seq.size() - limit;
  seq.erase(seq.begin(), seq.begin() + static_cast<std::ptrdiff_t>(dropped));
  return dropped;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// The rows of one bead road of height n: row r holds the beads at the positions p
// (counted from 1 in the text the road reads) with (p - 1) mod n = r, ties left out.
// Rows are created as positions reach them, so a huge n costs no more than the text.
struct TRoad::BeadRows {
  int n;
  bool ignoreTies;
  std::size_t length = 0;  // characters of the text read so far
  std::vector<Text> rows;

  void Add(char c) {
    if (c == 'T' && ignoreTies) return;
    const std::size_t row = length++ % static_cast<std::size_t>(n);
    if (c == 'T') return;
    if (row >= rows.size()) rows.resize(row + 1);
    rows[row].push_back(c);
  }
  // The row in which the next bead falls.
  std::string_view Next() const {
    const std::size_t row = length % static_cast<std::size_t>(n);
    return row < rows.size() ? View(rows[row]) : std::string_view();
  }
  void Clear() {
    length = 0;
    rows.clear();
  }
  void Trim(std::size_t limit) {
    for (Text& row : rows) TrimFront(row, limit);
  }
};

TRoad::TRoad() = default;
TRoad::~TRoad() = default;

void TRoad::AddSheet(RoadSheet* sheet) {
  if (sheet && std::find(sheets_.begin(), sheets_.end(), sheet) == sheets_.end())
    sheets_.push_back(sheet);
}

void TRoad::RemoveSheet(RoadSheet* sheet) {
  auto it = std::find(sheets_.begin(), sheets_.end(), sheet);
  if (it != sheets_.end()) sheets_.erase(it);
}

void TRoad::Redraw() {
  // A sheet may attach or detach sheets while it refreshes; walk a snapshot.
  const std::vector<RoadSheet*> sheets = sheets_;
  for (RoadSheet* sheet : sheets) sheet->Refresh();
}

void TRoad::SetResult(std::string_view text) {
  // A text that only extends the present history (the usual case while a shoe is
  // analysed game by game) is appended; anything else rebuilds from the start.
  // A trimmed history cannot be compared with the text: it is rebuilt.
  bool extends = droppedResults_ == 0 && text.size() >= result_.size();
  for (std::size_t i = 0; extends && i < result_.size(); ++i) extends = Upper(text[i]) == result_[i];
  if (!extends) Reset();
  for (std::size_t i = extends ? result_.size() : 0; i < text.size(); ++i) Append(Upper(text[i]));
  if (autoRedraw_) Redraw();
}

void TRoad::Reset() {
  droppedResults_ = droppedNonTies_ = 0;
  sinceTrim_ = 0;
  result_.clear();
  resultNoTie_.clear();
  columns_.clear();
  for (Text& road : derived_) road.clear();
  for (auto& [key, beads] : beads_) beads->Clear();
}

// Extends every road by one game. Derived road k gains an entry when a column at
// least k + 1 columns from the left grows past row 1 or is closed by a new column:
// row r of column j is blue only when column j - k ends exactly at row r - 1, and
// row 1 of a new column is red when the two columns before it match.
void TRoad::Append(char c) {
  result_.push_back(c);
  for (auto& [key, beads] : beads_) beads->Add(c);
  // Every road grows by at most one entry per game, so looking every limit games
  // keeps each below three times the limit.
  if (limit_ > 0 && ++sinceTrim_ >= limit_) {
    sinceTrim_ = 0;
    Trim();
  }
  if (c == 'T') return;

  const bool same = !resultNoTie_.empty() && resultNoTie_.back() == c;
  resultNoTie_.push_back(c);
  const std::size_t m = columns_.size();
  if (same) {
    const std::int32_t length = ++columns_.back();
    for (std::size_t k = 1; k <= 3 && k + 1 <= m; ++k)
      derived_[k - 1].push_back(columns_[m - 1 - k] == length - 1 ? 'P' : 'B');
  } else {
    for (std::size_t k = 1; k <= 3 && k + 1 <= m; ++k)
      derived_[k - 1].push_back(columns_[m - 1] == columns_[m - 1 - k] ? 'B' : 'P');
    columns_.push_back(1);
  }
}

void TRoad::Trim() {
  if (result_.size() >= 2 * limit_) {
    const std::size_t drop = result_.size() - limit_;
    const auto ties = static_cast<std::size_t>(std::count(result_.begin(), result_.begin() + static_cast<std::ptrdiff_t>(drop), 'T'));
    droppedResults_ += drop;
    droppedNonTies_ += drop - ties;
    result_.erase(result_.begin(), result_.begin() + static_cast<std::ptrdiff_t>(drop));
  }
  TrimFront(resultNoTie_, limit_);
  // The derived roads look back at most four columns.
  TrimFront(columns_, std::max<std::size_t>(limit_, 4));
  for (Text& road : derived_) TrimFront(road, limit_);
  for (auto& [key, beads] : beads_) beads->Trim(limit_);
}

std::string_view TRoad::GetDerivedRoad(int k) const {
  if (k < 1 || k > 3) return {};
  return View(derived_[k - 1]);
}

char TRoad::PredictFromDerived(int k, char colour) const {
  if (colour != 'B' && colour != 'P') return ' ';
  if (k < 1 || k > 3 || columns_.size() < static_cast<std::size_t>(k) + 1) return ' ';
  const char last = resultNoTie_.back();
  const std::size_t m = columns_.size();
  const bool even = columns_[m - 1] == columns_[m - 1 - k];
  if (even != (colour == 'P')) return last == 'B' ? 'P' : 'B';
  return last;
}

std::string TRoad::GetBeadColumns(int n, bool ignoreTies) const {
  const std::size_t height = static_cast<std::size_t>(std::max(n, 1));
  const Text& text = ignoreTies ? resultNoTie_ : result_;
  std::string columns;
  columns.reserve(text.size() + text.size() / height);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && i % height == 0) columns += '/';
    columns += text[i];
  }
  return columns;
}

TRoad::BeadRows& TRoad::Beads(int n, bool ignoreTies) const {
  n = std::max(n, 1);
  auto& beads = beads_[{n, ignoreTies}];
  if (!beads) {
    beads = std::make_unique<BeadRows>(BeadRows{n, ignoreTies});
    // Over a trimmed history the rows start where the kept text starts.
    beads->length = ignoreTies ? droppedNonTies_ : droppedResults_;
    for (char c : result_) beads->Add(c);
  }
  return *beads;
}

std::string_view TRoad::GetBeadRow(int n, bool ignoreTies) const {
  return Beads(n, ignoreTies).Next();
}

}  // namespace zavuv
