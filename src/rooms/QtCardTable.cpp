#include "rooms/QtCardTable.h"

#include <QLabel>

#include "rooms/QtCardPictures.h"

namespace zavuv {

namespace {

QLabel* Title(QWidget* parent, const char* name, const char* text, const char* colour, int pixels) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(QString::fromUtf8(text));
  label->setObjectName(QString::fromLatin1(name));
  label->setStyleSheet(QStringLiteral("color: %1; font-weight: bold; font-size: %2px;")
                           .arg(QLatin1String(colour))
                           .arg(pixels));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

QtCardTable::QtCardTable(int titlePixels, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanelCards"));
  // The last card stands at (160, 104) and is 71 x 96.
  setFixedSize(240, 206);
  Label7 = Title(this, "Label7", "閒", "#0000ff", titlePixels);
  Label8 = Title(this, "Label8", "莊", "#ff0000", titlePixels);
  Label7->setGeometry(8, 4, 103, titlePixels + 14);
  Label8->setGeometry(128, 4, 103, titlePixels + 14);
  for (int i = 0; i < 6; ++i) {
    auto* card = new QLabel(this);
    card->setTextFormat(Qt::PlainText);
    card->setObjectName(QStringLiteral("ImageCard%1").arg(i + 1));
    card->setFixedSize(kCardWidth, kCardHeight);
    ImageCard[i] = card;
  }
  Show(CardAnimation());
}

void QtCardTable::Show(const CardAnimation& animation) {
  // Later positions lie over earlier ones, as dealt.
  for (int i = 0; i < 6; ++i) {
    const CardPicture& p = animation.Pictures()[i];
    QLabel* card = ImageCard[i];
    card->move(p.position.left, p.position.top);
    card->setPixmap(p.faceUp && p.number ? CardFacePicture(p.number) : CardBackPicture());
    card->setVisible(p.visible);
    card->raise();
  }
}

}  // namespace zavuv
