// The owner-drawn choice lists of the strategy pages (bet methods, bet amounts,
// additional setups): each item's background is filled and its text written one
// pixel in from the left and top edges; items that come from plug-ins (from
// FirstPlugIn on) are written in bold, yellow when selected and red otherwise, and
// built-in items in the list's normal font and colour. The closed box draws its
// current item the same way.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

namespace zavuv {

class QtPlugInComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit QtPlugInComboBox(QWidget* parent = nullptr);

  // Index of the first plug-in item (the number of built-in items).
  void SetFirstPlugIn(int index);
  int FirstPlugIn() const { return firstPlugIn_; }
  bool IsPlugInItem(int index) const { return index >= firstPlugIn_; }
  // Height of each item in the open list (at least the font's height).
  void SetItemHeight(int height);

  // How an item is drawn: bold or not, and its text colour (invalid: the default).
  QFont ItemFont(int index) const;
  QColor ItemColour(int index, bool selected) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int firstPlugIn_ = 1 << 30;
};

// Draws one item of a QtPlugInComboBox's open list.
class QtPlugInItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  QtPlugInItemDelegate(QtPlugInComboBox* combo, int itemHeight);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  int ItemHeight() const { return itemHeight_; }

 private:
  QtPlugInComboBox* combo_;
  int itemHeight_;
};

}  // namespace zavuv
