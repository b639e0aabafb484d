// The generic table model and navigator over a real ClientDataSet.
#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "table/Big5.h"
#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

using namespace zavuv;

namespace {

ClientDataSet* MakeShoes() {
  auto* set = new ClientDataSet({{"ShoesName", FieldType::String, 20, "靴名", 15},
                                 {"ShoesResult", FieldType::String, 100, "開出結果", 80},
                                 {"GameNo", FieldType::Integer, 0, "局數", 0}});
  for (int i = 0; i < 3; ++i) set->AppendRow({Utf8ToBig5("第" + std::to_string(i + 1) + "靴"), std::string("BP"), i});
  return set;
}

}  // namespace

class QtTableModelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return answer;
    });
  }

  void followsEveryKindOfChange() {
    std::unique_ptr<ClientDataSet> set(MakeShoes());
    QtTableModel model(set.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 3);

    set->First();
    set->Insert();                       // before the first row
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("*"));
    set->SetFieldValue("ShoesName", Utf8ToBig5("新靴"));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("新靴"));
    set->Cancel();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("第1靴"));

    set->Append();
    set->Post();
    QCOMPARE(model.rowCount(), 4);
    set->Delete();
    QCOMPARE(model.rowCount(), 3);

    // A batch with the controls disabled arrives as one reset.
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    set->DisableControls();
    set->EmptyDataSet();
    for (int i = 0; i < 5; ++i) set->AppendRow({std::string("X"), std::string("T"), i});
    QCOMPARE(model.rowCount(), 3);       // the view still knows the old rows
    QVERIFY(!model.index(2, 0).data().isNull());
    set->EnableControls();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.index(4, 2).data().toInt(), 4);
  }

  void showsUnicodeAndLabels() {
    std::unique_ptr<ClientDataSet> set(MakeShoes());
    QtTableModel model(set.get());
    model.SetColumns({"ShoesName", "ShoesResult"});
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("靴名"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("開出結果"));
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("第2靴"));
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("▶"));
    QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString());
    QtTableModel readOnly(set.get());
    readOnly.SetReadOnly(true);
    QVERIFY(!(readOnly.flags(readOnly.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
  }

  void editsGoThroughTheStates() {
    std::unique_ptr<ClientDataSet> set(MakeShoes());
    int posts = 0;
    set->BeforePost = [&](ClientDataSet&) { ++posts; };
    QtTableModel model(set.get());
    set->First();
    // Editing a cell of another row moves there and starts Edit; Big5 is stored,
    // cut to the field's 20 bytes without splitting a character.
    QVERIFY(model.setData(model.index(2, 0), QStringLiteral("一二三四五六七八九十甲")));
    QCOMPARE(set->RecNo(), 3);
    QCOMPARE(set->State(), DataSetState::Edit);
    QCOMPARE(AsString(set->FieldValue("ShoesName")), Utf8ToBig5("一二三四五六七八九十"));
    QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("I"));
    QCOMPARE(posts, 0);
    QVERIFY(model.setData(model.index(2, 2), QStringLiteral("")));   // an empty number is null
    QVERIFY(IsNull(set->FieldValue("GameNo")));
    set->Post();
    QCOMPARE(posts, 1);

    // A refused post is shown and leaves the record pending.
    set->BeforePost = [](ClientDataSet&) { throw TableError("名稱不可空白"); };
    QVERIFY(model.setData(model.index(0, 1), QStringLiteral("PPP")));
    QVERIFY(!model.setData(model.index(1, 1), QStringLiteral("BBB")));
    QCOMPARE(messages, QStringList{QStringLiteral("名稱不可空白")});
    QCOMPARE(set->RecNo(), 1);
    QCOMPARE(set->State(), DataSetState::Edit);
  }

  void viewAndCursorFollowEachOther() {
    std::unique_ptr<ClientDataSet> set(MakeShoes());
    QtTableModel model(set.get());
    model.SetColumns({"ShoesName", "ShoesResult"});
    QTableView view;
    model.BindView(&view);
    view.show();
    set->Last();
    QCOMPARE(view.currentIndex().row(), 2);
    int scrolls = 0;
    set->AfterScroll = [&] { ++scrolls; };
    view.setCurrentIndex(model.index(1, 1));
    QCOMPARE(set->RecNo(), 2);
    QCOMPARE(scrolls, 1);
    // An insert shows the new row as current, without moving the table again.
    set->Insert();
    QCOMPARE(view.currentIndex().row(), 1);
    QCOMPARE(scrolls, 2);
    set->Cancel();
    QCOMPARE(view.currentIndex().row(), 1);
    QCOMPARE(AsString(set->FieldValue("ShoesName")), Utf8ToBig5("第2靴"));

    // Opening a cell editor starts Edit and limits the text to the field width.
    set->First();
    view.edit(model.index(2, 0));
    auto* editor = view.findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->maxLength(), 20);
    QCOMPARE(set->RecNo(), 3);
    QCOMPARE(set->State(), DataSetState::Edit);
  }

  void navigatorButtons() {
    std::unique_ptr<ClientDataSet> set(MakeShoes());
    QtNavigator nav;
    nav.SetTable(set.get());
    nav.SetHints({"a", "b", "c", "d", "e", "f", "g", "h", "i"});
    QCOMPARE(nav.ButtonOf(QtNavigator::Cancel)->toolTip(), QStringLiteral("i"));
    set->First();
    QVERIFY(!nav.ButtonOf(QtNavigator::First)->isEnabled());
    QVERIFY(!nav.ButtonOf(QtNavigator::Prior)->isEnabled());
    QVERIFY(nav.ButtonOf(QtNavigator::Next)->isEnabled());
    QVERIFY(!nav.ButtonOf(QtNavigator::Post)->isEnabled());
    QTest::mouseClick(nav.ButtonOf(QtNavigator::Last), Qt::LeftButton);
    QCOMPARE(set->RecNo(), 3);
    QVERIFY(!nav.ButtonOf(QtNavigator::Next)->isEnabled());
    nav.Click(QtNavigator::Insert);
    QCOMPARE(set->State(), DataSetState::Insert);
    QCOMPARE(set->RecNo(), 3);
    QCOMPARE(set->RecordCount(), 4);
    QVERIFY(nav.ButtonOf(QtNavigator::Post)->isEnabled());
    QVERIFY(!nav.ButtonOf(QtNavigator::Edit)->isEnabled());
    nav.Click(QtNavigator::Cancel);
    QCOMPARE(set->RecordCount(), 3);
    nav.Click(QtNavigator::Edit);
    QCOMPARE(set->State(), DataSetState::Edit);
    nav.Click(QtNavigator::Post);
    QCOMPARE(set->State(), DataSetState::Browse);

    // Delete asks first; No keeps the record.
    answer = false;
    nav.Click(QtNavigator::Delete);
    QCOMPARE(set->RecordCount(), 3);
    QCOMPARE(messages.size(), 1);
    answer = true;
    nav.Click(QtNavigator::Delete);
    QCOMPARE(set->RecordCount(), 2);

    nav.SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
    QVERIFY(nav.ButtonOf(QtNavigator::Last)->isVisibleTo(&nav));
    QVERIFY(!nav.ButtonOf(QtNavigator::Insert)->isVisibleTo(&nav));
    nav.SetTable(nullptr);
    QVERIFY(!nav.ButtonOf(QtNavigator::Insert)->isEnabled());
  }

 private:
  QStringList messages;
  bool answer = true;
};

QTEST_MAIN(QtTableModelTest)
#include "QtTableModel_test.moc"
