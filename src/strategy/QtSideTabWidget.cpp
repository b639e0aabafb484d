#include "strategy/QtSideTabWidget.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace zavuv {

bool QtSideTabBar::Sideways() const {
  switch (shape()) {
    case QTabBar::RoundedWest:
    case QTabBar::RoundedEast:
    case QTabBar::TriangularWest:
    case QTabBar::TriangularEast: return true;
    default: return false;
  }
}

QSize QtSideTabBar::tabSizeHint(int index) const {
  QSize size = QTabBar::tabSizeHint(index);
  if (!Sideways()) return size;
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(tabText(index)) + 20, metrics.height() + 14};
}

void QtSideTabBar::paintEvent(QPaintEvent* event) {
  if (!Sideways()) {
    QTabBar::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  for (int i = 0; i < count(); ++i) {
    QStyleOptionTab option;
    initStyleOption(&option, i);
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    painter.setPen(palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(option.rect, Qt::AlignCenter | Qt::TextShowMnemonic, option.text);
  }
}

QtSideTabWidget::QtSideTabWidget(QWidget* parent) : QTabWidget(parent) { setTabBar(new QtSideTabBar(this)); }

}  // namespace zavuv
