// Everything the program does with the server's lines once logged in: bytes cut into
// lines, each dispatched to the message pane, the rooms (a battle room betting
// automatically for two strategies and recording shoes, the practice room, the card
// animation), the ranking boards and the sharing page (a downloaded shoe goes into the
// shoe table). Invariants: the shoe table holds only what its checks allow, a board's
// list has one entry per table row, and automatic betting keeps its lock consistent.
#include <cstdint>

#include "FuzzKit.h"
#include "app/Workbench.h"
#include "bets/BetAmountFlat.h"
#include "bets/BetMethodLoop.h"
#include "net/Board.h"
#include "net/Dispatcher.h"
#include "net/Protocol.h"
#include "net/Sharing.h"
#include "rooms/GameRooms.h"
#include "strategy/Strategy.h"

using namespace zavuv;

namespace {

class Host : public RoomHost {
 public:
  bool connected = true;
  bool answer = true;
  std::size_t sent = 0;
  bool IsConnected() const override { return connected; }
  void SendLine(const std::string& text) override {
    sent += text.size();
    if (text.find_first_of("\r\n") != std::string::npos) fuzz::Broken("a room sent a line break");
  }
  void AddMessage(const std::string&, Rgb) override {}
  void ShowMessage(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return answer; }
  void ShowCard(int number) override {
    if (number < 1 || number > 52) fuzz::Broken("a card number outside 1 to 52");
  }
};

class Sink : public net::DispatchSink {
 public:
  Sink(GameRooms& rooms, Workbench& bench) : rooms_(rooms), bench_(bench) {}
  void AppendMessage(std::string_view text, net::MessageColour) override {
    if (!net::IsValidUtf8(text)) fuzz::Broken("a message pane line that is not UTF-8");
  }
  void NickNameChanged(std::string_view nickName, std::string_view) override {
    if (!net::IsValidUtf8(nickName)) fuzz::Broken("a nickname that is not UTF-8");
  }
  void ShowLevel(const net::LevelDisplay& level) override {
    if (level.fill < 0 || level.fill > net::kLevelBarWidth - 2) fuzz::Broken("a level bar outside its outline");
  }
  void RoomMessage(std::string_view room, std::string_view arguments) override { rooms_.HandleLine(room, arguments); }
  void BoardReceived(net::BoardKind kind, bool utf8, std::string_view arguments) override {
    boards.HandleReply(kind, utf8, arguments);
  }
  void PrivateListReceived(std::string_view command, std::string_view arguments) override {
    sharing.HandleReply(command, arguments, bench_.Shoes().Table());
  }
  void ArticleListReceived(std::string_view arguments) override {
    sharing.HandleReply("GETARTICLELISTOK", arguments, bench_.Shoes().Table());
  }
  void PrivateDataReceived(std::string_view arguments) override {
    sharing.HandleReply("GETPRIVATEDATAOK", arguments, bench_.Shoes().Table());
  }
  void ArticleReceived(std::string_view arguments) override {
    sharing.HandleReply("GETARTICLEOK", arguments, bench_.Shoes().Table());
  }

  net::Boards boards;
  net::Sharing sharing;

 private:
  GameRooms& rooms_;
  Workbench& bench_;
};

void CheckBoard(const net::Board& board) {
  if (board.Entries().size() != static_cast<std::size_t>(board.Table().RecordCount()))
    fuzz::Broken("a board list and its table disagree");
  for (const auto& entry : board.Entries())
    if (entry.size() != board.Columns().size()) fuzz::Broken("a board entry with the wrong number of columns");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t flags = in.Byte();
  Workbench bench;
  const char* loops[] = {"BBP", "P"};
  for (int i = 0; i < 2; ++i) {
    Strategy& s = bench.CreateStrategy(bench.NextStrategyName(), BetMethod::kLoop, BetAmount::kFlat);
    static_cast<BetMethodLoop*>(s.FrameBetMethod.CurrentComponent())->LoopText = loops[i];
    static_cast<BetAmountFlat*>(s.FrameBetAmount.CurrentComponent())->FlatBet = 100 * (i + 1);
  }
  Host host;
  GameRooms rooms(&host, bench);
  Sink sink(rooms, bench);
  net::Dispatcher dispatcher(sink);
  rooms.Battle[flags % GameRooms::kBattleRooms].Record = flags & 8;
  if (flags & 16) rooms.Battle[flags % GameRooms::kBattleRooms].BtnAutoBetClick(true);

  net::LineFramer framer(net::kMaxLineBytes);
  std::string line;
  framer.Feed(in.Rest());
  int lines = 0;
  while (framer.Next(line)) {
    dispatcher.HandleLine(line);
    // The card animation and the news line run between lines, as the timers would.
    if (++lines % 3 == 0)
      for (int i = 0; i < 50 && rooms.CardsRunning(); ++i) rooms.TickCards();
    if (lines % 5 == 0) rooms.Battle[0].Timer1Timer();
    if (lines % 7 == 0 && (flags & 32)) host.connected = !host.connected;
  }
  CheckBoard(sink.boards.Billboard);
  CheckBoard(sink.boards.Victor);
  CheckBoard(sink.boards.Levelboard);
  const ClientDataSet& shoes = bench.Shoes().Table();
  const int resultField = shoes.FieldIndex("ShoesResult");
  for (int row = 0; row < shoes.RecordCount(); ++row) {
    const std::string result = AsString(shoes.GetValue(row, resultField));
    if (result.find_first_not_of("BPT") != std::string::npos) fuzz::Broken("a stored result holding other letters");
  }
  int holders = 0;
  for (const GameRoomClientBattle& room : rooms.Battle) holders += room.AutoBetActive;
  if (holders > 1) fuzz::Broken("two rooms betting automatically");
  if (holders != (bench.AutoBetting() ? 1 : 0)) fuzz::Broken("the auto-bet lock and the rooms disagree");
  for (GameRoomClientBattle& room : rooms.Battle)
    if (room.AutoBetActive) room.BtnAutoBetClick(false);
  if (bench.AutoBetting() || bench.Shoes().BatchRunning) fuzz::Broken("stopping left the strategies locked");
  return 0;
}
