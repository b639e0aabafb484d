// Plug-ins in the desktop program: the start-up scan of the window's working
// directory, the settings panels of the sample modules, the drawing of plug-in items,
// and a plug-in strategy run on the window's own tables against zavuv-cli backtest.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/TFormDaruvedaZizeveva.h"
#include "contracts/StrategyHost.h"
#include "plugins/PlugInComponent.h"
#include "plugins/QtPlugInItemDelegate.h"
#include "plugins/QtPlugInPanel.h"
#include "roads/TRoad.h"
#include "strategy/MultiStrategyAnalysis.h"
#include "strategy/Strategy.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

namespace {

QString Setting(Published* component, const std::string& name) {
  for (const auto& [n, v] : PlugInCoreOf(component)->Settings())
    if (n == name) return QString::fromStdString(v);
  return QStringLiteral("(none)");
}

// How many pixels of the picture are near the colour.
int Pixels(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
          std::abs(c.blue() - colour.blue()) < 40)
        ++n;
    }
  return n;
}

class Delegate : public QtPlugInItemDelegate {
 public:
  using QtPlugInItemDelegate::initStyleOption;
  using QtPlugInItemDelegate::QtPlugInItemDelegate;
};

}  // namespace

class PlugInsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder.isValid());
    const QDir samples(QStringLiteral(ZAVUV_PLUGIN_DIR));
    const QDir tests(QStringLiteral(ZAVUV_TEST_PLUGIN_DIR));
    for (const char* name : {"BAFollowLast.so", "BAMartingale.so", "BAStopAfterLosses.so"})
      QVERIFY(QFile::copy(samples.filePath(name), folder.filePath(name)));
    QVERIFY(QFile::copy(tests.filePath("BANoType.so"), folder.filePath("BANoType.so")));
    QVERIFY(QFile::copy(tests.filePath("BAOtherVersion.so"), folder.filePath("BAOtherVersion.so")));
    QFile junk(folder.filePath("BAJunk.so"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("\x7f" "ELF but no more");
    junk.close();
    home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }

  void cleanupTestCase() {
    window.reset();
    SetMessageHook(nullptr);
    QDir::setCurrent(home);
  }

  void startUpScanRegistersTheModulesOfTheWorkingDirectory() {
    // Shown once each while the window was created; the damaged file said nothing.
    QCOMPARE(messages, (QStringList{"no plugintype", "Plugins與主程式版本不配合: BAOtherVersion.so"}));
    const auto& records = window->PlugIns.Records();
    QCOMPARE(records.size(), std::size_t(3));
    QCOMPARE(QString::fromStdString(records[0].Description), QStringLiteral("跟隨上一局"));
    QCOMPARE(QString::fromStdString(records[2].Description), QStringLiteral("連輸後停止本靴"));
    for (const TPlugIns& r : records) QVERIFY(r.MakePanel);
    QCOMPARE(window->PlugInScan.size(), std::size_t(6));

    Strategy s;
    window->AddPlugIns(s);
    QCOMPARE(s.FrameBetMethod.Items().size(), std::size_t(3));
    QCOMPARE(QString::fromStdString(s.FrameBetAmount.Items()[5]), QStringLiteral("馬丁加倍注碼"));
    QCOMPARE(QString::fromStdString(s.CreateSetup().Items()[4]), QStringLiteral("連輸後停止本靴"));
  }

  void panelsEditTheSettingsAndGoBeforeTheirComponent() {
    Strategy s;
    window->AddPlugIns(s);
    QWidget page;
    s.SelectBetAmount(0);
    QCOMPARE(MakePlugInPanel(s.FrameBetAmount.CurrentComponent(), &page), nullptr);   // a built-in

    s.SelectBetAmount(5);
    QPointer<QWidget> panel = MakePlugInPanel(s.FrameBetAmount.CurrentComponent(), &page);
    QVERIFY(panel);
    QCOMPARE(panel->parentWidget(), &page);
    auto* cap = panel->findChild<QSpinBox*>(QStringLiteral("SpinEditCap"));
    auto* base = panel->findChild<QSpinBox*>(QStringLiteral("SpinEditBase"));
    QVERIFY(cap && base);
    QCOMPARE(cap->value(), 3200);
    cap->setValue(800);
    base->setValue(25);
    QCOMPARE(Setting(s.FrameBetAmount.CurrentComponent(), "cap"), QStringLiteral("800"));
    QCOMPARE(Setting(s.FrameBetAmount.CurrentComponent(), "base"), QStringLiteral("25"));
    // The next choice frees the component; its panel goes first.
    s.SelectBetAmount(1);
    QVERIFY(panel.isNull());

    s.SelectBetMethod(2);
    auto* method = MakePlugInPanel(s.FrameBetMethod.CurrentComponent(), &page);
    auto* reverse = method->findChild<QCheckBox*>(QStringLiteral("CheckBoxReverse"));
    QVERIFY(reverse);
    reverse->setChecked(true);
    QCOMPARE(Setting(s.FrameBetMethod.CurrentComponent(), "reverse"), QStringLiteral("1"));

    AdditionalSetup& setup = s.CreateSetup();
    setup.ComboBoxSelectChange(4);
    {
      // A panel the view deleted first is not deleted again.
      QWidget other;
      auto* losses = MakePlugInPanel(setup.CurrentSetup(), &other)->findChild<QSpinBox*>(
          QStringLiteral("SpinEditLosses"));
      QVERIFY(losses);
      losses->setValue(5);
      QCOMPARE(Setting(setup.CurrentSetup(), "losses"), QStringLiteral("5"));
    }
    setup.ComboBoxSelectChange(0);
    s.ReleaseComponents();
    QVERIFY(s.FrameBetMethod.CurrentComponent() == nullptr);
  }

  void plugInItemsAreDrawnBoldRedAndYellowWhenSelected() {
    QComboBox list;
    list.addItems({"一般級數變動的注碼法", "平注", "消數纜", "反消數纜", "孖寶纜", "馬丁加倍注碼"});
    MarkPlugInItems(&list, 5);
    auto* delegate = dynamic_cast<QtPlugInItemDelegate*>(list.itemDelegate());
    QVERIFY(delegate);
    QCOMPARE(delegate->FirstPlugInItem(), 5);

    Delegate probe(5);
    auto draw = [&](int row, bool selected, QFont* font) {
      QImage image(160, 20, QImage::Format_RGB32);
      image.fill(Qt::white);
      QStyleOptionViewItem option;
      option.rect = image.rect();
      option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
      option.palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
      option.palette.setColor(QPalette::Base, Qt::white);
      QModelIndex index = list.model()->index(row, 0);
      QStyleOptionViewItem styled(option);
      probe.initStyleOption(&styled, index);
      if (font) *font = styled.font;
      QPainter painter(&image);
      probe.paint(&painter, option, index);
      painter.end();
      return image;
    };
    QFont font;
    QImage plugIn = draw(5, false, &font);
    QVERIFY(font.bold());
    QVERIFY(Pixels(plugIn, Qt::red) > 10);
    QCOMPARE(Pixels(plugIn, Qt::yellow), 0);
    QImage selected = draw(5, true, nullptr);
    QVERIFY(Pixels(selected, Qt::yellow) > 10);
    QCOMPARE(Pixels(selected, Qt::red), 0);
    QImage builtIn = draw(1, false, &font);
    QVERIFY(!font.bold());
    QCOMPARE(Pixels(builtIn, Qt::red), 0);
  }

  void aPlugInStrategyOnTheWindowsTablesMatchesBacktest() {
    const QString shoes = QStringLiteral(ZAVUV_SOURCE_DIR "/data/sample.DAT");
    window->ReadData(shoes);
    QVERIFY(!window->Shoes().Table().IsEmpty());
    StrategyHost host{&window->Shoes(), &window->DisplayRoad(), &window->AnalysisRoad(), &window->BeadSettings()};
    auto s = MultiStrategyAnalysis::CreateStrategy(&host, "跟隨", 0, 0, &window->PlugIns);
    s->RoadIndex = 3;
    s->SelectBetMethod(2);
    s->SelectBetAmount(5);
    PlugInCoreOf(s->FrameBetAmount.CurrentComponent())->SetSetting("cap", "1600");
    s->CreateSetup().ComboBoxSelectChange(4);
    MultiStrategyAnalysis multi(&host);
    multi.Strategies = {s.get()};
    multi.AnalysisAllShoes();
    QVERIFY(s->NoOfBet > 100);

    QFile set(folder.filePath("set.json"));
    QVERIFY(set.open(QIODevice::WriteOnly));
    set.write(R"({"strategies": [{"name": "跟隨", "road": 3,
      "method": {"kind": "plugin", "description": "跟隨上一局"},
      "amount": {"kind": "plugin", "description": "馬丁加倍注碼", "settings": {"cap": 1600}},
      "setups": [{"kind": "plugin", "description": "連輸後停止本靴"}]}]})");
    set.close();
    QProcess cli;
    cli.start(QStringLiteral(ZAVUV_CLI), {"backtest", shoes, set.fileName(), "--rows", "all"});   // plug-ins of "."
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QJsonObject out = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QJsonArray rows = out["strategies"].toArray()[0].toObject()["rows"].toArray();
    const ResultTable& t = s->ClientDataSetAnalysis;
    QCOMPARE(rows.size(), t.RecordCount());
    for (int r = 0; r < t.RecordCount(); ++r) {
      QJsonArray row = rows[r].toArray();
      const ResultTable::Row& x = t.At(r);
      QCOMPARE(row[0].toString(), QString::fromStdString(Big5ToUtf8(t.ShoesNameAt(r))));
      QCOMPARE(row[1].toInt(), x.gameNo);
      QCOMPARE(row[2].toString(), QString(QChar(x.bet)));
      QCOMPARE(row[3].toInt(), x.betAmount);
      QCOMPARE(row[5].toDouble(), x.profit);
      QCOMPARE(row[6].toDouble(), x.accProfit);
    }
    QCOMPARE(out["combined"].toArray().size(), multi.ClientDataSetAnalysis.RecordCount());
  }

 private:
  QTemporaryDir folder;
  QString home;
  QStringList messages;
  std::unique_ptr<TFormDaruvedaZizeveva> window;
};

QTEST_MAIN(PlugInsTest)
#include "PlugIns_test.moc"
