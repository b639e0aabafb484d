#include "widgets/QtMessages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
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
UrlHook& urlHook() {
  static UrlHook hook;
  return hook;
}

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

void ShowError(QWidget* parent, const QString& text) {
  if (messageHook()) {
    messageHook()(MessageKind::Error, text);
    return;
  }
  QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

void ShowMessage(QWidget* parent, const QString& text) {
  if (messageHook()) {
    messageHook()(MessageKind::Information, text);
    return;
  }
  QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
}

bool AskYesNo(QWidget* parent, const QString& text) {
  if (messageHook()) return messageHook()(MessageKind::Question, text);
  return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
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
