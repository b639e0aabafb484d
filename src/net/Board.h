// The ranking boards: the ranking board "排行榜", the past champions "各屆冠軍" and
// the level board "英雄榜". The server answers a board request with the whole board
// in one line; LoadBoard fills the board's table and the report list its dialog
// shows, and Boards keeps the flags that let the main window's timer open one board
// per tick.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "table/ClientDataSet.h"

namespace zavuv::net {

enum class BoardKind { Billboard, Victor, Levelboard };

class Board {
 public:
  explicit Board(BoardKind kind);

  BoardKind Kind() const { return kind_; }
  // The dialog: caption, client size, and the request line that asks for the board.
  const char* Caption() const;
  int Width() const;
  int Height() const;
  const char* RequestLine() const;

  struct Column {
    std::string title;
    bool rightAligned = false;
  };
  // The report list's columns: the visible fields of the table, in field order; the
  // first two left-aligned, the others right-aligned.
  const std::vector<Column>& Columns() const { return columns_; }
  // The report list: one entry per row, each the texts of its columns (UTF-8).
  const std::vector<std::vector<std::string>>& Entries() const { return entries_; }
  // The board's table (never shown): Order is computed, the position from 1. Of the
  // two name fields only the one the last reply used is visible.
  const ClientDataSet& Table() const { return table_; }

  // Refills the board from a reply's arguments: the comma text of the rows, each
  // row the comma text of FieldName=value items. A UTF-8 reply names its players
  // under UTF8NickName, a Big5 reply under NickName. A number field given text that
  // is no number stays empty in the table, but the list shows the text.
  void LoadBoard(std::string_view arguments, bool utf8);

 private:
  class BoardTable : public ClientDataSet {
   public:
    using ClientDataSet::ClientDataSet;
    void SetVisible(int field, bool visible);
  };
  void MakeColumns();

  BoardKind kind_;
  BoardTable table_;
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> entries_;
};

// The three boards of the main window and their pending flags.
class Boards {
 public:
  Board Billboard{BoardKind::Billboard};
  Board Victor{BoardKind::Victor};
  Board Levelboard{BoardKind::Levelboard};
  bool BillboardPending = false;
  bool VictorPending = false;
  bool LevelboardPending = false;

  // A board reply ("BILLBOARD", "UTF8BILLBOARD", "VICTOR", ... "UTF8LEVELBOARD")
  // fills its board and then sets its flag; a reply that fails while filling keeps
  // the rows filled so far and leaves the flag as it was. False for other commands.
  bool HandleReply(std::string_view command, std::string_view arguments);
  // The same for a reply the dispatcher has already named by its board.
  void HandleReply(BoardKind kind, bool utf8, std::string_view arguments);

  // The timer's tick: the first pending board in the order ranking board, champions,
  // level board, with its flag cleared; null when none waits. One board per tick.
  Board* TakePendingBoard();
};

}  // namespace zavuv::net
