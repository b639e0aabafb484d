// The common panel of the two selectors (pages "投注法" and "注碼法"): the selector
// page of every strategy selector, with the selector's copy of the per-shoe restart
// box after the list.
#pragma once

#include "bets/BetSelector.h"
#include "bets/QtChoicePage.h"
#include "bets/TFrameCommonBet.h"

class QCheckBox;

namespace zavuv {

class QtPlugInComboBox;

class TFrameBetSelector : public TFrameCommonBet {
  Q_OBJECT

 public:
  ~TFrameBetSelector() override;

  BetSelector& Selector() { return selector_; }
  // The panel of the chosen component (null when there is none).
  TFrameCommonBet* CurrentView() const { return static_cast<TFrameCommonBet*>(page_.View()); }
  void LoadSettings() override;

  // Appends a plug-in item to the engine's selector and to the list.
  void AddPlugIn(BetPlugIn plugIn);
  // Shows the list's items and choice and the restart box as the engine has them.
  void LoadChoices();
  // Whether the selector may switch to `index`: always for its own item or a
  // component without changes; otherwise the user is asked, since the switch throws
  // away the table edited by hand.
  static bool MayReplace(QWidget* parent, const BetSelector& selector, int index);

  // The controls of the selector page.
  QWidget* PanelSelect = nullptr;
  QLabel* Label1 = nullptr;
  QtPlugInComboBox* ComboBoxSelect = nullptr;
  QCheckBox* CheckBoxEach = nullptr;
  QFrame* Panel1 = nullptr;

 signals:
  // The selector switched to this item (by any means).
  void componentChanged(int index);
  // The user clicked the restart box; the strategy page mirrors it.
  void eachClicked(bool checked);

 public slots:
  // The user chose an item of the list.
  void ComboBoxSelectChange(int index);

 protected:
  TFrameBetSelector(BetSelector& selector, const char* caption, const char* eachName, const char* eachCaption,
                    QWidget* parent);
  // The panel of a built-in component, or null for one the selector does not know.
  virtual TFrameCommonBet* MakeView(CommonBet& component) = 0;
  // Puts the panel of the engine's current component on show (derived panels call it
  // once they can make panels, for a selector that already has a component).
  void ComponentChanged();

 private:
  BetSelector& selector_;
  QtChoicePage page_;
};

}  // namespace zavuv
