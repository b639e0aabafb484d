// The toolkit's own dialogs speak Traditional Chinese once its translations are loaded.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "widgets/QtTranslations.h"

class TranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void fileDialogAndButtonsInChinese() {
    QVERIFY(zavuv::LoadToolkitTranslations());
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) texts << button->text();
    QVERIFY2(texts.join(QLatin1Char(' ')).contains(QRegularExpression(QStringLiteral("檔(名|案名稱)"))), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(!texts.contains(QStringLiteral("File &name:")));
  }
};

QTEST_MAIN(TranslationsTest)
#include "Translations_test.moc"
