// Every message box, question and file choice of the program goes through these
// functions. With no hook installed they show the toolkit's modal dialogs; a test
// (or a batch run) installs hooks that record the texts and answer for the user.
#pragma once

#include <QString>
#include <QUrl>
#include <exception>
#include <functional>

class QWidget;

namespace zavuv {

enum class MessageKind { Error, Information, Question };

// Receives a message; for a question its return value is the answer (Yes = true).
using MessageHook = std::function<bool(MessageKind kind, const QString& text)>;
// Receives a file choice: save or open, the filter (as "Name (*.EXT)") and the
// default extension; returns the chosen path or an empty text for "cancelled".
using FileHook = std::function<QString(bool save, const QString& filter, const QString& defaultExt)>;
// Receives an address the program wants to open with the desktop's default handler.
using UrlHook = std::function<void(const QUrl& url)>;

void SetMessageHook(MessageHook hook);
void SetFileHook(FileHook hook);
void SetUrlHook(UrlHook hook);

// An error of a user action: the standard error box.
void ShowError(QWidget* parent, const QString& text);
// A plain message box with an OK button.
void ShowMessage(QWidget* parent, const QString& text);
// A Yes/No question; true for Yes.
bool AskYesNo(QWidget* parent, const QString& text);
// The file dialogs. The filter is given as "百家樂資料|*.DAT"; the dialog starts in the
// current directory with the given file name (empty by default). An empty result
// means cancelled.
QString ChooseOpenFile(QWidget* parent, const QString& filter, const QString& defaultExt,
                       const QString& fileName = QString());
QString ChooseSaveFile(QWidget* parent, const QString& filter, const QString& defaultExt,
                       const QString& fileName = QString());
// Opens an address with the desktop's default handler.
void OpenUrl(const QUrl& url);

// The text of an engine error (engine messages are UTF-8).
QString ErrorText(const std::exception& e);

// Runs a user action; an error it raises is shown in the error box and the program
// goes on. Returns false when the action failed.
template <class F>
bool Guarded(QWidget* parent, F&& action) {
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    ShowError(parent, ErrorText(e));
  } catch (...) {
    ShowError(parent, QStringLiteral("未知的錯誤"));
  }
  return false;
}

}  // namespace zavuv
