#include "plugins/QtPlugInPanel.h"

#include <QPointer>
#include <QWidget>

#include "plugins/PlugInComponent.h"

namespace zavuv {

QWidget* MakePlugInPanel(Published* component, QWidget* parent) {
  PlugInCore* core = PlugInCoreOf(component);
  if (!core || !core->Record().MakePanel) return nullptr;
  // The export's real signature, which the engine keeps untyped.
  using MakePanelFn = QWidget* (*)(void* self, QWidget* parent);
  auto makePanel = reinterpret_cast<MakePanelFn>(core->Record().MakePanel);
  void* self = core->Self();
  QWidget* panel = CallPlugIn([&] { return makePanel(self, parent); });
  if (!panel) return nullptr;
  // The component goes when its selector lets it go; its panel goes first.
  QPointer<QWidget> guard(panel);
  core->OnRelease([guard] { delete guard.data(); });
  return panel;
}

}  // namespace zavuv
