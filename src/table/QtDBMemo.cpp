#include "table/QtDBMemo.h"

#include "table/Big5.h"
#include "widgets/QtMessages.h"

namespace zavuv {

QtDBMemo::QtDBMemo(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::textChanged, this, &QtDBMemo::UserChanged);
  setReadOnly(true);
}

QtDBMemo::~QtDBMemo() {
  if (table_) table_->RemoveObserver(this);
}

void QtDBMemo::SetField(ClientDataSet* table, const std::string& fieldName) {
  if (table_) table_->RemoveObserver(this);
  table_ = table;
  field_ = table_ ? table_->FieldIndex(fieldName) : -1;
  if (table_) table_->AddObserver(this);
  setReadOnly(table_ == nullptr);
  Load();
}

void QtDBMemo::Load() {
  if (writing_) return;
  QString text;
  if (table_ && !table_->IsEmpty()) text = QString::fromStdString(Big5ToUtf8(AsString(table_->FieldValue(field_))));
  if (text == toPlainText()) return;
  loading_ = true;
  setPlainText(text);
  loading_ = false;
}

void QtDBMemo::RowChanged(int row) {
  if (table_ && row == table_->CurrentRow()) Load();
}

void QtDBMemo::UserChanged() {
  if (loading_ || !table_) return;
  writing_ = true;
  Guarded(window(), [&] {
    if (table_->State() == DataSetState::Browse) table_->Edit();
    table_->SetFieldValue(field_, Utf8ToBig5(toPlainText().toStdString()));
  });
  writing_ = false;
}

}  // namespace zavuv
