// The settings panel of a plug-in component, made by the module's MakePanel export.
// Only the window calls it: the component itself needs no display. The panel is
// deleted before the component is freed, so it may refer to the component's
// settings for as long as it lives.
#pragma once

class QWidget;

namespace zavuv {

class Published;

// The panel of a plug-in component, made with the given parent; null for a built-in
// component, a module without MakePanel, or a MakePanel that makes nothing.
QWidget* MakePlugInPanel(Published* component, QWidget* parent);

}  // namespace zavuv
