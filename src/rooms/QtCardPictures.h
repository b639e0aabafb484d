// The card pictures, drawn by the program: 52 faces and one back, each 71 x 96
// pixels. A face has its rank and suit in two opposite corners and a large suit (or
// the court letter) in the middle; hearts and diamonds are red, spades and clubs
// black. Pictures are drawn once and kept.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>

#include "rooms/Cards.h"

namespace zavuv {

// The outline of a suit symbol filling the box.
QPainterPath SuitPath(Suit suit, const QRectF& box);

QImage DrawCardFace(int number);
QImage DrawCardBack();

// The face of a card number 1 to 52 (an empty picture for any other) and the back.
const QPixmap& CardFacePicture(int number);
const QPixmap& CardBackPicture();

}  // namespace zavuv
