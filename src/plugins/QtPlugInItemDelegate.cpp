#include "plugins/QtPlugInItemDelegate.h"

#include <QComboBox>
#include <QPainter>

namespace zavuv {

QtPlugInItemDelegate::QtPlugInItemDelegate(int firstPlugInItem, QObject* parent)
    : QStyledItemDelegate(parent), first_(firstPlugInItem) {}

void QtPlugInItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (!IsPlugInItem(index.row())) return;
  option->font.setBold(true);
  QColor text = (option->state & QStyle::State_Selected) ? QColor(Qt::yellow) : QColor(Qt::red);
  option->palette.setColor(QPalette::Text, text);
  option->palette.setColor(QPalette::HighlightedText, text);
}

void QtPlugInItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  if (!IsPlugInItem(index.row())) return QStyledItemDelegate::paint(painter, option, index);
  // Background filled, text written one pixel in from the left and top edges.
  QStyleOptionViewItem o(option);
  initStyleOption(&o, index);
  painter->save();
  bool selected = o.state & QStyle::State_Selected;
  painter->fillRect(o.rect, selected ? o.palette.brush(QPalette::Highlight) : o.palette.brush(QPalette::Base));
  painter->setFont(o.font);
  painter->setPen(selected ? QColor(Qt::yellow) : QColor(Qt::red));
  painter->drawText(o.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, o.text);
  painter->restore();
}

void MarkPlugInItems(QComboBox* list, int firstPlugInItem) {
  list->setItemDelegate(new QtPlugInItemDelegate(firstPlugInItem, list));
}

}  // namespace zavuv
