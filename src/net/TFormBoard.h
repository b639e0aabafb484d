// The three ranking board dialogs: "排行榜" (TFormBillboard), "各屆冠軍" (TFormVictor)
// and "英雄榜" (TFormLevelboard). Each is one read-only report list with grid lines
// and whole-row selection filling the dialog, showing its board's last contents.
#pragma once

#include <QDialog>

#include "net/Board.h"

class QTreeWidget;

namespace zavuv {

class TFormBoard : public QDialog {
  Q_OBJECT

 public:
  TFormBoard(const net::Board& board, const char* objectName, QWidget* parent = nullptr);

  // Fills the list from the board: its columns and entries.
  void ShowBoard();

  QTreeWidget* ListView = nullptr;

 private:
  const net::Board& board_;
};

class TFormBillboard : public TFormBoard {
  Q_OBJECT
 public:
  explicit TFormBillboard(const net::Board& board, QWidget* parent = nullptr)
      : TFormBoard(board, "FormBillboard", parent) {}
};

class TFormVictor : public TFormBoard {
  Q_OBJECT
 public:
  explicit TFormVictor(const net::Board& board, QWidget* parent = nullptr) : TFormBoard(board, "FormVictor", parent) {}
};

class TFormLevelboard : public TFormBoard {
  Q_OBJECT
 public:
  explicit TFormLevelboard(const net::Board& board, QWidget* parent = nullptr)
      : TFormBoard(board, "FormLevelboard", parent) {}
};

}  // namespace zavuv
