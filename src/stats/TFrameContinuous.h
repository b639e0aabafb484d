// The panel of a run table: its caption and a read-only grid of the rows Con
// ("局數"), Times ("次數") and Above ("以上").
#pragma once

#include <QWidget>

#include "stats/Continuous.h"

class QLabel;
class QTableView;

namespace zavuv {

class QtTableModel;

class TFrameContinuous : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameContinuous(QWidget* parent = nullptr);
  ~TFrameContinuous() override;

  // The run table shown; the panel owns one of its own until it is given another.
  void SetContinuous(Continuous* continuous);
  Continuous* GetContinuous() const { return continuous_; }
  void SetCaption(const QString& caption);
  // Widens the columns to their figures (never narrower than at first).
  void FitColumns();

  QLabel* LabelName = nullptr;
  QTableView* DBGrid1 = nullptr;
  QtTableModel* DataSource1 = nullptr;

 private:
  Continuous own_;
  Continuous* continuous_ = nullptr;
};

}  // namespace zavuv
