// The rooms' host in the window: message boxes and questions through the program's
// message functions, the card window for peeks, and the connection and message
// pane through functions the main window (or a test) sets.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <string>

#include "rooms/GameRoom.h"

class QWidget;

namespace zavuv {

class TFormCard;

class QtRoomHost : public RoomHost {
 public:
  explicit QtRoomHost(QWidget* parent = nullptr, TFormCard* formCard = nullptr)
      : parent_(parent), formCard_(formCard) {}

  std::function<bool()> Connected;
  std::function<void(const std::string& text)> Send;
  std::function<void(const QString& text, const QColor& colour)> Message;

  void SetFormCard(TFormCard* formCard) { formCard_ = formCard; }

  bool IsConnected() const override { return Connected && Connected(); }
  void SendLine(const std::string& text) override;
  void AddMessage(const std::string& text, Rgb colour) override;
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ShowCard(int number) override;

 private:
  QWidget* parent_;
  TFormCard* formCard_;
};

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace zavuv
