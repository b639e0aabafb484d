// What every selector of a strategy shares (the bet method and bet amount selectors
// and each additional setup page): a choice list of built-in components followed by
// the plug-in components, the one component chosen in it, and its lifetime. Choosing
// an item frees the old component with its settings and makes the new one with its
// defaults; views are told before a component goes (so that a panel showing it goes
// first) and after every switch (so that they show the new one).
//
// Self derives from this class and from Component, and gives
//   BuiltInItems()            the captions of the built-in items (UTF-8), and
//   MakeBuiltIn(int index)    the component of a built-in item;
// it may also give ComponentSwitched(), called after the component changed (made,
// freed or none), before the views are told.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zavuv {

// One plug-in component offered by a selector: its caption (UTF-8) and the factory
// that makes it, given the selector that asks. A factory may give nothing; the
// selector then has no component and forwards nothing.
template <class Component, class Owner>
struct ChoicePlugIn {
  std::string Description;
  std::function<std::unique_ptr<Component>(Owner& owner)> MakeIt;
};

template <class Component, class Self>
class ComponentChoice {
 public:
  using PlugIn = ChoicePlugIn<Component, Self>;

  // The captions of the choice list (UTF-8): the built-in items, then one per plug-in.
  std::vector<std::string> Items() const {
    std::vector<std::string> items = self().BuiltInItems();
    for (const PlugIn& p : plugIns_) items.push_back(p.Description);
    return items;
  }
  int BuiltInCount() const { return static_cast<int>(self().BuiltInItems().size()); }
  bool IsPlugInItem(int index) const { return index >= BuiltInCount(); }
  // The chosen item, -1 before the first choice.
  int ItemIndex() const { return itemIndex_; }
  // The caption of the chosen item, empty before the first choice.
  std::string ItemCaption() const {
    if (itemIndex_ < 0) return {};
    return Items()[static_cast<std::size_t>(itemIndex_)];
  }

  // Switches to the item: the old component goes with its settings, a new one is made
  // with its defaults. An index outside the list is refused (std::out_of_range) and
  // changes nothing.
  void ComboBoxSelectChange(int index) {
    const int builtIns = BuiltInCount();
    if (index < 0 || index >= builtIns + static_cast<int>(plugIns_.size()))
      throw std::out_of_range("no choice " + std::to_string(index) + " in the list");
    ReleaseComponent();
    itemIndex_ = index;
    if (index < builtIns) {
      current_ = self().MakeBuiltIn(index);
    } else if (const PlugIn& p = plugIns_[static_cast<std::size_t>(index - builtIns)]; p.MakeIt) {
      current_ = p.MakeIt(self());
    }
    self().ComponentSwitched();
    if (OnComponentChanged) OnComponentChanged();
  }
  // Appends a plug-in item after the others.
  void AddPlugIn(PlugIn plugIn) { plugIns_.push_back(std::move(plugIn)); }
  const std::vector<PlugIn>& PlugIns() const { return plugIns_; }
  // Frees the chosen component, if any; the choice itself stays.
  void ReleaseComponent() {
    if (!current_) return;
    if (OnComponentChanging) OnComponentChanging();
    current_.reset();
    self().ComponentSwitched();
  }

  Component* CurrentComponent() const { return current_.get(); }
  // The chosen component as one kind, or null.
  template <class T>
  T* ComponentAs() const { return dynamic_cast<T*>(current_.get()); }

  // Told before the chosen component goes (views let go of it and its tables), and
  // after every switch of component (views put the new one on show).
  std::function<void()> OnComponentChanging;
  std::function<void()> OnComponentChanged;

 protected:
  ComponentChoice() = default;
  ~ComponentChoice() = default;
  ComponentChoice(const ComponentChoice&) = delete;
  ComponentChoice& operator=(const ComponentChoice&) = delete;
  void ComponentSwitched() {}

 private:
  const Self& self() const { return static_cast<const Self&>(*this); }
  Self& self() { return static_cast<Self&>(*this); }

  std::unique_ptr<Component> current_;
  int itemIndex_ = -1;
  std::vector<PlugIn> plugIns_;
};

}  // namespace zavuv
