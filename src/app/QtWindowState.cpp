#include "app/QtWindowState.h"

#include <QComboBox>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QWidget>
#include <optional>

#include "app/QtRecentFiles.h"
#include "roads/RoadSettings.h"
#include "roads/TFrameRoadSheet.h"

namespace zavuv {

namespace {

// An integer key within [low, high], or nothing.
std::optional<int> IntIn(const QSettings& ini, const QString& key, int low, int high) {
  bool ok = false;
  const int value = ini.value(key).toString().trimmed().toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

// "true" or "false" (as written), or nothing.
std::optional<bool> BoolOf(const QSettings& ini, const QString& key) {
  const QString text = ini.value(key).toString().trimmed().toLower();
  if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
  if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
  return std::nullopt;
}

}  // namespace

void QtWindowState::ReadRoads(QSettings& ini) const {
  ini.beginGroup(QStringLiteral("Roads"));
  if (roads_) {
    for (int i = 0; i < 3; ++i) {
      const QString n = QString::number(i + 1);
      if (auto beads = IntIn(ini, QStringLiteral("Beads") + n, RoadSettings::kMinBeads, RoadSettings::kMaxBeads))
        roads_->beads[i] = *beads;
      if (auto ignore = BoolOf(ini, QStringLiteral("IgnoreTies") + n)) roads_->ignoreTies[i] = *ignore;
    }
    if (roadsShown_) roadsShown_();
  }
  for (const auto& [key, sheet] : sheets_) {
    const int item = sheet->ComboBoxRoad->findText(ini.value(key + QStringLiteral("/Road")).toString());
    if (item >= 0) sheet->ComboBoxRoad->setCurrentIndex(item);
    if (auto zoom = IntIn(ini, key + QStringLiteral("/Zoom"), sheet->TrackBar->minimum(), sheet->TrackBar->maximum()))
      sheet->TrackBar->setValue(*zoom);
  }
  ini.endGroup();
}

void QtWindowState::WriteRoads(QSettings& ini) const {
  ini.beginGroup(QStringLiteral("Roads"));
  if (roads_) {
    for (int i = 0; i < 3; ++i) {
      const QString n = QString::number(i + 1);
      ini.setValue(QStringLiteral("Beads") + n, roads_->Beads(i));
      ini.setValue(QStringLiteral("IgnoreTies") + n, roads_->IgnoreTies(i));
    }
  }
  for (const auto& [key, sheet] : sheets_) {
    ini.setValue(key + QStringLiteral("/Road"), sheet->ComboBoxRoad->currentText());
    ini.setValue(key + QStringLiteral("/Zoom"), sheet->TrackBar->value());
  }
  ini.endGroup();
}

void QtWindowState::Read(const QString& file) const {
  if (file.isEmpty()) return;
  QSettings ini(file, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  if (ini.contains(QStringLiteral("Geometry")))
    window_->restoreGeometry(ini.value(QStringLiteral("Geometry")).toByteArray());
  for (const auto& [key, splitter] : splitters_)
    if (ini.contains(QLatin1String(key))) splitter->restoreState(ini.value(QLatin1String(key)).toByteArray());
  for (const auto& [key, tabs] : tabs_) {
    const int index = ini.value(QLatin1String(key), -1).toInt();
    if (index >= 0 && index < tabs->count() && tabs->isTabVisible(index)) tabs->setCurrentIndex(index);
  }
  ini.endGroup();
  ReadRoads(ini);
  recent_.Read(ini);
}

void QtWindowState::Write(const QString& file) const {
  if (file.isEmpty()) return;
  QSettings ini(file, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  ini.setValue(QStringLiteral("Geometry"), window_->saveGeometry());
  for (const auto& [key, splitter] : splitters_) ini.setValue(QLatin1String(key), splitter->saveState());
  for (const auto& [key, tabs] : tabs_) ini.setValue(QLatin1String(key), tabs->currentIndex());
  ini.endGroup();
  WriteRoads(ini);
  recent_.Write(ini);
}

}  // namespace zavuv
