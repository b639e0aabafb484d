// The keyboard of the program's small dialogs, seen before their controls: Enter moves
// the focus to the next control and is swallowed (it never presses a button); the
// down arrow moves to the next control and the up arrow to the previous one, both
// only with no Shift, Ctrl or Alt held.
#pragma once

#include <QEvent>
#include <QKeyEvent>

namespace zavuv {

enum class DialogKey { None, Next, Previous };

// What a key press means in such a dialog; the dialog moves the focus (its
// focusNextChild / focusPreviousChild) and takes the key unless it is None.
inline DialogKey DialogKeyOf(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return DialogKey::None;
  auto* key = static_cast<const QKeyEvent*>(event);
  const bool plain = (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  switch (key->key()) {
    case Qt::Key_Down: return plain ? DialogKey::Next : DialogKey::None;
    case Qt::Key_Up: return plain ? DialogKey::Previous : DialogKey::None;
    case Qt::Key_Return:
    case Qt::Key_Enter: return DialogKey::Next;
    default: return DialogKey::None;
  }
}

}  // namespace zavuv
