// The window's place on the screen, its splitters, its current tabs, the recent
// files and the road settings (the bead roads' beads per column and ignore-ties,
// each road sheet's road and zoom), kept between runs in a state file of their own
// (the settings file holds only what the setup page shows). A key that is missing
// or does not hold a usable value leaves that setting as it is.
#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QSettings;
class QSplitter;
class QTabWidget;
class QWidget;

namespace zavuv {

class QtRecentFiles;
class TFrameRoadSheet;
struct RoadSettings;

class QtWindowState {
 public:
  QtWindowState(QWidget* window, QtRecentFiles& recent) : window_(window), recent_(recent) {}

  // What is kept, each under its object's name.
  void AddSplitter(const char* key, QSplitter* splitter) { splitters_.emplace_back(key, splitter); }
  void AddTabs(const char* key, QTabWidget* tabs) { tabs_.emplace_back(key, tabs); }
  // The bead roads' settings; shown runs after they were read.
  void AddRoadSettings(RoadSettings* settings, std::function<void()> shown) {
    roads_ = settings;
    roadsShown_ = std::move(shown);
  }
  // A sheet's road choice (by its name) and zoom.
  void AddRoadSheet(const QString& key, TFrameRoadSheet* sheet) { sheets_.emplace_back(key, sheet); }

  // Nothing happens without a file. A tab index out of range, or of a hidden tab,
  // leaves the tab control as it is.
  void Read(const QString& file) const;
  void Write(const QString& file) const;

 private:
  void ReadRoads(QSettings& ini) const;
  void WriteRoads(QSettings& ini) const;

  QWidget* window_;
  QtRecentFiles& recent_;
  std::vector<std::pair<const char*, QSplitter*>> splitters_;
  std::vector<std::pair<const char*, QTabWidget*>> tabs_;
  RoadSettings* roads_ = nullptr;
  std::function<void()> roadsShown_;
  std::vector<std::pair<QString, TFrameRoadSheet*>> sheets_;
};

}  // namespace zavuv
