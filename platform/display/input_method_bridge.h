// The system input method and a model window: where the composition goes and in which font
// come from the window's input context; a composition that starts is told to the window
// (WM_IME_STARTCOMPOSITION, sent so it can place the composition first) and the committed text
// arrives as characters.
#pragma once

#include "platform/windowing/window.h"

#include <QVariant>

class QInputMethodEvent;

namespace platform::display {

// top: where the client area starts in the widget.
QVariant InputMethodQuery(HWND hwnd, int top, Qt::InputMethodQuery query);
// composing: whether a composition is under way, kept by the widget.
void InputMethodEvent(HWND hwnd, QInputMethodEvent* event, bool& composing);

} // namespace platform::display
