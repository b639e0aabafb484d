// A save that fails in the window: the disk fills up or fails part way, the user is
// told why in one message, the old file stays and nothing in the window is lost.
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/TFormDaruvedaZizeveva.h"
#include "bets/TFrameBetMethodPattern.h"
#include "table/FileIo.h"
#include "widgets/QtMessages.h"
#include "table/TableFile.h"

using namespace zavuv;

class SaveFaultsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    SetFileHook([this](bool, const QString&, const QString&) { return nextFile; });
  }
  void cleanup() {
    ResetFileFaults();
    SetMessageHook(nullptr);
    SetFileHook(nullptr);
  }

  void shoeDataSaveFailsEachWay() {
    TFormDaruvedaZizeveva window;
    window.Shoes().AppendShoe({"S1", "BPT", ""});
    nextFile = dir.filePath(QStringLiteral("shoes.DAT"));
    QTest::mouseClick(window.FrameShoeStrip->BtnSaveData, Qt::LeftButton);
    QVERIFY(messages.isEmpty());
    const QByteArray old = Read(nextFile);
    window.Shoes().AppendShoe({"S2", "PP", "note"});
    const std::string memory = EncodeTable(window.Shoes().Table());
    for (FileCall call : {FileCall::Write, FileCall::Fsync, FileCall::Rename}) {
      for (int err : {ENOSPC, EIO}) {
        messages.clear();
        InjectFileFault({call, 1, err});
        QTest::mouseClick(window.FrameShoeStrip->BtnSaveData, Qt::LeftButton);
        QVERIFY(FileFaultFired());
        ResetFileFaults();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral("無法寫入檔案 ") + nextFile), qPrintable(messages[0]));
        QVERIFY2(messages[0].contains(QString::fromLocal8Bit(std::strerror(err))), qPrintable(messages[0]));
        QCOMPARE(Read(nextFile), old);
        QCOMPARE(EncodeTable(window.Shoes().Table()), memory);
      }
    }
    messages.clear();
    QTest::mouseClick(window.FrameShoeStrip->BtnSaveData, Qt::LeftButton);  // the disk is back: the save goes through
    QVERIFY(messages.isEmpty());
    QVERIFY(Read(nextFile) != old);
  }

  void patternSaveFailureKeepsTheTable() {
    BetMethodPattern method;
    TFrameBetMethodPattern frame(method);
    nextFile = dir.filePath(QStringLiteral("p.MED"));
    InjectFileFault({FileCall::Write, 1, ENOSPC});
    QTest::mouseClick(frame.BtnSaveBet, Qt::LeftButton);
    ResetFileFaults();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(messages[0]));
    QVERIFY(!QFile::exists(nextFile));
    QVERIFY(method.LastFileName.empty());   // the file was not saved, so it is not the table's file
    QCOMPARE(method.Table().RecordCount(), BetMethodPattern().Table().RecordCount());
  }

 private:
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir dir;
  QStringList messages;
  QString nextFile;
};

QTEST_MAIN(SaveFaultsTest)
#include "SaveFaults_test.moc"
