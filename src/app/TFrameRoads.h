// The page "路紙" (TabSheetRoad): the inner page "路紙" with the main road sheet above
// and the three minor sheets side by side below, and the inner page "設定" with the
// three bead roads' settings, which write into the workbench's road settings. The
// class declares no signals of its own (the widget dump shows it as the page it is).
#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QSpinBox;
class QSplitter;
class QTabWidget;

namespace zavuv {

class QtAskRoad;
class TFrameRoadSheet;
class Workbench;

class TFrameRoads : public QWidget {
 public:
  explicit TFrameRoads(Workbench& bench, QWidget* parent = nullptr);

  // The sheets take the workbench's display road and settings.
  void AttachRoads();
  // Start-up: the minor sheets show the three derived roads.
  void ChooseMinorRoads();
  // The settings page shows the workbench's settings again (a strategy set brought
  // its own) and the sheets showing a bead road redraw.
  void ShowRoadSettings();
  // 問路 follows the display road (after every refresh of the current shoe).
  void ShowAskRoad();
  // Told with a bead road's name ("珠路1" ...) after its settings changed, once the
  // page's own sheets showing it have redrawn: the rooms' sheets follow.
  std::function<void(const QString& roadName)> OnBeadRoadChanged;

  QTabWidget* PageControlRoad = nullptr;
  QWidget* TabSheetDrawRoad = nullptr;
  QSplitter* SplitterRoad = nullptr;
  TFrameRoadSheet* MainRoadSheet = nullptr;
  QtAskRoad* PanelAskRoad = nullptr;   // 問路, right of the main sheet
  QWidget* PanelOtherRoad = nullptr;
  QSplitter* SplitterOtherRoad = nullptr;
  TFrameRoadSheet* MinorRoadSheet1 = nullptr;
  TFrameRoadSheet* MinorRoadSheet2 = nullptr;
  TFrameRoadSheet* MinorRoadSheet3 = nullptr;
  QWidget* TabSheetRoadSetting = nullptr;
  QSpinBox* SpinEditNoOfBall[3] = {};
  QCheckBox* CheckBoxBallRoadIgnoreTie[3] = {};

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildRoadSettingPage();
  // Every change of bead road i's two settings.
  void SpinEditNoOfBallChange(int i);
  void RefreshBeadRoad(int i);
  void PanelOtherRoadCanResize(int oldWidth, int newWidth);

  Workbench& bench_;
  bool otherRoadLaidOut_ = false;   // the lower road panel has had its first real width
};

}  // namespace zavuv
