// What the pattern panel and the level panel share: a component's record table with
// its navigator and grid on the left; on the right the buttons that read and save the
// table's file, what the panel adds of its own (the level steps), the (inactive)
// server button and the description memo. The panel keeps its own object names and
// captions; the controls are created on it in this order, so that they tab in it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QLayout;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace zavuv {

class ClientDataSet;
class QtNavigator;
class QtTableModel;

struct TableFilePanelNames {
  const char* navigator;
  const char* model;
  const char* grid;
  const char* readButton;
  const char* readCaption;
  const char* saveButton;
  const char* saveCaption;
  const char* serverButton;
  const char* serverCaption;
  const char* infoLabel;
  const char* infoCaption;
  const char* memo;
  QStringList navigatorHints;
  QString deleteQuestion;
  const char* filter;       // the file dialogs' filter
  const char* extension;    // without the dot
};

// The file and the description of the component behind the panel.
struct TableFileComponent {
  ClientDataSet& table;
  std::string& info;                                   // Big5
  const std::string& lastFileName;                     // where a dialog starts
  std::function<void(const std::string& path)> read;   // throws on failure
  std::function<void(const std::string& path)> save;   // throws on failure
};

class QtTableFilePanel {
 public:
  // Creates the controls on the panel, in order; makeExtra (may be empty) creates the
  // panel's own controls between the file buttons and the server button and gives
  // their layout. onRead runs after a file has been read.
  QtTableFilePanel(QWidget* panel, const TableFilePanelNames& names, TableFileComponent component,
                   const std::function<QLayout*()>& makeExtra, std::function<void()> onRead);
  // Lets go of the table: the component may go right after its panel.
  void Detach();
  // Shows the description without writing it back to the component.
  void ShowInfo();
  // The buttons' actions: choose a file, then read (and show) or save it.
  void ReadClick();
  void SaveClick();

  QtNavigator* Navigator = nullptr;
  QtTableModel* Model = nullptr;
  QTableView* Grid = nullptr;
  QPushButton* ReadButton = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* ServerButton = nullptr;
  QPlainTextEdit* Memo = nullptr;

 private:
  QWidget* panel_;
  TableFileComponent component_;
  const char* filter_;
  const char* extension_;
  std::function<void()> onRead_;
  bool loading_ = false;
};

}  // namespace zavuv
