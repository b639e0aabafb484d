#include "bets/BetMethodPattern.h"

#include <algorithm>

#include "contracts/BaseStrategy.h"
#include "shoes/RecordTable.h"
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
  baseline_ = Contents();
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
  tree_.assign(1, Node{});
  depth_ = 0;
  for (std::size_t r = 0; r < rows_.size() && !tree_.empty(); ++r) {
    const std::string& pattern = rows_[r].pattern;
    std::size_t node = 0;
    for (auto c = pattern.rbegin(); c != pattern.rend(); ++c) {
      if (*c != 'B' && *c != 'P') {
        tree_.clear();   // a letter the roads never hold: the rows are scanned instead
        break;
      }
      std::int32_t& next = tree_[node].next[*c == 'P'];
      if (next < 0) {
        next = static_cast<std::int32_t>(tree_.size());
        tree_.emplace_back();
      }
      node = static_cast<std::size_t>(tree_[node].next[*c == 'P']);
    }
    if (tree_.empty()) break;
    tree_[node].row = static_cast<std::int32_t>(r);
    depth_ = std::max(depth_, pattern.size());
  }
  rowsValid_ = true;
}

int BetMethodPattern::MatchRow(std::string_view road) const {
  if (tree_.empty()) {
    // Compared from the last entry back: most rows differ at once.
    auto endsWith = [&road](const std::string& pattern) {
      if (pattern.size() > road.size()) return false;
      const char* end = road.data() + road.size();
      for (std::size_t i = 1; i <= pattern.size(); ++i)
        if (end[-static_cast<std::ptrdiff_t>(i)] != pattern[pattern.size() - i]) return false;
      return true;
    };
    for (int r = static_cast<int>(rows_.size()) - 1; r >= 0; --r)
      if (endsWith(rows_[r].pattern)) return r;
    return -1;
  }
  const Node* node = tree_.data();
  int match = node->row;   // an empty pattern matches any road
  const std::size_t steps = std::min(depth_, road.size());
  const char* end = road.data() + road.size();
  for (std::size_t i = 1; i <= steps; ++i) {
    const char c = end[-static_cast<std::ptrdiff_t>(i)];
    if (c != 'B' && c != 'P') break;
    const std::int32_t next = node->next[c == 'P'];
    if (next < 0) break;
    node = tree_.data() + next;
    if (node->row > match) match = node->row;
  }
  return match;
}

void BetMethodPattern::Prepare() {
  // A row still being edited in its grid is posted (normalised) before the scan reads
  // the table; an untouched new row is dropped, as on saving.
  if (table_.State() == DataSetState::Insert && RowIsBlank(table_)) table_.Cancel();
  else table_.Post();
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

void BetMethodPattern::ReadDirect(const BaseStrategy& strategy) {
  const PublishedClass& info = strategy.ClassInfo();
  directRoad_ = info.FindDirect(getAnalysisRoad_.Name());
  directPredict_ = info.FindDirect(getPredict_.Name());
  directOwner_ = &strategy;
}

char BetMethodPattern::GetBet(BaseStrategy& strategy) {
  if (!rowsValid_) BuildRows();
  // The owning strategy's own operations are called as plain functions; any other
  // strategy through its published table.
  const bool direct = DirectOn(strategy);
  PubValue answer;
  const int match = MatchRow(direct ? reinterpret_cast<DirectAnalysisRoad>(directRoad_)(strategy, history_)
                                    : ResultText(answer = getAnalysisRoad_(strategy, {PubValue(&history_)})));
  if (match < 0) {
    if (!table_.IsEmpty()) table_.First();
    return ' ';
  }
  table_.GotoRow(match);
  char bet = rows_[match].bet;
  if (bet == ' ') return ' ';
  if (direct) return reinterpret_cast<DirectPredict>(directPredict_)(strategy, bet);
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
  baseline_ = Contents();
}

void BetMethodPattern::SaveBet(const std::string& path) {
  if (table_.State() == DataSetState::Insert && RowIsBlank(table_)) table_.Cancel();
  else table_.Post();
  RecordTable records;
  records.AppendSetting("Info", "M", Info);
  records.AppendRecords(table_, {{"M", "Pattern"}, {"M", "Bet"}});
  records.SaveToFile(path);
  LastFileName = path;
  baseline_ = Contents();
}

std::string BetMethodPattern::Contents() const {
  std::string text = Info;
  for (int r = 0; r < table_.RecordCount(); ++r)
    text += '\n' + AsString(table_.GetValue(r, 0)) + '\t' + AsString(table_.GetValue(r, 1));
  return text;
}

bool BetMethodPattern::Modified() const {
  return table_.State() != DataSetState::Browse || Contents() != baseline_;
}

const PublishedClass& BetMethodPattern::StaticClass() {
  static PublishedClass info("BetMethodPattern", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetMethodPattern>(info, {.Prepare = true, .Restart = true, .Finish = true, .GetBet = true,
                                                    .AddGameResult = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
