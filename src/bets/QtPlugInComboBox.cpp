#include "bets/QtPlugInComboBox.h"

#include <QStylePainter>

#include "plugins/QtPlugInItemDelegate.h"

namespace zavuv {

QtPlugInComboBox::QtPlugInComboBox(QWidget* parent) : QComboBox(parent) {
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void QtPlugInComboBox::SetFirstPlugIn(int index) {
  firstPlugIn_ = index;
  MarkPlugInItems(this, index);
  update();
}

QFont QtPlugInComboBox::ItemFont(int index) const {
  QFont f = font();
  if (IsPlugInItem(index)) f.setBold(true);
  return f;
}

QColor QtPlugInComboBox::ItemColour(int index, bool selected) const {
  if (!IsPlugInItem(index)) return {};
  return selected ? QColor(Qt::yellow) : QColor(Qt::red);
}

void QtPlugInComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const int index = currentIndex();
  const bool plugIn = index >= 0 && IsPlugInItem(index);
  if (plugIn) option.currentText.clear();   // written below, bold and red
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  if (!plugIn) return;
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.setFont(ItemFont(index));
  painter.setPen(ItemColour(index, false));
  painter.drawText(field.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
}

}  // namespace zavuv
