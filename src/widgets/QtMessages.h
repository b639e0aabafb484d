// Every message box, question and file choice of the program goes through these
// functions. With no hook installed they show the toolkit's modal dialogs; a test
// (or a batch run) installs hooks that record the texts and answer for the user.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <exception>
#include <functional>

class QWidget;

namespace zavuv {

enum class MessageKind { Error, Information, Question };

// Receives a message; for a question its return value is the answer (Yes = true).
using MessageHook = std::function<bool(MessageKind kind, const QString& text)>;
// The answer to "save the changes?".
enum class SaveAnswer { Save, Discard, Cancel };
// Receives that question (its text names what changed) and answers for the user.
using SaveHook = std::function<SaveAnswer(const QString& text)>;
// Receives a question with several answers (the last one cancels) and returns the
// index of the answer chosen.
using ChoiceHook = std::function<int(const QString& text, const QStringList& answers)>;
// Receives a file choice: save or open, the filter (as "Name (*.EXT)") and the
// default extension; returns the chosen path or an empty text for "cancelled".
using FileHook = std::function<QString(bool save, const QString& filter, const QString& defaultExt)>;
// Receives an address the program wants to open with the desktop's default handler.
using UrlHook = std::function<void(const QUrl& url)>;

void SetMessageHook(MessageHook hook);
void SetFileHook(FileHook hook);
void SetUrlHook(UrlHook hook);
void SetSaveHook(SaveHook hook);
void SetChoiceHook(ChoiceHook hook);

// The program's title, the caption of every message box: the program's name until
// the server names the user, then the window's caption with the nickname.
void SetProgramTitle(const QString& title);
QString ProgramTitle();

// The boxes show their text as plain text, exactly as given.
// An error of a user action: the standard error box.
void ShowError(QWidget* parent, const QString& text);
// A plain message box (no icon) with an OK button.
void ShowMessage(QWidget* parent, const QString& text);
// A Yes/No question; true for Yes.
bool AskYesNo(QWidget* parent, const QString& text);
// Asks whether to save changes before they would be lost: "儲存", "不儲存", "取消".
// With only a message hook installed, the hook's question answers Yes for "不儲存".
SaveAnswer AskSave(QWidget* parent, const QString& text);
// A question with buttons named by `answers`, the last of which cancels (also Escape);
// the index of the answer. With only a message hook, Yes gives 0 and No the last.
int AskChoice(QWidget* parent, const QString& text, const QStringList& answers);
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
