#include "rooms/TFormCard.h"

#include <QLabel>
#include <QVBoxLayout>

#include "rooms/QtCardPictures.h"

namespace zavuv {

TFormCard::TFormCard(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormCard"));
  setWindowTitle(QStringLiteral("FormCard"));
  ImageCard = new QLabel(this);
  ImageCard->setObjectName(QStringLiteral("ImageCard"));
  ImageCard->setFixedSize(kCardWidth, kCardHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(ImageCard);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormCard::ShowCard(int number) {
  if (number < 1 || number > 52) return;
  shown_ = number;
  ImageCard->setPixmap(CardFacePicture(number));
  ImageCard->show();
  exec();
}

}  // namespace zavuv
