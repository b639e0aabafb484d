// A battle room's automatic betting over the workbench's strategies in use. Each room
// holds the workbench's lock under its own room name, so the workbench can tell the
// holder from a room that has not started.
#pragma once

#include <string>

#include "app/Workbench.h"
#include "rooms/AutoBetHost.h"

namespace zavuv {

class WorkbenchAutoBet : public AutoBetHost {
 public:
  WorkbenchAutoBet(Workbench& bench, std::string holder) : bench_(bench), holder_(std::move(holder)) {}

  // The room checks the connection itself and says so; here only the lock counts.
  bool CanStartAutoBet() const override { return bench_.CanStartAutoBet(true) == AutoBetCheck::Ok; }
  void StartAutoBet() override;
  void AutoBetNewShoe() override { bench_.AutoBetNewShoe(holder_); }
  NetBet GetAutoBet() override;
  void AutoBetGameResult(char result) override { bench_.AutoBetGameResult(holder_, result); }
  void StopAutoBet() override { bench_.StopAutoBet(holder_); }

 private:
  Workbench& bench_;
  std::string holder_;
};

}  // namespace zavuv
