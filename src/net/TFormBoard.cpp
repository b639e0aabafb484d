#include "net/TFormBoard.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zavuv {

TFormBoard::TFormBoard(const net::Board& board, const char* objectName, QWidget* parent)
    : QDialog(parent), board_(board) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(QString::fromUtf8(board.Caption()));
  resize(board.Width(), board.Height());
  ListView = new QTreeWidget(this);
  ListView->setObjectName(QStringLiteral("ListView"));
  ListView->setRootIsDecorated(false);
  ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView->setAlternatingRowColors(false);
  ListView->header()->setStretchLastSection(false);
  // Grid lines between the cells.
  ListView->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid #d0d0d0; "
                                         "border-bottom: 1px solid #d0d0d0; }"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListView);
  ShowBoard();
}

void TFormBoard::ShowBoard() {
  ListView->clear();
  const auto& columns = board_.Columns();
  ListView->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const auto& c : columns) titles << QString::fromStdString(c.title);
  ListView->setHeaderLabels(titles);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    ListView->headerItem()->setTextAlignment(i, columns[i].rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                                                        : Qt::AlignLeft | Qt::AlignVCenter);
  QList<QTreeWidgetItem*> items;
  for (const auto& entry : board_.Entries()) {
    auto* item = new QTreeWidgetItem;
    for (int i = 0; i < static_cast<int>(entry.size()) && i < static_cast<int>(columns.size()); ++i) {
      item->setText(i, QString::fromStdString(entry[i]));
      item->setTextAlignment(i, columns[i].rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
    }
    items.push_back(item);
  }
  if (items.isEmpty()) {
    // An empty board says so rather than showing a bare list.
    auto* none = new QTreeWidgetItem(QStringList{QStringLiteral("尚無記錄")});
    none->setFlags(Qt::NoItemFlags);
    items.push_back(none);
  }
  ListView->addTopLevelItems(items);
  if (board_.Entries().empty()) ListView->topLevelItem(0)->setFirstColumnSpanned(true);
  for (int i = 0; i < ListView->columnCount(); ++i) {
    ListView->resizeColumnToContents(i);
    ListView->setColumnWidth(i, std::max(ListView->columnWidth(i) + 12, i == 1 ? 120 : 64));
  }
}

}  // namespace zavuv
