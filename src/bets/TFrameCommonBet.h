// The panel of a bet component: what a selector shows in its Panel1 for the
// component chosen in it. Every panel shows the settings of one engine component
// (a BetMethodPattern, a BetAmountLevel, ...) and writes each change straight into
// it; LoadSettings shows them again after the engine changed them (a run normalises
// the loop text, a file load replaces a table's description).
#pragma once

#include <QWidget>

namespace zavuv {

class TFrameCommonBet : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  virtual void LoadSettings() {}
};

}  // namespace zavuv
