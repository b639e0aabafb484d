// The strip at the top of the main window ("PanelShoesData"): the shoe table's
// navigator, "每靴資料" with the file buttons, the shoe grid, "每靴詳細說明" with the
// note box, "最近" and "關於". It reads, merges, saves and exports the shoes; the
// window decides what the save question covers and opens the dialogs. The class
// declares no signals of its own (the widget dump shows it as the frame it is).
#pragma once

#include <QFrame>
#include <QString>
#include <functional>

class QMimeData;
class QPushButton;
class QTableView;
class QToolButton;

namespace zavuv {

class QtDBMemo;
class QtNavigator;
class QtRecentFiles;
class QtTableModel;
class Workbench;

class TFrameShoeStrip : public QFrame {
 public:
  TFrameShoeStrip(Workbench& bench, QtRecentFiles& recent, QWidget* parent = nullptr);

  // The file commands, each taking a file name; errors are shown. Reading and saving
  // remember the file (ShoesFileName) and every command puts it on the recent list.
  void ReadData(const QString& path);
  void MergeData(const QString& path);
  bool SaveData(const QString& path);
  // The data file last read or saved (empty at first): where the save question offers to save.
  QString ShoesFileName;

  // The window's parts the strip calls on: the question that keeps changed work
  // (shoes, strategies; true when the action may go on), the export dialog, the about
  // box, and a strategy set chosen from "最近".
  std::function<bool(bool shoes, bool strategies)> KeepChanges;
  std::function<void()> ShowExportDialog;
  std::function<void()> ShowAboutBox;
  std::function<void(const QString& path)> OpenStrategyFile;
  // What a file command did, for the window's status line ("已讀入 12 靴 · a.DAT").
  std::function<void(const QString& text)> OnDone;

  // The handlers: "讀入資料" and "合併資料" choose a file (reading asks first about
  // changed shoes), "儲存資料" chooses where, "匯出資料" refuses while a shoe is edited.
  void BtnReadDataClick(bool merge);
  void BtnSaveDataClick();
  void BtnExportShoesDataClick();
  // Reads a shoe file after the question that keeps changed shoes ("讀入資料", "最近",
  // a dropped file).
  void ReadAfterAsking(const QString& path);
  // A .DAT file dropped on the window: read (after the question) or merged, as the
  // user answers.
  void DropDataFile(const QString& path);
  // The one local .DAT file of a drag, or an empty text.
  static QString DroppedDataFile(const QMimeData* data);

  QtNavigator* DBNavigatorShoesData = nullptr;
  QtTableModel* DataSourceShoesData = nullptr;
  QTableView* DBGridShoesData = nullptr;
  QtDBMemo* DBMemoShoesInfo = nullptr;
  QPushButton* BtnReadData = nullptr;
  QPushButton* BtnSaveData = nullptr;
  QPushButton* BtnMergeData = nullptr;
  QPushButton* BtnExportShoesData = nullptr;
  QPushButton* BtnAbout = nullptr;
  QToolButton* BtnRecentFiles = nullptr;

 private:
  void Done(const QString& text);

  Workbench& bench_;
  QtRecentFiles& recent_;
};

// The file dialogs' filter for shoe files.
extern const char* const kDataFilter;

}  // namespace zavuv
