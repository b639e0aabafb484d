// The export dialog "匯出靴資料": how every shoe becomes one line of text. Created once
// at start-up; its settings live until the program ends and are not stored.
//
// The dialog sees keys before its controls: the down arrow (without Shift, Ctrl or
// Alt) and Enter move to the next control, the up arrow to the previous one; Enter
// never presses a button. Escape cancels.
#pragma once

#include <QDialog>
#include <functional>

#include "shoes/ShoesData.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zavuv {

class TFormExportShoesData : public QDialog {
  Q_OBJECT

 public:
  explicit TFormExportShoesData(ShoesData& shoes, QWidget* parent = nullptr);

  // The layout options as the controls show them (texts converted to Big5).
  ExportOptions Options() const;

  QCheckBox* CheckBoxIncludeShoesName = nullptr;
  QCheckBox* CheckBoxShoesNameDelimited = nullptr;
  QCheckBox* CheckBoxGameDelimited = nullptr;
  QLineEdit* EditDelimitedChar = nullptr;
  QGroupBox* GroupBoxResultChar = nullptr;
  QLineEdit* EditBanker = nullptr;
  QLineEdit* EditPlayer = nullptr;
  QLineEdit* EditTie = nullptr;
  QPushButton* BtnExport = nullptr;
  QPushButton* BtnCancel = nullptr;

 public slots:
  // Asks for the target file, writes the export and closes the dialog; cancelling
  // the file choice leaves the dialog open.
  void BtnExportClick();

 public:
  // What an export did, for the window's status line ("已匯出 12 靴 · a.TXT").
  std::function<void(const QString& text)> OnDone;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  ShoesData& shoes_;
};

}  // namespace zavuv
