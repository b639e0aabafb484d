// A multi-line text box bound to one text field of a table's current record. It
// shows the field as Unicode and follows the cursor; typing starts Edit on the record
// and writes the text back as Big5.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "table/ClientDataSet.h"

namespace zavuv {

class QtDBMemo : public QPlainTextEdit, public TableObserver {
  Q_OBJECT

 public:
  explicit QtDBMemo(QWidget* parent = nullptr);
  ~QtDBMemo() override;

  void SetField(ClientDataSet* table, const std::string& fieldName);

 private:
  void Load();
  void UserChanged();
  void TableReset() override { Load(); }
  void RowsInserted(int, int) override { Load(); }
  void RowsRemoved(int, int) override { Load(); }
  void RowChanged(int row) override;
  void CursorMoved(int) override { Load(); }

  ClientDataSet* table_ = nullptr;
  int field_ = -1;
  bool loading_ = false;
  bool writing_ = false;
};

}  // namespace zavuv
