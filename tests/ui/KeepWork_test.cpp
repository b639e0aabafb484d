// The questions that keep unsaved work from being lost: closing the window, reading
// shoes over changed ones, reading a strategy set over changed pages, switching a
// component away from a hand-edited table, deleting a strategy page.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/TFormDaruvedaZizeveva.h"
#include "bets/BetMethodPattern.h"
#include "bets/QtPlugInComboBox.h"
#include "bets/TFrameBetMethod.h"
#include "roads/TFrameRoadSheet.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRooms.h"
#include "strategy/TFrameStrategy.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class KeepWorkTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    questions.clear();
    saveQuestions.clear();
    files.clear();
    yes = true;
    answer = SaveAnswer::Cancel;
    SetMessageHook([this](MessageKind kind, const QString& text) {
      if (kind == MessageKind::Question) questions << text;
      return yes;
    });
    SetSaveHook([this](const QString& text) {
      saveQuestions << text;
      return answer;
    });
    SetFileHook([this](bool save, const QString&, const QString&) {
      if (files.isEmpty()) return QString();
      QString next = files.takeFirst();
      return save || QFile::exists(next) ? next : QString();
    });
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() {
    window.reset();
    SetMessageHook(nullptr);
    SetSaveHook(nullptr);
    SetFileHook(nullptr);
  }

  // Closing asks only after a change, names what changed, and "取消" keeps the window.
  void closeAsksOnlyWhenSomethingChanged() {
    QVERIFY(window->close());
    QVERIFY(saveQuestions.isEmpty());

    window->show();
    window->Shoes().AppendShoe({"S1", "BPB", ""});
    answer = SaveAnswer::Cancel;
    QVERIFY(!window->close());
    QCOMPARE(saveQuestions.size(), 1);
    QVERIFY(saveQuestions[0].contains(QStringLiteral("靴資料")));
    QVERIFY(!saveQuestions[0].contains(QStringLiteral("策略組合")));
    QCOMPARE(window->Shoes().Table().RecordCount(), 1);

    // "儲存" with the file dialog cancelled keeps the window too.
    answer = SaveAnswer::Save;
    QVERIFY(!window->close());
    // "儲存" with a file: saved, and closed.
    const QString path = dir.filePath(QStringLiteral("closing.DAT"));
    files << path;
    QVERIFY(window->close());
    QVERIFY(QFile::exists(path));
    QVERIFY(!window->Shoes().Changed());
  }

  void closeNamesTheChangedStrategyPages() {
    window->BtnCreateStrategy->click();   // a new page: the set changed
    TFrameStrategy* page = window->StrategyPages().back();
    page->GetStrategy().SetBetAmountEach(false);
    answer = SaveAnswer::Discard;
    QVERIFY(window->close());
    QCOMPARE(saveQuestions.size(), 1);
    QVERIFY(saveQuestions[0].contains(QStringLiteral("策略組合 (策略2)")));
    QVERIFY(!saveQuestions[0].contains(QStringLiteral("靴資料")));
  }

  // "讀入資料" over changed shoes asks; "合併資料" adds and asks nothing.
  void readingShoesOverChangedOnesAsks() {
    const QString path = dir.filePath(QStringLiteral("two.DAT"));
    window->Shoes().AppendShoe({"S1", "BPB", ""});
    window->Shoes().AppendShoe({"S2", "PPP", ""});
    QVERIFY(window->SaveData(path));
    window->Shoes().AppendShoe({"S3", "T", ""});

    answer = SaveAnswer::Cancel;
    files << path;
    window->FrameShoeStrip->BtnReadData->click();
    QCOMPARE(saveQuestions.size(), 1);
    QCOMPARE(window->Shoes().Table().RecordCount(), 3);   // cancel keeps them

    answer = SaveAnswer::Discard;
    files << path;
    window->FrameShoeStrip->BtnReadData->click();
    QCOMPARE(window->Shoes().Table().RecordCount(), 2);

    files << path;
    window->FrameShoeStrip->BtnMergeData->click();
    QCOMPARE(window->Shoes().Table().RecordCount(), 4);
    files << path;
    window->FrameShoeStrip->BtnReadData->click();   // the merge changed the shoes: asked again
    QCOMPARE(saveQuestions.size(), 3);
    QCOMPARE(window->Shoes().Table().RecordCount(), 2);
    files << path;
    saveQuestions.clear();
    window->FrameShoeStrip->BtnReadData->click();   // read just now: nothing asked
    QVERIFY(saveQuestions.isEmpty());
  }

  void readingASetOverChangedPagesAsks() {
    const QString path = dir.filePath(QStringLiteral("set.json"));
    QVERIFY(window->SaveStrategies(path));
    files << path;
    window->BtnReadStrategies->click();
    QVERIFY(saveQuestions.isEmpty());   // nothing changed

    window->StrategyPages().front()->GetStrategy().SetBetMethodEach(false);
    answer = SaveAnswer::Cancel;
    files << path;
    window->BtnReadStrategies->click();
    QCOMPARE(saveQuestions.size(), 1);
    QVERIFY(saveQuestions[0].contains(QStringLiteral("策略1")));
    QVERIFY(!window->StrategyPages().front()->GetStrategy().BetMethodEach());   // kept
  }

  void switchingAwayFromAnEditedTableAsks() {
    TFrameStrategy* page = window->StrategyPages().front();
    Strategy& strategy = page->GetStrategy();
    QtPlugInComboBox* list = page->FrameBetMethod->ComboBoxSelect;
    // Unchanged: switched without a question, and back.
    list->activated(1);
    QCOMPARE(strategy.FrameBetMethod.ItemIndex(), 1);
    list->activated(0);
    QVERIFY(questions.isEmpty());

    auto* pattern = static_cast<BetMethodPattern*>(strategy.FrameBetMethod.CurrentComponent());
    pattern->Table().Edit();
    pattern->Table().SetFieldValue("Pattern", std::string("BBB"));
    pattern->Table().Post();
    yes = false;
    list->activated(1);
    QCOMPARE(questions.size(), 1);
    QCOMPARE(strategy.FrameBetMethod.CurrentComponent(), pattern);   // kept, table and all
    QCOMPARE(list->currentIndex(), 0);
    // The same from the quick-settings list of the page.
    page->ComboBoxBetMethodChange(1);
    QCOMPARE(questions.size(), 2);
    QCOMPARE(strategy.FrameBetMethod.CurrentComponent(), pattern);
    yes = true;
    list->activated(1);
    QCOMPARE(strategy.FrameBetMethod.ItemIndex(), 1);
  }

  // Recent files, newest first and at most eight; a dropped .DAT is read or merged.
  void recentFilesAndDrops() {
    const QString path = dir.filePath(QStringLiteral("recent.DAT"));
    window->Shoes().AppendShoe({"S1", "BPB", ""});
    QVERIFY(window->SaveData(path));
    for (int i = 0; i < 9; ++i) QVERIFY(window->SaveData(dir.filePath(QStringLiteral("r%1.DAT").arg(i))));
    QCOMPARE(window->Recent.Shoes.size(), 8);
    QVERIFY(window->Recent.Shoes.first().endsWith(QStringLiteral("r8.DAT")));
    window->ReadData(path);
    QCOMPARE(window->Recent.Shoes.first(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(window->Recent.Shoes.count(QFileInfo(path).absoluteFilePath()), 1);
    const QString set = dir.filePath(QStringLiteral("recent.json"));
    QVERIFY(window->SaveStrategies(set));
    QCOMPARE(window->Recent.Strategies, QStringList{QFileInfo(set).absoluteFilePath()});

    int choice = 1;
    QStringList asked;
    QStringList offered;
    SetChoiceHook([&](const QString& text, const QStringList& answers) -> int {
      asked << text;
      offered = answers;
      return choice;
    });
    window->DropDataFile(path);   // merged
    QCOMPARE(window->Shoes().Table().RecordCount(), 2);
    choice = 2;                   // cancelled
    window->DropDataFile(path);
    QCOMPARE(window->Shoes().Table().RecordCount(), 2);
    choice = 0;                   // read, after the question about the merged shoes
    answer = SaveAnswer::Discard;
    window->DropDataFile(path);
    QCOMPARE(window->Shoes().Table().RecordCount(), 1);
    QCOMPARE(asked.size(), 3);
    QCOMPARE(offered, (QStringList{"讀入資料", "合併資料", "取消"}));
    QCOMPARE(saveQuestions.size(), 1);
    SetChoiceHook(nullptr);
  }

  void windowStateIsKeptBetweenRuns() {
    const QString ini = dir.filePath(QStringLiteral("BAWindow.ini"));
    window->WindowStateFile = ini;
    window->resize(900, 600);
    window->PageControl1->setCurrentIndex(2);
    window->Recent.Shoes = QStringList{QStringLiteral("/tmp/a.DAT")};
    QVERIFY(window->close());
    QVERIFY(QFile::exists(ini));
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->WindowStateFile = ini;
    window->ReadWindowState();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->size(), QSize(900, 600));
    QCOMPARE(window->PageControl1->currentIndex(), 2);
    QCOMPARE(window->Recent.Shoes, QStringList{QStringLiteral("/tmp/a.DAT")});

    // The road settings come back with the window; a damaged key reads as the default.
    window->SpinEditNoOfBall[1]->setValue(9);
    window->CheckBoxBallRoadIgnoreTie[2]->setChecked(true);
    window->MinorRoadSheet2->ComboBoxRoad->setCurrentText(QStringLiteral("珠路2"));
    window->MainRoadSheet->TrackBar->setValue(25);
    window->FrameGameRooms->FrameGameRoomClientBattle[1]->RoadSheet2->TrackBar->setValue(20);
    answer = SaveAnswer::Discard;
    QVERIFY(window->close());
    auto restart = [&] {
      window = std::make_unique<TFormDaruvedaZizeveva>();
      window->WindowStateFile = ini;
      window->ReadWindowState();
      window->show();
      return QTest::qWaitForWindowExposed(window.get());
    };
    QVERIFY(restart());
    QCOMPARE(window->BeadSettings().beads[1], 9);
    QCOMPARE(window->SpinEditNoOfBall[1]->value(), 9);
    QVERIFY(window->CheckBoxBallRoadIgnoreTie[2]->isChecked() && window->BeadSettings().ignoreTies[2]);
    QCOMPARE(window->MinorRoadSheet2->ComboBoxRoad->currentText(), QStringLiteral("珠路2"));
    QCOMPARE(window->MinorRoadSheet1->ComboBoxRoad->currentText(), QStringLiteral("大眼仔"));
    QCOMPARE(window->MainRoadSheet->CellSize(), 25);
    QCOMPARE(window->FrameGameRooms->FrameGameRoomClientBattle[1]->RoadSheet2->CellSize(), 20);
    window->Shoes().AppendShoe({"S1", "BBPPBBPPBB", ""});
    window->Shoes().Table().First();
    QCOMPARE(window->MinorRoadSheet2->RoadData(), std::string("BBPPBBPPB/B"));
    answer = SaveAnswer::Discard;
    QVERIFY(window->close());
    {
      QSettings edit(ini, QSettings::IniFormat);
      edit.setValue(QStringLiteral("Roads/Beads2"), QStringLiteral("nine"));
      edit.setValue(QStringLiteral("Roads/MainRoadSheet/Zoom"), 999);
      edit.setValue(QStringLiteral("Roads/MinorRoadSheet2/Road"), QStringLiteral("大路"));
    }
    QVERIFY(restart());
    QCOMPARE(window->BeadSettings().beads[1], 6);
    QCOMPARE(window->MainRoadSheet->CellSize(), 18);
    QCOMPARE(window->MinorRoadSheet2->ComboBoxRoad->currentText(), QStringLiteral("小路"));
    QVERIFY(window->BeadSettings().ignoreTies[2]);
  }

  void deletingAPageAsks() {
    window->BtnCreateStrategy->click();
    QCOMPARE(window->PageControlStrategy->count(), 2);
    yes = false;
    window->BtnDestroyStrategy->click();
    QCOMPARE(questions, QStringList{QStringLiteral("刪除本策略?")});
    QCOMPARE(window->PageControlStrategy->count(), 2);
    yes = true;
    window->BtnDestroyStrategy->click();
    QCOMPARE(window->PageControlStrategy->count(), 1);
  }

 private:
  std::unique_ptr<TFormDaruvedaZizeveva> window;
  QTemporaryDir dir;
  QStringList questions, saveQuestions, files;
  bool yes = true;
  SaveAnswer answer = SaveAnswer::Cancel;
};

QTEST_MAIN(KeepWorkTest)
#include "KeepWork_test.moc"
