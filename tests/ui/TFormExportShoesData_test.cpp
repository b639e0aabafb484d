// The export dialog: defaults, the lines it writes, its keyboard and its failures.
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/TFormExportShoesData.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class ExportDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages.clear();
    refreshes = 0;
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    SetFileHook([this](bool save, const QString& filter, const QString& ext) {
      lastFilter = filter;
      lastExt = ext;
      lastSave = save;
      return nextFile;
    });
    shoes = std::make_unique<ShoesData>();
    shoes->AppendShoe({"S1", "BPT", ""});
    shoes->AppendShoe({Utf8ToBig5("空靴"), "", ""});
    shoes->AppendShoe({"S3", "PPB", ""});
    shoes->Table().GotoRow(1);
    shoes->OnRefresh = [this] { ++refreshes; };
    dialog = std::make_unique<TFormExportShoesData>(*shoes);
    nextFile = dir.filePath(QStringLiteral("out.TXT"));
  }
  void cleanup() {
    dialog.reset();
    shoes.reset();
    SetMessageHook(nullptr);
    SetFileHook(nullptr);
  }

  void defaultsAndLines() {
    QCOMPARE(dialog->windowTitle(), QStringLiteral("匯出靴資料"));
    QVERIFY(dialog->CheckBoxIncludeShoesName->isChecked());
    QVERIFY(dialog->CheckBoxShoesNameDelimited->isChecked());
    QVERIFY(dialog->CheckBoxGameDelimited->isChecked());
    QCOMPARE(dialog->EditDelimitedChar->text(), QStringLiteral(", "));
    QCOMPARE(dialog->GroupBoxResultChar->title(), QStringLiteral("每局結果匯出字元"));
    QCOMPARE(dialog->EditBanker->text(), QStringLiteral("B"));
    QCOMPARE(dialog->EditPlayer->text(), QStringLiteral("P"));
    QCOMPARE(dialog->EditTie->text(), QStringLiteral("T"));
    dialog->show();
    QCOMPARE(dialog->size(), QSize(215, 250));
    QTest::mouseClick(dialog->BtnExport, Qt::LeftButton);
    QVERIFY(lastSave);
    QCOMPARE(lastFilter, QStringLiteral("文字檔 (*.TXT *.txt)"));
    QCOMPARE(lastExt, QStringLiteral("TXT"));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(Read(), QByteArray("S1                  , B, P, T\r\n") + QByteArray(Utf8ToBig5("空靴").c_str()) +
                         QByteArray(16, ' ') + "\r\nS3                  , P, P, B\r\n");
    QCOMPARE(refreshes, 0);
    QCOMPARE(shoes->Table().RecNo(), 2);
    QVERIFY(!shoes->BatchRunning);
  }

  void optionsAndLetters() {
    dialog->CheckBoxIncludeShoesName->setChecked(false);
    dialog->EditDelimitedChar->clear();
    dialog->EditBanker->setText(QStringLiteral("莊"));
    dialog->EditPlayer->setText(QStringLiteral("閒"));
    dialog->EditTie->setText(QStringLiteral("和"));
    dialog->BtnExportClick();
    QCOMPARE(Read(), QByteArray(Utf8ToBig5("莊閒和\r\n\r\n閒閒莊\r\n").c_str()));
    dialog->CheckBoxGameDelimited->setChecked(false);
    dialog->EditDelimitedChar->setText(QStringLiteral(";"));
    dialog->EditBanker->setText(QStringLiteral("B"));
    dialog->EditPlayer->setText(QStringLiteral("P"));
    dialog->EditTie->setText(QStringLiteral("T"));
    dialog->BtnExportClick();
    QCOMPARE(Read(), QByteArray("BPT\r\n\r\nPPB\r\n"));
  }

  void cancelAndFailure() {
    dialog->show();
    nextFile.clear();
    QTest::mouseClick(dialog->BtnExport, Qt::LeftButton);
    QVERIFY(dialog->isVisible());   // the file choice was cancelled: the dialog stays
    nextFile = dir.filePath(QStringLiteral("no/such/folder/out.TXT"));
    QTest::mouseClick(dialog->BtnExport, Qt::LeftButton);
    // The dialog's message, then the reason.
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("發生錯誤, 可能資料太多, 請試用windows XP或減少資料後重試"));
    QVERIFY2(messages[0].section(QLatin1Char('\n'), 1).startsWith(QStringLiteral("無法寫入檔案 ") + nextFile),
             qPrintable(messages[0]));
    QVERIFY(!dialog->isVisible());
    QVERIFY(!shoes->BatchRunning);
    dialog->show();
    QTest::keyClick(dialog->EditTie, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
  }

  void keyboardMovesTheFocus() {
    nextFile = dir.filePath(QStringLiteral("keys.TXT"));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    dialog->CheckBoxIncludeShoesName->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), dialog->CheckBoxShoesNameDelimited);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog->CheckBoxGameDelimited);
    QVERIFY(dialog->CheckBoxGameDelimited->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), dialog->CheckBoxShoesNameDelimited);
    dialog->EditDelimitedChar->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ShiftModifier);   // not plain: no move
    QCOMPARE(QApplication::focusWidget(), dialog->EditDelimitedChar);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), dialog->EditBanker);
    // Enter on the export button moves on and does not export.
    dialog->BtnExport->setFocus();
    QTest::keyClick(dialog->BtnExport, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), dialog->BtnCancel);
    QVERIFY(dialog->isVisible());
    QVERIFY(!QFile::exists(nextFile));
  }

 private:
  QByteArray Read() {
    QFile f(nextFile);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
  }

  QTemporaryDir dir;
  std::unique_ptr<ShoesData> shoes;
  std::unique_ptr<TFormExportShoesData> dialog;
  QStringList messages;
  QString nextFile, lastFilter, lastExt;
  bool lastSave = false;
  int refreshes = 0;
};

QTEST_MAIN(ExportDialogTest)
#include "TFormExportShoesData_test.moc"
