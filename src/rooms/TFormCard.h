// The card window: one card picture shown modally, for a peek at the next card.
#pragma once

#include <QDialog>

class QLabel;

namespace zavuv {

class TFormCard : public QDialog {
  Q_OBJECT

 public:
  explicit TFormCard(QWidget* parent = nullptr);

  // Does nothing unless the number is 1 to 52; otherwise shows that card's face in
  // the window, modally, until the user closes it.
  void ShowCard(int number);
  // The card shown last (0 before any).
  int Shown() const { return shown_; }

  QLabel* ImageCard = nullptr;

 private:
  int shown_ = 0;
};

}  // namespace zavuv
