// The table the cards are dealt on: the titles "閒" (blue) and "莊" (red) and the six
// card pictures ImageCard1 ... ImageCard6, placed where the deal animation says.
#pragma once

#include <QWidget>
#include <array>

#include "rooms/Cards.h"

class QLabel;

namespace zavuv {

class QtCardTable : public QWidget {
  Q_OBJECT

 public:
  // titlePixels: the height of the two titles' font.
  explicit QtCardTable(int titlePixels, QWidget* parent = nullptr);

  // Shows the pictures as the animation has them.
  void Show(const CardAnimation& animation);

  QLabel* Label7 = nullptr;   // "閒"
  QLabel* Label8 = nullptr;   // "莊"
  std::array<QLabel*, 6> ImageCard{};
};

}  // namespace zavuv
