// The last eight shoe files and strategy sets read or saved, newest first, for the
// "最近" button beside the file buttons; kept between runs with the window's state.
#pragma once

#include <QStringList>
#include <functional>

class QMenu;
class QSettings;

namespace zavuv {

class QtRecentFiles {
 public:
  static constexpr int kRecentFiles = 8;
  using OpenFunction = std::function<void(const QString& path)>;

  QStringList Shoes;
  QStringList Strategies;

  // A file read or saved goes to the top of its list (by its full path, once).
  static void Use(QStringList& list, const QString& path);
  // The menu: the shoe files, a separator, the strategy sets ("策略組合: " and the
  // name), each opening its file through the function; "(沒有)" when both are empty.
  void FillMenu(QMenu* menu, const OpenFunction& openShoes, const OpenFunction& openStrategies) const;
  // The lists under "Recent" in the window's state file.
  void Read(const QSettings& ini);
  void Write(QSettings& ini) const;
};

}  // namespace zavuv
