#include "strategy/ResultTable.h"


namespace zavuv {

static_assert(sizeof(ResultTable::Row) == 32, "a result row is meant to take 32 bytes");

ResultTable::ResultTable()
    : Table({{"ShoesName", FieldType::String, kShoesNameWidth, "靴名"},
             {"GameNo", FieldType::Integer, 0, "局數"},
             {"Bet", FieldType::String, 1, "投注"},
             {"BetAmount", FieldType::Integer, 0, "投注金額"},
             {"GameResult", FieldType::String, 1, "開出結果"},
             {"Profit", FieldType::Float, 0, "損益", 0, "#.##"},
             {"AccProfit", FieldType::Float, 0, "損益累積", 0, "0.##"}}) {}

ResultTable::~ResultTable() = default;

Value ResultTable::GetValue(int row, int field) const {
  if (row < 0 || row >= RecordCount()) throw TableError("沒有第 " + std::to_string(row + 1) + " 筆記錄");
  const Row& r = At(row);
  if (r.isNull) return Value{};
  switch (field) {
    case kShoesName: return labels_[r.shoe];
    case kGameNo: return r.gameNo;
    case kBet: return std::string(1, r.bet);
    case kBetAmount: return r.betAmount;
    case kGameResult: return std::string(1, r.gameResult);
    case kProfit: return r.profit;
    case kAccProfit: return r.accProfit;
    default: throw TableError("沒有第 " + std::to_string(field + 1) + " 個欄位");
  }
}

std::string_view ResultTable::ShoesNameAt(int row) const {
  const Row& r = At(row);
  return r.isNull ? std::string_view() : std::string_view(labels_[r.shoe]);
}

void ResultTable::Clear() {
  blocks_.clear();
  count_ = 0;
  labels_.clear();
  labelIndex_.clear();
  SetRow(0);
  NotifyReset();
}

ResultTable::Row& ResultTable::NewRow() {
  if ((count_ & (kBlockSize - 1)) == 0 && (count_ >> kBlockBits) == blocks_.size())
    blocks_.push_back(std::make_unique<Row[]>(kBlockSize));
  return blocks_[count_ >> kBlockBits][count_ & (kBlockSize - 1)];
}

std::int32_t ResultTable::LabelIndex(std::string_view label) {
  std::string cut;
  if (label.size() > kShoesNameWidth) {
    cut = CutBig5(label, kShoesNameWidth);
    label = cut;
  }
  // Rows come shoe by shoe, so the last label is nearly always the one.
  if (!labels_.empty() && labels_.back() == label) return static_cast<std::int32_t>(labels_.size() - 1);
  auto [it, added] = labelIndex_.try_emplace(std::string(label), static_cast<std::int32_t>(labels_.size()));
  if (added) labels_.emplace_back(label);
  return it->second;
}

void ResultTable::AppendRow(std::string_view shoesName, std::int32_t gameNo, char bet, std::int32_t betAmount,
                            char gameResult, double profit, double accProfit) {
  std::int32_t shoe = LabelIndex(shoesName);
  Row& r = NewRow();
  r = Row{shoe, gameNo, betAmount, bet == ' ' || bet == '\0' ? ' ' : bet, gameResult, false, profit, accProfit};
  ++count_;
  SetRow(static_cast<int>(count_) - 1);
  NotifyInserted(static_cast<int>(count_) - 1, 1);
}

void ResultTable::AppendNullRow() {
  Row& r = NewRow();
  r = Row{-1, 0, 0, ' ', ' ', true, 0, 0};
  ++count_;
  SetRow(static_cast<int>(count_) - 1);
  NotifyInserted(static_cast<int>(count_) - 1, 1);
}

std::size_t ResultTable::StorageBytes() const {
  std::size_t bytes = blocks_.size() * kBlockSize * sizeof(Row) + blocks_.capacity() * sizeof(void*);
  for (const std::string& label : labels_) bytes += sizeof(std::string) + label.capacity();
  return bytes;
}

}  // namespace zavuv
