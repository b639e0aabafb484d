#include "widgets/QtLinkLabel.h"

#include <QMouseEvent>
#include <QUrl>

#include "widgets/QtMessages.h"

namespace zavuv {

QtLinkLabel::QtLinkLabel(const QString& address, QWidget* parent) : QLabel(address, parent) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, Qt::blue);
  setPalette(p);
  setCursor(Qt::PointingHandCursor);
}

void QtLinkLabel::SetUnderline(bool on) {
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
