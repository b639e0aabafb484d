#include "bets/QtTableFilePanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "table/Big5.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

QtTableFilePanel::QtTableFilePanel(QWidget* panel, const TableFilePanelNames& names, TableFileComponent component,
                                   const std::function<QLayout*()>& makeExtra, std::function<void()> onRead)
    : panel_(panel),
      component_(std::move(component)),
      filter_(names.filter),
      extension_(names.extension),
      onRead_(std::move(onRead)) {
  Navigator = Named(new QtNavigator(panel), names.navigator);
  Navigator->SetTable(&component_.table);
  Navigator->SetHints(names.navigatorHints);
  Navigator->SetDeleteQuestion(names.deleteQuestion);
  Navigator->setFixedWidth(9 * 26);
  Grid = Named(new QTableView(panel), names.grid);
  Model = Named(new QtTableModel(&component_.table, panel), names.model);
  Model->BindView(Grid);
  Grid->horizontalHeader()->setStretchLastSection(true);
  ReadButton = Button(panel, names.readButton, names.readCaption);
  SaveButton = Button(panel, names.saveButton, names.saveCaption);
  QLayout* extra = makeExtra ? makeExtra() : nullptr;
  ServerButton = Button(panel, names.serverButton, names.serverCaption);
  ServerButton->setEnabled(false);
  auto* infoLabel = Label(panel, names.infoLabel, names.infoCaption);
  Memo = Named(new QPlainTextEdit(panel), names.memo);
  infoLabel->setBuddy(Memo);

  QObject::connect(ReadButton, &QPushButton::clicked, panel, [this] { ReadClick(); });
  QObject::connect(SaveButton, &QPushButton::clicked, panel, [this] { SaveClick(); });
  QObject::connect(Memo, &QPlainTextEdit::textChanged, panel, [this] {
    if (!loading_) component_.info = Utf8ToBig5(Memo->toPlainText().toStdString());
  });

  auto* left = new QVBoxLayout;
  left->addWidget(Navigator);
  left->addWidget(Grid, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ReadButton);
  buttons->addWidget(SaveButton);
  buttons->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addLayout(buttons);
  if (extra) right->addLayout(extra);
  right->addWidget(ServerButton, 0, Qt::AlignLeft);
  right->addWidget(infoLabel);
  right->addWidget(Memo, 1);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);
}

void QtTableFilePanel::Detach() {
  Model->SetTable(nullptr);
  Navigator->SetTable(nullptr);
}

void QtTableFilePanel::ShowInfo() {
  loading_ = true;
  const QString info = QString::fromStdString(Big5ToUtf8(component_.info));
  if (Memo->toPlainText() != info) Memo->setPlainText(info);
  loading_ = false;
}

void QtTableFilePanel::ReadClick() {
  const QString path = ChooseOpenFile(panel_, QString::fromUtf8(filter_), QString::fromLatin1(extension_),
                                      FromFileName(component_.lastFileName));
  if (path.isEmpty()) return;
  Guarded(panel_, [&] { component_.read(FileName(path)); });
  if (onRead_) onRead_();
}

void QtTableFilePanel::SaveClick() {
  const QString path = ChooseSaveFile(panel_, QString::fromUtf8(filter_), QString::fromLatin1(extension_),
                                      FromFileName(component_.lastFileName));
  if (path.isEmpty()) return;
  Guarded(panel_, [&] { component_.save(FileName(path)); });
}

}  // namespace zavuv
