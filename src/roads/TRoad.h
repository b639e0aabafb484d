// The road model: every road the program knows, derived from one result string.
//
// The model is kept incrementally. AddResult appends one game with a bounded amount
// of work whatever the length of the history (column lengths, the three derived
// roads and every bead row already asked for are extended in place), and every
// answer equals what a computation from scratch over Result() would give.
// SetResult replaces the whole history. Road strings are handed out as views into
// the model, valid until the next change, so a caller can read the end of a long
// road without copying it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zavuv {

// A drawing of a road (the road sheet view) that the model asks to refresh itself.
class RoadSheet {
 public:
  virtual ~RoadSheet() = default;
  virtual void Refresh() = 0;
};

class TRoad {
 public:
  TRoad();
  ~TRoad();
  TRoad(const TRoad&) = delete;
  TRoad& operator=(const TRoad&) = delete;

  // Sheets drawing this model, in attach order, without duplicates.
  void AddSheet(RoadSheet* sheet);
  void RemoveSheet(RoadSheet* sheet);
  const std::vector<RoadSheet*>& Sheets() const { return sheets_; }
  // When on, every change asks each attached sheet to refresh, in attach order.
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool on) { autoRedraw_ = on; }

  // Replaces the history by the upper-cased text (ties included; empty is valid).
  void SetResult(std::string_view text);
  // Appends one game result (upper-cased) to the history.
  void AddResult(char result) {
    Append(result >= 'a' && result <= 'z' ? static_cast<char>(result - 'a' + 'A') : result);
    if (autoRedraw_) Redraw();
  }

  std::string_view Result() const { return View(result_); }
  std::string_view ResultNoTie() const { return View(resultNoTie_); }

  // A history that only ever reads the ends of its roads (a bet method that keeps its
  // history across millions of games) can bound what the model keeps: with a limit
  // of n, every road string, every bead row and the column lengths keep at least
  // their last n entries (and fewer than 3n), and those are exactly what an
  // unbounded model would hold at their end. Answers that need only the ends
  // (PredictFromDerived, a pattern matched against the end of a road of at most n
  // entries) are unchanged. A bead row first asked for after the front was let go
  // holds only the kept results (a bet method asks for its row from its first game
  // on). 0, the default, keeps everything. The limit applies from the next change on.
  void SetHistoryLimit(std::size_t entries) { limit_ = entries; }
  std::size_t HistoryLimit() const { return limit_; }

  // Big-road column lengths: ties skipped, a change of symbol opens a new column.
  const std::vector<std::int32_t>& GetColumns() const { return columns_; }

  // Derived road k (1 big eye boy, 2 small road, 3 cockroach road) as "B" (red) and
  // "P" (blue) entries; any other k gives an empty road.
  std::string_view GetDerivedRoad(int k) const;
  std::string_view GetBigEyeBoy() const { return GetDerivedRoad(1); }
  std::string_view GetSmallRoad() const { return GetDerivedRoad(2); }
  std::string_view GetCockroachRoad() const { return GetDerivedRoad(3); }

  // The result ("B" or "P") that would make derived road k show the colour ("B" red,
  // "P" blue) as its next entry; " " when the colour is " " or none can be named.
  char PredictFromDerived(int k, char colour) const;
  char PredictBigEyeBoy(char colour) const { return PredictFromDerived(1, colour); }
  char PredictSmallRoad(char colour) const { return PredictFromDerived(2, colour); }
  char PredictCockroachRoad(char colour) const { return PredictFromDerived(3, colour); }

  // The bead road for drawing: columns of n beads separated by "/".
  std::string GetBeadColumns(int n, bool ignoreTies) const;
  // The bead row in which the next bead falls, ties skipped, earliest first.
  // n below 1 is taken as 1.
  std::string_view GetBeadRow(int n, bool ignoreTies) const;

 private:
  struct BeadRows;
  // A road's entries. The roads grow by an entry a game for millions of games, so the
  // append must be the cheapest there is: a vector's, inlined.
  using Text = std::vector<char>;
  static std::string_view View(const Text& text) { return {text.data(), text.size()}; }
  void Reset();
  void Append(char c);
  void Redraw();
  BeadRows& Beads(int n, bool ignoreTies) const;
  void Trim();

  std::size_t limit_ = 0;
  std::size_t sinceTrim_ = 0;   // games since the roads were last trimmed
  // Results trimmed off the front of result_, and how many of them were not ties.
  std::size_t droppedResults_ = 0;
  std::size_t droppedNonTies_ = 0;

  std::vector<RoadSheet*> sheets_;
  bool autoRedraw_ = false;
  Text result_;
  Text resultNoTie_;
  std::vector<std::int32_t> columns_;
  Text derived_[3];
  // Bead rows by (n, ignoreTies), built on first request and then kept up to date.
  mutable std::map<std::pair<int, bool>, std::unique_ptr<BeadRows>> beads_;
};

}  // namespace zavuv
