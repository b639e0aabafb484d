// The owner-drawn choice lists of the strategy pages (bet methods, bet amounts,
// additional setups): items that come from plug-ins (from FirstPlugIn on) are
// written in bold, yellow when selected and red otherwise, and built-in items in the
// list's normal font and colour. The open list draws its items with the plug-in
// item delegate; the closed box draws its current item the same way.
#pragma once

#include <QComboBox>

namespace zavuv {

class QtPlugInComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit QtPlugInComboBox(QWidget* parent = nullptr);

  // Index of the first plug-in item (the number of built-in items).
  void SetFirstPlugIn(int index);
  int FirstPlugIn() const { return firstPlugIn_; }
  bool IsPlugInItem(int index) const { return index >= firstPlugIn_; }

  // How an item is drawn: bold or not, and its text colour (invalid: the default).
  QFont ItemFont(int index) const;
  QColor ItemColour(int index, bool selected) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int firstPlugIn_ = 1 << 30;
};

}  // namespace zavuv
