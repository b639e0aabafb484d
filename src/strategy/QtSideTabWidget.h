// A tab control whose tabs, when they stand on the left or the right, keep their
// captions written across rather than turned on their side, so that a column of
// Chinese captions stays readable and takes little height.
#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace zavuv {

class QtSideTabBar : public QTabBar {
  Q_OBJECT

 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool Sideways() const;
};

class QtSideTabWidget : public QTabWidget {
  Q_OBJECT

 public:
  explicit QtSideTabWidget(QWidget* parent = nullptr);
};

}  // namespace zavuv
