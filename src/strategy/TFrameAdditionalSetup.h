// One page of a strategy's "附加設定" tab: the selector page of every strategy
// selector, with the caption "附加設定" and the kinds "每靴入路設定", "風險管理",
// "以數局為一組分析", "連羸的附加設定", then the setup plug-ins. Choosing a kind
// discards the old setup with its settings; the page caption follows the chosen kind.
#pragma once

#include <QWidget>

#include "bets/QtChoicePage.h"
#include "strategy/AdditionalSetup.h"

class QLabel;

namespace zavuv {

class QtPlugInComboBox;

class TFrameAdditionalSetup : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetup(AdditionalSetup& setup, QWidget* parent = nullptr);
  ~TFrameAdditionalSetup() override;

  AdditionalSetup& Setup() { return setup_; }
  QWidget* CurrentView() const { return page_.View(); }
  // The caption of the chosen kind (the page's caption).
  QString Caption() const;
  // Appends a setup plug-in to the engine's selector and to the list.
  void AddPlugIn(SetupPlugIn plugIn);

  // The controls of the selector page.
  QWidget* PanelSelect = nullptr;
  QLabel* Label1 = nullptr;
  QtPlugInComboBox* ComboBoxSelect = nullptr;
  QFrame* Panel1 = nullptr;

 signals:
  void captionChanged(const QString& caption);

 public slots:
  void ComboBoxSelectChange(int index);

 private:
  void SetupChanged();

  AdditionalSetup& setup_;
  QtChoicePage page_;
};

}  // namespace zavuv
