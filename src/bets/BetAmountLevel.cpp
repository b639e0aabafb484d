#include "bets/BetAmountLevel.h"

#include "contracts/BaseStrategy.h"
#include "shoes/RecordTable.h"
#include "table/Big5.h"

namespace zavuv {

namespace {

std::vector<FieldDef> LevelFields() { return {{"BetAmount", FieldType::Integer, 0, "投注金額"}}; }

}  // namespace

BetAmountLevel::BetAmountLevel() : Info(Utf8ToBig5("過3關的過關纜")), table_(LevelFields()) {
  for (std::int32_t amount : {300, 600, 1200}) table_.AppendRow({amount});
  table_.First();
  baseline_ = Contents();
}

std::string BetAmountLevel::Contents() const {
  std::string text = std::to_string(WinLevelMove) + ' ' + std::to_string(LoseLevelMove) + ' ' + Info;
  for (int r = 0; r < table_.RecordCount(); ++r) text += '\n' + AsString(table_.GetValue(r, 0));
  return text;
}

bool BetAmountLevel::Modified() const {
  return table_.State() != DataSetState::Browse || Contents() != baseline_;
}

void BetAmountLevel::Prepare() {
  table_.Post();   // a level still being edited in its grid counts from this run on
  if (!detached_) {
    table_.DisableControls();
    detached_ = true;
  }
  CurrentLevel = 0;
}

void BetAmountLevel::Finish() {
  if (detached_) {
    detached_ = false;
    table_.EnableControls();
  }
}

std::int32_t BetAmountLevel::GetBetAmount(BaseStrategy& strategy) {
  if (CurrentLevel == 0) {
    CurrentLevel = 1;
  } else {
    // Steps are any 32-bit value, so the sum is taken wide; anything outside the
    // table starts over at level 1 either way.
    std::int64_t level = CurrentLevel;
    if (strategy.LastWin == 'W') level += WinLevelMove;
    else if (strategy.LastWin == 'L') level += LoseLevelMove;
    if (level < 1 || level > table_.RecordCount()) level = 1;
    CurrentLevel = static_cast<std::int32_t>(level);
  }
  if (table_.IsEmpty()) return 0;
  table_.GotoRow(CurrentLevel - 1);
  return AsInteger(table_.FieldValue(0));
}

void BetAmountLevel::ReadAmt(const std::string& path) {
  RecordTable records;
  records.LoadFromFile(path);
  ClientDataSet levels(LevelFields());
  std::int32_t winMove = WinLevelMove, loseMove = LoseLevelMove;
  std::string info = Info;
  records.Rebuild(levels, [&](const RecordTable& row) {
    std::string name = AsString(row.FieldValue("FieldName"));
    if (name == "WinLevelMove") winMove = AsInteger(row.FieldValue("Integer"));
    else if (name == "LoseLevelMove") loseMove = AsInteger(row.FieldValue("Integer"));
    else if (name == "Info") info = AsString(row.FieldValue("Memo"));
  });
  // Everything was read: only now does the component take it over.
  if (table_.State() != DataSetState::Browse) table_.Cancel();
  table_.EmptyDataSet();
  for (int r = 0; r < levels.RecordCount(); ++r) table_.AppendRow({levels.GetValue(r, 0)});
  table_.First();
  WinLevelMove = winMove;
  LoseLevelMove = loseMove;
  Info = std::move(info);
  LastFileName = path;
  baseline_ = Contents();
}

void BetAmountLevel::SaveAmt(const std::string& path) {
  table_.Post();
  RecordTable records;
  records.AppendSetting("WinLevelMove", "I", WinLevelMove);
  records.AppendSetting("LoseLevelMove", "I", LoseLevelMove);
  records.AppendSetting("Info", "M", Info);
  records.AppendRecords(table_, {{"I", "BetAmount"}});
  records.SaveToFile(path);
  LastFileName = path;
  baseline_ = Contents();
}

const PublishedClass& BetAmountLevel::StaticClass() {
  static PublishedClass info("BetAmountLevel", &CommonBet::StaticClass());
  static const bool published =
      (PublishBetOverrides<BetAmountLevel>(info, {.Prepare = true, .Restart = true, .Finish = true,
                                                  .GetBetAmount = true}), true);
  (void)published;
  return info;
}

}  // namespace zavuv
