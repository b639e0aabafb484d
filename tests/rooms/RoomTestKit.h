// A recording room host and a scripted set of strategies for the room tests.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "rooms/AutoBetHost.h"
#include "rooms/GameRoom.h"

namespace zavuv::testing {

struct FakeRoomHost : RoomHost {
  bool connected = true;
  bool answer = true;   // the answer to every Yes/No question
  std::vector<std::string> sent;
  std::vector<std::pair<std::string, Rgb>> pane;
  std::vector<std::string> boxes;
  std::vector<std::string> questions;
  std::vector<int> cardsShown;

  bool IsConnected() const override { return connected; }
  void SendLine(const std::string& text) override { sent.push_back(text); }
  void AddMessage(const std::string& text, Rgb colour) override { pane.emplace_back(text, colour); }
  void ShowMessage(const std::string& text) override { boxes.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void ShowCard(int number) override { cardsShown.push_back(number); }
};

// Strategies whose bets are scripted game by game; nets them as the workbench does
// and keeps a log of every call.
struct FakeStrategies : AutoBetHost {
  struct Scripted {
    std::deque<NetBet> bets;   // one per game; a blank bet when the script runs out
    NetBet current;
    std::string settled;        // every result settled, in order
    std::string settledWithBet; // the results settled while a bet stood
  };
  std::vector<Scripted> strategies;
  bool held = false;
  bool failStart = false;
  std::vector<std::string> log;

  explicit FakeStrategies(int count = 0) : strategies(count) {}

  bool CanStartAutoBet() const override { return !held; }
  void StartAutoBet() override {
    if (held) throw std::runtime_error("held");
    if (failStart) throw std::runtime_error("prepare failed");
    held = true;
    for (Scripted& s : strategies) s.current = {};
    log.push_back("start");
  }
  void AutoBetNewShoe() override { log.push_back("newshoe"); }
  NetBet GetAutoBet() override {
    log.push_back("get");
    std::int64_t net = 0;
    for (Scripted& s : strategies) {
      s.current = s.bets.empty() ? NetBet{} : s.bets.front();
      if (!s.bets.empty()) s.bets.pop_front();
      net += s.current.side == 'B' ? s.current.amount : s.current.side == 'P' ? -s.current.amount : 0;
    }
    if (net > 0) return {'B', net};
    if (net < 0) return {'P', -net};
    return {};
  }
  void AutoBetGameResult(char result) override {
    log.push_back(std::string("result ") + result);
    for (Scripted& s : strategies) {
      s.settled += result;
      if (s.current.side != ' ') s.settledWithBet += result;
    }
  }
  void StopAutoBet() override {
    held = false;
    log.push_back("stop");
  }
};

}  // namespace zavuv::testing
