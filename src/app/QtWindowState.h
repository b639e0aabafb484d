// The window's place on the screen, its splitters, its current tabs and the recent
// files, kept between runs in a state file of their own (the settings file holds
// only what the setup page shows).
#pragma once

#include <QString>
#include <utility>
#include <vector>

class QSplitter;
class QTabWidget;
class QWidget;

namespace zavuv {

class QtRecentFiles;

class QtWindowState {
 public:
  QtWindowState(QWidget* window, QtRecentFiles& recent) : window_(window), recent_(recent) {}

  // What is kept, each under its object's name.
  void AddSplitter(const char* key, QSplitter* splitter) { splitters_.emplace_back(key, splitter); }
  void AddTabs(const char* key, QTabWidget* tabs) { tabs_.emplace_back(key, tabs); }

  // Nothing happens without a file. A tab index out of range, or of a hidden tab,
  // leaves the tab control as it is.
  void Read(const QString& file) const;
  void Write(const QString& file) const;

 private:
  QWidget* window_;
  QtRecentFiles& recent_;
  std::vector<std::pair<const char*, QSplitter*>> splitters_;
  std::vector<std::pair<const char*, QTabWidget*>> tabs_;
};

}  // namespace zavuv
