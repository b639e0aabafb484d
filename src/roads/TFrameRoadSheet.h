// A road sheet: one road of a road model drawn on squared paper. The big road as
// rings with tie strokes, a derived road as filled discs, a bead road as rings in
// columns of fixed height. The user picks the road in ComboBoxRoad, zooms with
// TrackBar and copies the picture to the clipboard by double-clicking it.
//
// The sheet follows the newest entry: whenever the road is drawn (a shoe shown,
// results added or posted, a live shoe growing, a zoom or size change) the view
// scrolls so that the newest column is in sight, unless the user has scrolled away
// from it in this shoe. Road data that does not continue what was drawn before is
// another shoe: the sheet follows again and keeps nothing of the old position.
#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <string>

#include "roads/RoadSettings.h"
#include "roads/TRoad.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QSlider;

namespace zavuv {

class TFrameRoadSheet : public QWidget, public RoadSheet {
  Q_OBJECT

 public:
  explicit TFrameRoadSheet(QWidget* parent = nullptr);
  ~TFrameRoadSheet() override;

  // The selector's items: "大路", "大眼仔", "小路", "蟑螂路", "珠路1", "珠路2", "珠路3".
  static const QStringList& RoadNames();

  // Detaches from the previous road model and attaches to this one.
  void SetRoad(TRoad* road);
  // The road model drawn; a sheet that was never given one draws the default road
  // (the main window's DisplayRoad).
  TRoad* GetRoad() const;
  static void SetDefaultRoad(TRoad* road);
  // Where the bead-road settings come from; without any, the default settings (the
  // main window's), else the built-in ones.
  void SetRoadSettings(const RoadSettings* settings) { settings_ = settings; }
  static void SetDefaultRoadSettings(const RoadSettings* settings);

  // Takes fresh road data from the road model for the selected road, then draws.
  void Refresh() override;
  // Refresh, but only when the selector shows that road.
  void RefreshIfShowing(const QString& roadName);
  // Draws the stored road data again, without asking the road model.
  void Draw();

  // The zoom range and starting cell size, and the design size of the drawing
  // surface (it grows when a road does not fit).
  void SetZoom(int minimum, int maximum, int position);
  void SetSurfaceSize(int width, int height);

  int CellSize() const { return cellSize_; }
  bool IsBigRoad() const { return isBigRoad_; }
  bool IsBeadRoad() const { return isBeadRoad_; }
  const std::string& RoadData() const { return roadData_; }
  // The picture as last drawn.
  const QImage& Picture() const { return picture_; }
  // Whether the view keeps the newest entry in sight (false once the user scrolled
  // away from it, until another shoe is shown or the user scrolls back to it).
  bool FollowsNewest() const { return followNewest_; }
  // The rectangle of the newest entry on the surface; empty without any.
  QRect NewestCell() const;

  QScrollArea* ScrollBox = nullptr;
  QLabel* Image = nullptr;
  QSlider* TrackBar = nullptr;
  QComboBox* ComboBoxRoad = nullptr;

 public slots:
  void TrackBarChange(int position);
  void ComboBoxRoadChange(int index);
  void ImageDblClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const RoadSettings& Settings() const;
  void DrawGrid(QImage& image) const;
  void DrawBigOrDerived(QImage& image) const;
  void DrawBeads(QImage& image) const;
  QSize NeededSize() const;
  // Scrolls to the newest entry when the view follows it.
  void ShowNewest();
  // A scroll bar moved by the user: follow again exactly when the newest entry stays
  // in sight.
  void UserScrolled();

  TRoad* road_ = nullptr;
  const RoadSettings* settings_ = nullptr;
  int cellSize_ = 5;
  bool isBigRoad_ = false;
  bool isBeadRoad_ = false;
  std::string roadData_;
  QSize surface_{800, 500};
  QImage picture_;
  int drawnItem_ = -1;          // the road choice of the last refresh
  bool followNewest_ = true;
  bool scrolling_ = false;      // the sheet itself is moving the scroll bars
};

}  // namespace zavuv
