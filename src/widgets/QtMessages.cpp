#include "widgets/QtMessages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QApplication>

namespace zavuv {

namespace {

MessageHook& messageHook() {
  static MessageHook hook;
  return hook;
}
FileHook& fileHook() {
  static FileHook hook;
  return hook;
}
SaveHook& saveHook() {
  static SaveHook hook;
  return hook;
}
ChoiceHook& choiceHook() {
  static ChoiceHook hook;
  return hook;
}
UrlHook& urlHook() {
  static UrlHook hook;
  return hook;
}
QString& programTitle() {
  static QString title;
  return title;
}

// Every box shows its text as plain text: many texts come from the server or from
// files, and the toolkit would otherwise take one that looks like markup for markup.
void Plain(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

// "百家樂資料|*.DAT" becomes "百家樂資料 (*.DAT *.dat)": the toolkit's filter syntax, and
// the extension in either case, since file systems here tell the cases apart. A
// description that already names its pattern, "百家樂投注法(*.MED)|*.MED", keeps its
// wording: "百家樂投注法(*.MED *.med)".
QString QtFilter(const QString& filter) {
  QStringList parts = filter.split(QLatin1Char('|'));
  if (parts.size() < 2) return filter;
  QString pattern = parts[1];
  QString lower = pattern.toLower();
  if (lower != pattern) pattern += QLatin1Char(' ') + lower;
  const QString named = QLatin1Char('(') + parts[1] + QLatin1Char(')');
  if (parts[0].endsWith(named)) return parts[0].chopped(named.size()) + QLatin1Char('(') + pattern + QLatin1Char(')');
  return parts[0] + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QString Choose(QWidget* parent, bool save, const QString& filter, const QString& defaultExt,
               const QString& fileName) {
  QString qtFilter = QtFilter(filter);
  if (fileHook()) return fileHook()(save, qtFilter, defaultExt);
  QFileDialog dialog(parent);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(qtFilter);
  dialog.setDefaultSuffix(defaultExt);
  dialog.setDirectory(QDir::current());
  dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

void SetMessageHook(MessageHook hook) { messageHook() = std::move(hook); }
void SetFileHook(FileHook hook) { fileHook() = std::move(hook); }
void SetUrlHook(UrlHook hook) { urlHook() = std::move(hook); }
void SetSaveHook(SaveHook hook) { saveHook() = std::move(hook); }
void SetChoiceHook(ChoiceHook hook) { choiceHook() = std::move(hook); }

void SetProgramTitle(const QString& title) { programTitle() = title; }
QString ProgramTitle() {
  return programTitle().isEmpty() ? QApplication::applicationName() : programTitle();
}

int AskChoice(QWidget* parent, const QString& text, const QStringList& answers) {
  const int cancel = static_cast<int>(answers.size()) - 1;
  if (choiceHook()) return choiceHook()(text, answers);
  if (messageHook()) return messageHook()(MessageKind::Question, text) ? 0 : cancel;
  QMessageBox box(QMessageBox::Question, ProgramTitle(), text, QMessageBox::NoButton, parent);
  Plain(box);
  QList<QAbstractButton*> buttons;
  for (int i = 0; i < answers.size(); ++i)
    buttons << box.addButton(answers[i], i == cancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
  if (!buttons.isEmpty()) {
    box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
    box.setEscapeButton(buttons.last());
  }
  box.exec();
  const int chosen = static_cast<int>(buttons.indexOf(box.clickedButton()));
  return chosen < 0 ? cancel : chosen;
}

void ShowError(QWidget* parent, const QString& text) {
  if (messageHook()) {
    messageHook()(MessageKind::Error, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ProgramTitle(), text, QMessageBox::Ok, parent);
  Plain(box);
  box.exec();
}

void ShowMessage(QWidget* parent, const QString& text) {
  if (messageHook()) {
    messageHook()(MessageKind::Information, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok, parent);
  Plain(box);
  box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text) {
  if (messageHook()) return messageHook()(MessageKind::Question, text);
  QMessageBox box(QMessageBox::Question, ProgramTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  Plain(box);
  return box.exec() == QMessageBox::Yes;
}

SaveAnswer AskSave(QWidget* parent, const QString& text) {
  if (saveHook()) return saveHook()(text);
  // A message hook without a save hook answers as for a question: go on without saving
  // (Yes) or cancel (No).
  if (messageHook()) return messageHook()(MessageKind::Question, text) ? SaveAnswer::Discard : SaveAnswer::Cancel;
  QMessageBox box(QMessageBox::Warning, ProgramTitle(), text, QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("AskSave"));
  Plain(box);
  QPushButton* save = box.addButton(QStringLiteral("儲存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("不儲存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveAnswer::Save;
  if (box.clickedButton() == discard) return SaveAnswer::Discard;
  return SaveAnswer::Cancel;
}

QString ChooseOpenFile(QWidget* parent, const QString& filter, const QString& defaultExt, const QString& fileName) {
  return Choose(parent, false, filter, defaultExt, fileName);
}

QString ChooseSaveFile(QWidget* parent, const QString& filter, const QString& defaultExt, const QString& fileName) {
  return Choose(parent, true, filter, defaultExt, fileName);
}

void OpenUrl(const QUrl& url) {
  if (urlHook()) {
    urlHook()(url);
    return;
  }
  QDesktopServices::openUrl(url);
}

QString ErrorText(const std::exception& e) { return QString::fromUtf8(e.what()); }

}  // namespace zavuv
