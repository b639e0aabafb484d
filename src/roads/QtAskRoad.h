// 問路 beside the road sheets: under "莊" and "閒", the mark that the big eye boy
// (ring), the small road (dot) and the cockroach road (slash) would add next if the
// next result were a banker or a player; red or blue, nothing while a road cannot tell.
#pragma once

#include <QWidget>

#include "roads/AskRoad.h"

namespace zavuv {

class QtAskRoad : public QWidget {
 public:
  explicit QtAskRoad(QWidget* parent = nullptr);

  // Takes the marks of the road as it is now.
  void ShowRoad(const TRoad& road);
  const AskRoadMarks& Marks() const { return marks_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  AskRoadMarks marks_;
};

}  // namespace zavuv
