#include "app/TFormExportShoesData.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtStatusLine.h"
#include "table/Big5.h"
#include "widgets/QtDialogKeys.h"
#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

QCheckBox* Box(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(true);
  return box;
}

QLineEdit* Edit(QWidget* parent, const char* name, const QString& text) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

std::string Big5(const QLineEdit* edit) { return Utf8ToBig5(edit->text().toStdString()); }

}  // namespace

TFormExportShoesData::TFormExportShoesData(ShoesData& shoes, QWidget* parent) : QDialog(parent), shoes_(shoes) {
  setObjectName(QStringLiteral("TFormExportShoesData"));
  setWindowTitle(QStringLiteral("匯出靴資料"));
  setModal(true);

  CheckBoxIncludeShoesName = Box(this, "CheckBoxIncludeShoesName", "匯出是否包括靴名");
  CheckBoxShoesNameDelimited = Box(this, "CheckBoxShoesNameDelimited", "靴名與資料之間是否插入分隔字元");
  CheckBoxGameDelimited = Box(this, "CheckBoxGameDelimited", "局與局之間是否插入分隔字元");
  auto* delimiterLabel = new QLabel(QStringLiteral("分隔字元"), this);
  delimiterLabel->setObjectName(QStringLiteral("LabelDelimitedChar"));
  EditDelimitedChar = Edit(this, "EditDelimitedChar", QStringLiteral(", "));
  delimiterLabel->setBuddy(EditDelimitedChar);

  GroupBoxResultChar = new QGroupBox(QStringLiteral("每局結果匯出字元"), this);
  GroupBoxResultChar->setObjectName(QStringLiteral("GroupBoxResultChar"));
  EditBanker = Edit(GroupBoxResultChar, "EditBanker", QStringLiteral("B"));
  EditPlayer = Edit(GroupBoxResultChar, "EditPlayer", QStringLiteral("P"));
  EditTie = Edit(GroupBoxResultChar, "EditTie", QStringLiteral("T"));
  auto* letters = new QGridLayout(GroupBoxResultChar);
  letters->setContentsMargins(6, 4, 6, 4);
  int column = 0;
  for (auto [caption, edit] : {std::pair{"莊", EditBanker}, {"閒", EditPlayer}, {"和", EditTie}}) {
    auto* label = new QLabel(QString::fromUtf8(caption), GroupBoxResultChar);
    label->setObjectName(QStringLiteral("Label") + edit->objectName().mid(4));
    label->setBuddy(edit);
    edit->setMaximumWidth(40);
    letters->addWidget(label, 0, column++);
    letters->addWidget(edit, 0, column++);
  }

  BtnExport = new QPushButton(QStringLiteral("匯出"), this);
  BtnExport->setObjectName(QStringLiteral("BtnExport"));
  BtnExport->setAutoDefault(false);
  BtnCancel = new QPushButton(QStringLiteral("取消"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  BtnCancel->setAutoDefault(false);

  auto* delimiterRow = new QHBoxLayout;
  delimiterRow->addWidget(delimiterLabel);
  delimiterRow->addWidget(EditDelimitedChar, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BtnExport);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(CheckBoxIncludeShoesName);
  layout->addWidget(CheckBoxShoesNameDelimited);
  layout->addWidget(CheckBoxGameDelimited);
  layout->addLayout(delimiterRow);
  layout->addWidget(GroupBoxResultChar);
  layout->addStretch(1);
  layout->addLayout(buttons);

  connect(BtnExport, &QPushButton::clicked, this, &TFormExportShoesData::BtnExportClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);
}

ExportOptions TFormExportShoesData::Options() const {
  ExportOptions options;
  options.includeName = CheckBoxIncludeShoesName->isChecked();
  options.nameDelimited = CheckBoxShoesNameDelimited->isChecked();
  options.gameDelimited = CheckBoxGameDelimited->isChecked();
  options.delimiter = Big5(EditDelimitedChar);
  options.banker = Big5(EditBanker);
  options.player = Big5(EditPlayer);
  options.tie = Big5(EditTie);
  return options;
}

void TFormExportShoesData::BtnExportClick() {
  const QString path = ChooseSaveFile(this, QStringLiteral("文字檔|*.TXT"), QStringLiteral("TXT"));
  if (path.isEmpty()) return;
  // The shoe table sets BatchRunning for the walk, so no refresh runs; the cursor
  // stays where it was.
  try {
    shoes_.ExportText(QFile::encodeName(path).toStdString(), Options());
    if (OnDone)
      OnDone(QStringLiteral("已匯出 %1 靴 · %2")
                 .arg(QtStatusLine::Count(shoes_.Table().RecordCount()), QtStatusLine::FileOf(path)));
  } catch (const std::exception& e) {
    if (OnDone) OnDone(QStringLiteral("未能匯出 ") + QtStatusLine::FileOf(path));
    // The dialog's own message, and on a line of its own what actually went wrong.
    ShowMessage(this, QStringLiteral("發生錯誤, 可能資料太多, 請試用windows XP或減少資料後重試") + QLatin1Char('\n') +
                          ErrorText(e));
  }
  accept();
}

bool TFormExportShoesData::eventFilter(QObject* watched, QEvent* event) {
  switch (DialogKeyOf(event)) {
    case DialogKey::Next: focusNextChild(); return true;
    case DialogKey::Previous: focusPreviousChild(); return true;
    case DialogKey::None: break;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormExportShoesData::showEvent(QShowEvent* event) {
  setFixedSize(215, 250);
  QDialog::showEvent(event);
}

}  // namespace zavuv
