#include "bets/QtPlugInComboBox.h"

#include <QPainter>
#include <QStylePainter>

namespace zavuv {

QtPlugInComboBox::QtPlugInComboBox(QWidget* parent) : QComboBox(parent) {
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  setItemDelegate(new QtPlugInItemDelegate(this, 15));
}

void QtPlugInComboBox::SetFirstPlugIn(int index) {
  firstPlugIn_ = index;
  update();
}

void QtPlugInComboBox::SetItemHeight(int height) { setItemDelegate(new QtPlugInItemDelegate(this, height)); }

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

QtPlugInItemDelegate::QtPlugInItemDelegate(QtPlugInComboBox* combo, int itemHeight)
    : QStyledItemDelegate(combo), combo_(combo), itemHeight_(itemHeight) {}

void QtPlugInItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
  const QPalette& palette = option.palette;
  painter->save();
  painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
  const int row = index.row();
  QColor colour = combo_->ItemColour(row, selected);
  if (!colour.isValid()) colour = selected ? palette.highlightedText().color() : palette.text().color();
  painter->setFont(combo_->ItemFont(row));
  painter->setPen(colour);
  const QRect text = option.rect.adjusted(1, 1, 0, 0);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QSize QtPlugInItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  QFontMetrics bold(combo_->ItemFont(index.row()));
  size.setHeight(std::max(itemHeight_, bold.height() + 2));
  size.setWidth(std::max(size.width(), bold.horizontalAdvance(index.data().toString()) + 8));
  return size;
}

}  // namespace zavuv
