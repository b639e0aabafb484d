// The three account dialogs: captions and limits, show steps, checks with their
// messages and focus, the nickname mode, and the keyboard.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class AccountDialogsTest : public QObject {
  Q_OBJECT

  QStringList messages;

  // Opens the dialog modally, runs the steps inside it, and returns exec's result.
  template <class F>
  static int Exec(QDialog& dialog, F steps) {
    QTimer::singleShot(0, &dialog, [&] {
      steps();
      if (dialog.isVisible()) dialog.reject();
    });
    return dialog.exec();
  }

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
  }
  void cleanup() { SetMessageHook(nullptr); }

  void loginChecksAndShowSteps() {
    TFormLogin login;
    QCOMPARE(login.windowTitle(), QStringLiteral("登入"));
    QCOMPARE(login.EditUserID->maxLength(), 10);
    QCOMPARE(login.EditUserPassword->echoMode(), QLineEdit::Password);
    login.EditUserID->setText(QStringLiteral("abcde12345"));
    login.EditUserPassword->setText(QStringLiteral("left over"));
    int result = Exec(login, [&] {
      QCOMPARE(login.size(), QSize(200, 100));
      QCOMPARE(login.EditUserPassword->text(), QString());  // emptied at show
      QCOMPARE(login.focusWidget(), login.EditUserID);
      login.EditUserID->setText(QStringLiteral("abc"));
      login.BtnLogin->click();
      QCOMPARE(messages.value(0), QStringLiteral("帳戶編號不正確"));
      QVERIFY(login.isVisible());
      login.EditUserID->setText(QStringLiteral("abcde12345"));
      login.EditUserPassword->setText(QStringLiteral("pw1"));
      login.BtnLogin->click();
      QCOMPARE(messages.value(1), QStringLiteral("帳戶密碼不能少於４個字"));
      QCOMPARE(login.focusWidget(), login.EditUserPassword);
      login.EditUserPassword->setText(QStringLiteral("pw12"));
      login.BtnLogin->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(login.EditUserPassword->text(), QStringLiteral("pw12"));
    QCOMPARE(Exec(login, [&] { login.BtnCancel->click(); }), int(QDialog::Rejected));
  }

  void keyboardMovesFocusAndEnterNeverConfirms() {
    TFormLogin login;
    int result = Exec(login, [&] {
      login.EditUserID->setText(QStringLiteral("abcde12345"));
      QTest::keyClick(login.EditUserID, Qt::Key_Return);
      QCOMPARE(login.focusWidget(), login.EditUserPassword);
      QTest::keyClick(login.EditUserPassword, Qt::Key_Up);
      QCOMPARE(login.focusWidget(), login.EditUserID);
      QTest::keyClick(login.EditUserID, Qt::Key_Down);
      QCOMPARE(login.focusWidget(), login.EditUserPassword);
      QTest::keyClick(login.EditUserPassword, Qt::Key_Up, Qt::ShiftModifier);  // not with Shift
      QCOMPARE(login.focusWidget(), login.EditUserPassword);
      QTest::keyClicks(login.EditUserPassword, QStringLiteral("pw12"));
      QTest::keyClick(login.EditUserPassword, Qt::Key_Return);
      QTest::keyClick(login.focusWidget(), Qt::Key_Enter);
      QVERIFY(login.isVisible());  // Enter moved on, pressed nothing
      QVERIFY(messages.isEmpty());
    });
    QCOMPARE(result, int(QDialog::Rejected));
  }

  void signUpChecks() {
    TFormSignUp signUp;
    QCOMPARE(signUp.windowTitle(), QStringLiteral("開戶"));
    QCOMPARE(signUp.EditEMail->maxLength(), 30);
    QCOMPARE(signUp.LabelNotice->text(), QStringLiteral("閣下之帳號及密碼將電郵到以下郵址"));
    int result = Exec(signUp, [&] {
      QCOMPARE(signUp.size(), QSize(250, 100));
      QCOMPARE(signUp.focusWidget(), signUp.EditEMail);
      signUp.BtnSignUp->click();
      signUp.EditEMail->setText(QStringLiteral("@example.test"));
      signUp.BtnSignUp->click();
      signUp.EditEMail->setText(QStringLiteral("me.example.test"));
      signUp.BtnSignUp->click();
      QVERIFY(signUp.isVisible());
      signUp.EditEMail->setText(QStringLiteral("me@"));
      signUp.BtnSignUp->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(messages, (QStringList{"電郵地址不能空白", "電郵地址錯誤", "電郵地址錯誤"}));
  }

  void changeInfoModes() {
    TFormChangeInfo info;
    QCOMPARE(info.windowTitle(), QStringLiteral("更改帳戶資料"));
    QVERIFY(!info.EditUserID->isEnabled());
    QVERIFY(!info.EditNickName->isEnabled());
    QCOMPARE(info.EditNickName->maxLength(), 20);
    QCOMPARE(info.BtnLogin->text(), QStringLiteral("更改"));
    info.EditEmail->setText(QStringLiteral("old@x"));
    int result = Exec(info, [&] {
      QCOMPARE(info.EditEmail->text(), QString());  // emptied at show
      QVERIFY(info.EditUserPassword->isVisible());
      QVERIFY(!info.LabelSetNickName->isVisible());
      info.EditUserPassword->setText(QStringLiteral("abc"));
      info.BtnLogin->click();
      info.EditUserPassword->setText(QStringLiteral("abcd"));
      info.EditNewPassword->setText(QStringLiteral("new"));
      info.BtnLogin->click();
      info.EditNewPassword->setText(QStringLiteral("newer"));
      info.EditConfirmPassword->setText(QStringLiteral("newel"));
      info.BtnLogin->click();
      QCOMPARE(info.focusWidget(), info.EditNewPassword);
      info.EditConfirmPassword->setText(QStringLiteral("newer"));
      info.BtnLogin->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(messages, (QStringList{"使用者密碼不能少於４個字", "新密碼不能少於４個字", "新密碼和確認新密碼不同"}));

    messages.clear();
    info.EditNickName->setText(QStringLiteral("old"));
    info.SetNickNameMode(true);
    QVERIFY(info.NickNameMode());
    QCOMPARE(info.EditNickName->text(), QString());
    result = Exec(info, [&] {
      QVERIFY(!info.EditUserPassword->isVisible());
      QVERIFY(!info.EditEmail->isVisible());
      QVERIFY(info.LabelSetNickName->isVisible());
      QCOMPARE(info.LabelSetNickName->text().split('\n').size(), 6);
      info.BtnLogin->click();  // the passwords are not checked in this mode
      QCOMPARE(info.focusWidget(), info.EditNickName);
      info.EditNickName->setText(QStringLiteral("小明"));
      info.BtnLogin->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(messages, QStringList{"網名不能空白"});
    info.SetNickNameMode(false);
    QVERIFY(!info.EditNickName->isEnabled());
    QVERIFY(!info.LabelSetNickName->isVisibleTo(&info));
    QVERIFY(info.EditUserPassword->isVisibleTo(&info));
  }
};

QTEST_MAIN(AccountDialogsTest)
#include "TFormLogin_test.moc"
