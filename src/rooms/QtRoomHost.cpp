#include "rooms/QtRoomHost.h"

#include "rooms/TFormCard.h"
#include "widgets/QtMessages.h"

namespace zavuv {

void QtRoomHost::SendLine(const std::string& text) {
  if (Send) Send(text);
}

void QtRoomHost::AddMessage(const std::string& text, Rgb colour) {
  if (Message) Message(QString::fromStdString(text), ToQColor(colour));
}

void QtRoomHost::ShowMessage(const std::string& text) { zavuv::ShowMessage(parent_, QString::fromStdString(text)); }

bool QtRoomHost::AskYesNo(const std::string& text) { return zavuv::AskYesNo(parent_, QString::fromStdString(text)); }

void QtRoomHost::ShowCard(int number) {
  if (formCard_) formCard_->ShowCard(number);
}

}  // namespace zavuv
