// The line at the bottom of the main window: what the last file command or range
// run did ("已讀入 12 靴", "已分析 37 靴 · 1,438 注 · 0.3 秒") on the left, and the
// files in use (the shoe file, the strategy set) on the right.
#pragma once

#include <QStatusBar>
#include <QString>
#include <cstdint>

class QLabel;

namespace zavuv {

class QtStatusLine : public QStatusBar {
 public:
  explicit QtStatusLine(QWidget* parent = nullptr);

  // What was just done; it stays until the next action.
  void Say(const QString& text);
  QString Said() const;
  // The files in use; an empty name leaves that part out.
  void SetFiles(const QString& shoesFile, const QString& strategyFile);

  // A count with thousands commas ("2,858").
  static QString Count(std::int64_t n);
  // The last part of a path, as the line names files.
  static QString FileOf(const QString& path);

  QLabel* LabelStatus = nullptr;
  QLabel* LabelFiles = nullptr;
};

}  // namespace zavuv
