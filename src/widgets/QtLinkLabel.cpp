#include "widgets/QtLinkLabel.h"

#include <QMouseEvent>
#include <QUrl>

#include "widgets/QtMessages.h"

namespace zavuv {

QtLinkLabel::QtLinkLabel(const QString& address, QWidget* parent, Underline underline)
    : QLabel(address, parent), underline_(underline) {
  setTextFormat(Qt::PlainText);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, Qt::blue);
  setPalette(p);
  setCursor(Qt::PointingHandCursor);
  if (underline_ == Underline::Always) SetUnderline(true);
}

void QtLinkLabel::SetUnderline(bool on) {
  if (underline_ == Underline::Always) on = true;
  QFont f = font();
  f.setUnderline(on);
  setFont(f);
}

void QtLinkLabel::enterEvent(QEnterEvent* event) {
  SetUnderline(true);
  QLabel::enterEvent(event);
}

void QtLinkLabel::leaveEvent(QEvent* event) {
  SetUnderline(false);
  QLabel::leaveEvent(event);
}

void QtLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    OpenUrl(QUrl::fromUserInput(text()));
  QLabel::mouseReleaseEvent(event);
}

}  // namespace zavuv
