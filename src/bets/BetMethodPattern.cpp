#include "bets/BetMethodPattern.h"

#include "shoes/RecordTable.h"
#include "strategy/BaseStrategy.h"
#include "table/Big5.h"

namespace zavuv {

namespace {

std::vector<FieldDef> PatternFields() {
  return {{"Pattern", FieldType::String, BetMethodPattern::kPatternWidth, "形態"},
          {"Bet", FieldType::String, 1, "下注"}};
}

void NormaliseRow(ClientDataSet& table) {
  for (int f = 0; f < 2; ++f) {
    Value v = table.FieldValue(f);
    if (!IsNull(v)) table.SetFieldValue(f, BetMethodPattern::Normalise(AsString(v)));
  }
}

bool RowIsBlank(const ClientDataSet& table) {
  for (int f = 0; f < table.FieldCount(); ++f)
    if (!IsNull(table.FieldValue(f))) return false;
  return true;
}

const char* const kDefaultPatterns[][2] = {
    {"PPP", "B"},   {"BPPP", ""},  {"PPBP", "B"},  {"BBBP", "B"},  {"BBBBP", ""}, {"PBBPB", "B"},
    {"PBPBB", "B"}, {"BPPBP", "B"}, {"PPBBP", "B"}, {"PPPBP", "B"}, {"PPPBB", "B"}, {"PPPPB", "B"},
    {"BPPPP", "B"}, {"BPBPP", "B"}, {"PPBPB", "B"}, {"BPBPB", "P"}, {"BPPBB", "P"}, {"BPPPB", "P"},
    {"PBPBP", "P"}, {"PBBBB", "P"}, {"BBPBP", "P"}};

}  // namespace

// Any change of the table shown to a view makes the scan re-read it. During a run
// the table is detached from its views, and nothing edits it then.
class BetMethodPattern::Watcher : public TableObserver {
 public:
  explicit Watcher(bool& valid) : valid_(valid) {}
  void TableReset() override { valid_ = false; }
  void RowsInserted(int, int) override { valid_ = false; }
  void RowsRemoved(int, int) override { valid_ = false; }
  void RowChanged(int) override { valid_ = false; }
  void CursorMoved(int) override {}

 private:
  bool& valid_;
};

BetMethodPattern::BetMethodPattern()
    : Info(Utf8ToBig5("依大路(或所選的路)最後出現的形態下注, 下面的形態優先")), table_(PatternFields()) {
  table_.BeforePost = NormaliseRow;
  for (const auto& row : kDefaultPatterns) table_.AppendRow({std::string(row[0]), std::string(row[1])});
  table_.First();
  // Patterns are matched against the end of the road only, so a history that runs on
  // across shoes keeps a bounded tail of every road.
  history_.SetHistoryLimit(kHistoryKept);
  watcher_ = std::make_unique<Watcher>(rowsValid_);
  table_.AddObserver(watcher_.get());
}

BetMethodPattern::~BetMethodPattern() { table_.RemoveObserver(watcher_.get()); }

std::string BetMethodPattern::Normalise(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c == 'B' || c == 'P') out += c;
  }
  return out;
}

void BetMethodPattern::BuildRows() {
  rows_.clear();
  for (int r = 0; r < table_.RecordCount(); ++r) {
    std::string bet = AsString(table_.GetValue(r, 1));
    rows_.push_back({AsString(table_.GetValue(r, 0)), bet.empty() ? ' ' : bet[0]});
  }
  rowsValid_ = true;
}

void BetMethodPattern::Prepare() {
  if (!detached_) {
    table_.DisableControls();
    detached_ = true;
  }
  BuildRows();
  Restart();
}

void BetMethodPattern::Restart() { history_.SetResult({}); }

void BetMethodPattern::Finish() {
  if (detached_) {
    detached_ = false;
    table_.EnableControls();
  }
}

char BetMethodPattern::GetBet(BaseStrategy& strategy) {
  if (!rowsValid_) BuildRows();
  PubValue answer = getAnalysisRoad_(strategy, {PubValue(&history_)});
  std::string_view road = ResultText(answer);
  // Compared from the last entry back: most rows differ at once, so this is cheaper
  // than a comparison of the whole pattern.
  auto endsWith = [&road](const std::string& pattern) {
    if (pattern.size() > road.size()) return false;
    const char* end = road.data() + road.size();
    for (std::size_t i = 1; i <= pattern.size(); ++i)
      if (end[-static_cast<std::ptrdiff_t>(i)] != pattern[pattern.size() - i]) return false;
    return true;
  };
  int match = -1;
  for (int r = static_cast<int>(rows_.size()) - 1; r >= 0; --r) {
    if (endsWith(rows_[r].pattern)) {
      match = r;
      break;
    }
  }
  if (match < 0) {
    if (!table_.IsEmpty()) table_.First();
    return ' ';
  }
  table_.GotoRow(match);
  char bet = rows_[match].bet;
  if (bet == ' ') return ' ';
  return ResultChar(getPredict_(strategy, {PubValue(bet)}));
}

void BetMethodPattern::ReadBet(const std::string& path) {
  RecordTable records;
  records.LoadFromFile(path);
  ClientDataSet patterns(PatternFields());
  patterns.BeforePost = NormaliseRow;
  std::string info = Info;
  records.Rebuild(patterns, [&](const RecordTable& row) { info = AsString(row.FieldValue("Memo")); });
  // Everything was read: only now does the component take it over.
  if (table_.State() != DataSetState::Browse) table_.Cancel();
  table_.EmptyDataSet();
  for (int r = 0; r < patterns.RecordCount(); ++r)
    table_.AppendRow({patterns.GetValue(r, 0), patterns.GetValue(r, 1)});
  table_.First();
  Info = std::move(info);
  LastFileName = path;
  rowsValid_ = false;
}

void BetMethodPattern::SaveBet(const std::string& path) {
  if (table_.State() == DataSetState::Insert && RowIsBlank(table_)) table_.Cancel();
  else table_.Post();
  RecordTable records;
  records.AppendSetting("Info", "M", Info);
  records.AppendRecords(table_, {{"M", "Pattern"}, {"M", "Bet"}});
  records.SaveToFile(path);
  LastFileName = path;
}

const PublishedClass& BetMethodPattern::StaticClass() {
  static PublishedClass info("BetMethodPattern", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetMethodPattern>(info, true, true, true, true, false, true), true);
  (void)published;
  return info;
}

}  // namespace zavuv
