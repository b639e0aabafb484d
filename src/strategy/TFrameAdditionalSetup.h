// One page of a strategy's "附加設定" tab: the strip PanelSelect with the caption
// "附加設定" and the owner-drawn list of kinds ("每靴入路設定", "風險管理",
// "以數局為一組分析", "連羸的附加設定", then the setup plug-ins), and Panel1 with
// the panel of the setup chosen. Choosing a kind discards the old setup with its
// settings; the page caption follows the chosen kind.
#pragma once

#include <QWidget>

#include "strategy/AdditionalSetup.h"

class QFrame;
class QLabel;

namespace zavuv {

class QtPlugInComboBox;

class TFrameAdditionalSetup : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAdditionalSetup(AdditionalSetup& setup, QWidget* parent = nullptr);
  ~TFrameAdditionalSetup() override;

  AdditionalSetup& Setup() { return setup_; }
  QWidget* CurrentView() const { return view_; }
  // The caption of the chosen kind (the page's caption).
  QString Caption() const;
  // Appends a setup plug-in to the engine's selector and to the list.
  void AddPlugIn(SetupPlugIn plugIn);

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
  QWidget* view_ = nullptr;
};

}  // namespace zavuv
