// The drawing of the choice lists that offer plug-ins (the bet method, bet amount
// and additional setup lists): items from the first plug-in item on are written in
// bold, yellow when selected and red otherwise; built-in items the normal way.
#pragma once

#include <QStyledItemDelegate>

class QComboBox;

namespace zavuv {

class QtPlugInItemDelegate : public QStyledItemDelegate {
 public:
  // firstPlugInItem: 2 in the bet method lists, 5 in the bet amount lists, 4 in the
  // setup lists.
  QtPlugInItemDelegate(int firstPlugInItem, QObject* parent = nullptr);

  int FirstPlugInItem() const { return first_; }
  bool IsPlugInItem(int row) const { return row >= first_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  int first_;
};

// Gives the list its plug-in drawing (the combo box owns the delegate).
void MarkPlugInItems(QComboBox* list, int firstPlugInItem);

}  // namespace zavuv
