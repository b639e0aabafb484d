#include "net/Board.h"

#include "net/CommaText.h"
#include "net/Protocol.h"
#include "table/Big5.h"

namespace zavuv::net {

namespace {

std::vector<FieldDef> BoardFields(BoardKind kind) {
  // The name fields: NickName holds Big5 bytes (20 of them); UTF8NickName holds
  // UTF-8, whose 20 characters may take up to 80 bytes, so it is not cut by bytes.
  FieldDef nick{"NickName", FieldType::String, 20, "名稱"};
  FieldDef utf8Nick{"UTF8NickName", FieldType::String, 0, "名稱"};
  utf8Nick.visible = false;
  auto integer = [](const char* name, const char* title) { return FieldDef{name, FieldType::Integer, 0, title}; };
  FieldDef order{"Order", FieldType::Integer, 0, "排名"};
  order.computed = true;
  switch (kind) {
    case BoardKind::Billboard:
    case BoardKind::Victor: {
      std::vector<FieldDef> f;
      if (kind == BoardKind::Billboard) {
        f.push_back(order);
      } else {
        f.push_back({"FinishDate", FieldType::DateTime, 0, "比賽完結日期"});
        nick.label = utf8Nick.label = "冠軍";
      }
      f.push_back(nick);
      f.push_back(utf8Nick);
      f.push_back(integer("Profit", "利潤"));
      f.push_back(integer("Turnover", "總投注額"));
      f.push_back(integer("TotalWin", "總贏"));
      f.push_back(integer("TotalLoss", "總輸"));
      f.push_back(integer("Peak", "最高"));
      f.push_back(integer("Valley", "最低"));
      return f;
    }
    case BoardKind::Levelboard:
      return {order, nick, utf8Nick, integer("Lvl", "等級"), integer("Exp", "經驗")};
  }
  return {};
}

}  // namespace

void Board::BoardTable::SetVisible(int field, bool visible) {
  fields_.at(field).visible = visible;
  NotifyReset();
}

Board::Board(BoardKind kind) : kind_(kind), table_(BoardFields(kind)) { MakeColumns(); }

const char* Board::Caption() const {
  switch (kind_) {
    case BoardKind::Billboard: return "排行榜";
    case BoardKind::Victor: return "各屆冠軍";
    case BoardKind::Levelboard: return "英雄榜";
  }
  return "";
}

int Board::Width() const { return kind_ == BoardKind::Levelboard ? 365 : 698; }
int Board::Height() const { return 254; }

const char* Board::RequestLine() const {
  switch (kind_) {
    case BoardKind::Billboard: return "BILLBOARD:";
    case BoardKind::Victor: return "VICTOR:";
    case BoardKind::Levelboard: return "LEVELBOARD:";
  }
  return "";
}

void Board::MakeColumns() {
  columns_.clear();
  for (const FieldDef& f : table_.Fields())
    if (f.visible) columns_.push_back({f.label, columns_.size() >= 2});
}

void Board::LoadBoard(std::string_view arguments, bool utf8) {
  table_.EmptyDataSet();
  table_.SetVisible(table_.FieldIndex("UTF8NickName"), utf8);
  table_.SetVisible(table_.FieldIndex("NickName"), !utf8);
  MakeColumns();
  entries_.clear();
  // Comma text is read on the bytes as they came: Big5 never uses a quote, a comma
  // or a blank inside a character. Texts for the list are then made UTF-8.
  std::string text = utf8 ? SanitizeUtf8(arguments) : std::string(arguments);
  auto shown = [utf8](const std::string& value) { return utf8 ? value : Big5ToUtf8(value); };
  StringList rows = DecodeCommaText(text);
  const int order = table_.FindField("Order");
  for (std::size_t r = 0; r < rows.size(); ++r) {
    StringList items = DecodeCommaText(rows[r]);
    AppendRecord(table_, items);
    int row = table_.RecordCount() - 1;
    if (order >= 0) table_.SetValueAt(row, order, static_cast<std::int32_t>(row + 1));
    std::vector<std::string> entry;
    for (const FieldDef& f : table_.Fields()) {
      if (!f.visible) continue;
      entry.push_back(f.computed ? std::to_string(row + 1) : shown(RecordText(items, f.name)));
    }
    entries_.push_back(std::move(entry));
  }
  table_.First();
}

// ---- the three boards ----

bool Boards::HandleReply(std::string_view command, std::string_view arguments) {
  bool utf8 = IsUtf8Command(command);
  std::string_view name = utf8 ? command.substr(4) : command;
  if (name == "BILLBOARD")
    HandleReply(BoardKind::Billboard, utf8, arguments);
  else if (name == "VICTOR")
    HandleReply(BoardKind::Victor, utf8, arguments);
  else if (name == "LEVELBOARD")
    HandleReply(BoardKind::Levelboard, utf8, arguments);
  else
    return false;
  return true;
}

void Boards::HandleReply(BoardKind kind, bool utf8, std::string_view arguments) {
  Board& board = kind == BoardKind::Billboard ? Billboard : kind == BoardKind::Victor ? Victor : Levelboard;
  bool& pending = kind == BoardKind::Billboard ? BillboardPending
                  : kind == BoardKind::Victor  ? VictorPending
                                               : LevelboardPending;
  board.LoadBoard(arguments, utf8);
  pending = true;
}

Board* Boards::TakePendingBoard() {
  if (BillboardPending) {
    BillboardPending = false;
    return &Billboard;
  }
  if (VictorPending) {
    VictorPending = false;
    return &Victor;
  }
  if (LevelboardPending) {
    LevelboardPending = false;
    return &Levelboard;
  }
  return nullptr;
}

}  // namespace zavuv::net
