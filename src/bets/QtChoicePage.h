// What every selector page of a strategy shares (the "投注法" and "注碼法" pages and
// each page of the "附加設定" tab): the strip PanelSelect with the caption Label1 and
// the owner-drawn list ComboBoxSelect (built-in items, then plug-ins), and below it
// Panel1, which shows the panel of the component chosen. The page follows its engine
// selector: whoever switches the component (the list, a mirrored list, a strategy
// file), the old panel goes before the component does and the new one is shown.
#pragma once

#include <QFrame>
#include <QString>
#include <string>
#include <vector>

class QHBoxLayout;
class QLabel;
class QWidget;

namespace zavuv {

class Published;
class QtPlugInComboBox;

class QtChoicePage {
 public:
  // Lays out `page`: the strip (with `stripMargin` above and below) and Panel1.
  QtChoicePage(QWidget* page, const char* caption, int builtInCount, int stripMargin);
  ~QtChoicePage();
  QtChoicePage(const QtChoicePage&) = delete;
  QtChoicePage& operator=(const QtChoicePage&) = delete;

  QWidget* PanelSelect = nullptr;
  QLabel* Label1 = nullptr;
  QtPlugInComboBox* ComboBoxSelect = nullptr;
  QFrame* Panel1 = nullptr;
  QHBoxLayout* Strip = nullptr;   // for controls after the list

  // Fills the list with the items and shows the chosen one (-1: none), emitting nothing.
  void LoadItems(const std::vector<std::string>& items, int index);
  void AddItem(const std::string& caption);
  void ShowIndex(int index);

  // The panel on show, null when there is none.
  QWidget* View() const { return view_; }
  // Deletes the panel on show: before its component goes.
  void DropView();
  // Shows the panel of the component chosen at `index`: `builtIn` when the page made
  // one; otherwise, for a chosen item, a `Wrapper` named `wrapperName` that holds the
  // panel the plug-in's module makes for `component`, or the item's caption when it
  // makes none (the wrapper, and the module's panel in it, go before the component).
  template <class Wrapper>
  QWidget* ShowView(QWidget* builtIn, Published* component, int index, const char* wrapperName) {
    DropView();
    QWidget* view = builtIn;
    if (!view && index >= 0) {
      view = new Wrapper(Panel1);
      view->setObjectName(QString::fromLatin1(wrapperName));
      FillPlugInWrapper(view, component, index);
    }
    Put(view, index);
    return view;
  }

 private:
  void FillPlugInWrapper(QWidget* wrapper, Published* component, int index);
  void Put(QWidget* view, int index);

  QWidget* view_ = nullptr;
};

}  // namespace zavuv
