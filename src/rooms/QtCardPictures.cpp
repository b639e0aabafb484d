#include "rooms/QtCardPictures.h"

#include <QFont>
#include <QPainter>
#include <array>

namespace zavuv {

namespace {

const QColor kRedInk(200, 0, 0);
const QColor kBlackInk(0, 0, 0);

QPainterPath Heart(const QRectF& b) {
  QPainterPath p;
  qreal x = b.left(), y = b.top(), w = b.width(), h = b.height();
  p.moveTo(x + w * 0.5, y + h);
  p.cubicTo(x + w * 0.1, y + h * 0.65, x - w * 0.05, y + h * 0.35, x + w * 0.15, y + h * 0.1);
  p.cubicTo(x + w * 0.3, y - h * 0.05, x + w * 0.48, y + h * 0.08, x + w * 0.5, y + h * 0.25);
  p.cubicTo(x + w * 0.52, y + h * 0.08, x + w * 0.7, y - h * 0.05, x + w * 0.85, y + h * 0.1);
  p.cubicTo(x + w * 1.05, y + h * 0.35, x + w * 0.9, y + h * 0.65, x + w * 0.5, y + h);
  p.closeSubpath();
  return p;
}

}  // namespace

QPainterPath SuitPath(Suit suit, const QRectF& b) {
  qreal x = b.left(), y = b.top(), w = b.width(), h = b.height();
  QPainterPath p;
  p.setFillRule(Qt::WindingFill);
  switch (suit) {
    case Suit::Hearts:
      return Heart(b);
    case Suit::Diamonds:
      p.moveTo(x + w * 0.5, y);
      p.lineTo(x + w * 0.9, y + h * 0.5);
      p.lineTo(x + w * 0.5, y + h);
      p.lineTo(x + w * 0.1, y + h * 0.5);
      p.closeSubpath();
      return p;
    case Suit::Spades: {
      // An upside-down heart on a flared stem.
      QPainterPath top = Heart(QRectF(0, 0, w, h * 0.8));
      QTransform flip;
      flip.translate(x, y + h * 0.8);
      flip.scale(1, -1);
      p.addPath(flip.map(top));
      p.moveTo(x + w * 0.5, y + h * 0.5);
      p.lineTo(x + w * 0.72, y + h);
      p.lineTo(x + w * 0.28, y + h);
      p.closeSubpath();
      return p;
    }
    case Suit::Clubs: {
      qreal r = w * 0.22;
      p.addEllipse(QPointF(x + w * 0.5, y + r + h * 0.02), r, r);
      p.addEllipse(QPointF(x + w * 0.26, y + h * 0.52), r, r);
      p.addEllipse(QPointF(x + w * 0.74, y + h * 0.52), r, r);
      p.addRect(QRectF(x + w * 0.4, y + h * 0.3, w * 0.2, h * 0.3));
      p.moveTo(x + w * 0.5, y + h * 0.45);
      p.lineTo(x + w * 0.7, y + h);
      p.lineTo(x + w * 0.3, y + h);
      p.closeSubpath();
      return p;
    }
  }
  return p;
}

namespace {

// Rank and small suit in the top left corner of a card laid out at the origin.
void DrawCorner(QPainter& g, const QString& rank, Suit suit, const QColor& ink) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(rank.size() > 1 ? 13 : 15);
  font.setBold(true);
  if (rank.size() > 1) font.setLetterSpacing(QFont::AbsoluteSpacing, -1.5);
  g.setFont(font);
  g.setPen(ink);
  g.drawText(QRectF(2, 2, 18, 17), Qt::AlignHCenter | Qt::AlignVCenter, rank);
  g.fillPath(SuitPath(suit, QRectF(5, 20, 11, 12)), ink);
}

}  // namespace

QImage DrawCardFace(int number) {
  QImage image(kCardWidth, kCardHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  if (number < 1 || number > 52) return image;
  QPainter g(&image);
  g.setRenderHint(QPainter::Antialiasing);
  g.setRenderHint(QPainter::TextAntialiasing);
  g.setPen(QPen(QColor(90, 90, 90), 1));
  g.setBrush(Qt::white);
  g.drawRoundedRect(QRectF(0.5, 0.5, kCardWidth - 1, kCardHeight - 1), 5, 5);

  const Suit suit = CardSuit(number);
  const QColor ink = CardIsRed(number) ? kRedInk : kBlackInk;
  const QString rank = QString::fromStdString(CardRankText(number));
  DrawCorner(g, rank, suit, ink);
  g.save();
  g.translate(kCardWidth, kCardHeight);
  g.rotate(180);
  DrawCorner(g, rank, suit, ink);
  g.restore();

  const int r = CardRank(number);
  if (r >= 11) {
    // Court cards: the letter in a frame with the suit under it.
    QRectF frame(17, 18, 37, 60);
    g.setPen(QPen(ink, 1));
    g.setBrush(QColor(250, 244, 220));
    g.drawRect(frame);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(26);
    font.setBold(true);
    g.setFont(font);
    g.drawText(QRectF(17, 20, 37, 32), Qt::AlignCenter, rank);
    g.fillPath(SuitPath(suit, QRectF(26, 54, 19, 20)), ink);
  } else {
    g.fillPath(SuitPath(suit, QRectF(20, 29, 31, 36)), ink);
  }
  return image;
}

QImage DrawCardBack() {
  QImage image(kCardWidth, kCardHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter g(&image);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QPen(QColor(90, 90, 90), 1));
  g.setBrush(Qt::white);
  g.drawRoundedRect(QRectF(0.5, 0.5, kCardWidth - 1, kCardHeight - 1), 5, 5);
  QRectF inner(5, 5, kCardWidth - 10, kCardHeight - 10);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(20, 60, 150));
  g.drawRoundedRect(inner, 3, 3);
  // A lattice of light diagonals, clipped to the inner panel.
  g.setClipRect(inner);
  g.setPen(QPen(QColor(120, 160, 230), 1));
  for (int d = -kCardHeight; d < kCardWidth + kCardHeight; d += 7) {
    g.drawLine(QPointF(d, 0), QPointF(d + kCardHeight, kCardHeight));
    g.drawLine(QPointF(d, kCardHeight), QPointF(d + kCardHeight, 0));
  }
  g.setClipping(false);
  g.setPen(QPen(Qt::white, 2));
  g.setBrush(Qt::NoBrush);
  g.drawRoundedRect(inner.adjusted(3, 3, -3, -3), 2, 2);
  return image;
}

const QPixmap& CardFacePicture(int number) {
  static std::array<QPixmap, 53> faces;
  static const QPixmap none;
  if (number < 1 || number > 52) return none;
  if (faces[number].isNull()) faces[number] = QPixmap::fromImage(DrawCardFace(number));
  return faces[number];
}

const QPixmap& CardBackPicture() {
  static QPixmap back;
  if (back.isNull()) back = QPixmap::fromImage(DrawCardBack());
  return back;
}

}  // namespace zavuv
