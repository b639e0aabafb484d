#include "roads/QtAskRoad.h"

#include <QPainter>

namespace zavuv {

namespace {

const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 220);
constexpr int kColumn = 30;   // width of one column ("莊" or "閒")
constexpr int kRow = 26;      // height of one mark's row

QColor MarkColour(char mark) { return mark == 'B' ? kRed : kBlue; }

}  // namespace

QtAskRoad::QtAskRoad(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanelAskRoad"));
  setToolTip(QStringLiteral("問路: 下一局開莊或開閒時, 大眼仔(圈), 小路(點), 蟑螂路(斜線)會出的顏色"));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize QtAskRoad::sizeHint() const { return {2 * kColumn + 8, 4 * kRow + 8}; }

void QtAskRoad::ShowRoad(const TRoad& road) {
  AskRoadMarks marks = AskRoad(road);
  if (marks == marks_) return;
  marks_ = marks;
  update();
}

void QtAskRoad::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  const struct {
    const char* caption;
    QColor colour;
    const std::array<char, 3>& marks;
  } columns[] = {{"莊", kRed, marks_.Banker}, {"閒", kBlue, marks_.Player}};
  for (int c = 0; c < 2; ++c) {
    const int x = 4 + c * kColumn;
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(columns[c].colour);
    p.drawText(QRect(x, 4, kColumn, kRow), Qt::AlignCenter, QString::fromUtf8(columns[c].caption));
    for (int k = 0; k < 3; ++k) {
      const char mark = columns[c].marks[k];
      if (mark == ' ') continue;
      const QPointF centre(x + kColumn / 2.0, 4 + (k + 1.5) * kRow);
      const double r = kRow * 0.3;
      const QColor colour = MarkColour(mark);
      switch (k) {
        case 0:   // big eye boy: a ring
          p.setPen(QPen(colour, 2.5));
          p.setBrush(Qt::NoBrush);
          p.drawEllipse(centre, r, r);
          break;
        case 1:   // small road: a dot
          p.setPen(Qt::NoPen);
          p.setBrush(colour);
          p.drawEllipse(centre, r, r);
          break;
        default:   // cockroach road: a slash
          p.setPen(QPen(colour, 3));
          p.drawLine(centre + QPointF(-r, r), centre + QPointF(r, -r));
          break;
      }
    }
  }
  p.setPen(QColor(192, 192, 192));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace zavuv
