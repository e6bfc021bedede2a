// Qt's keys as the virtual keys of the window model, and the mouse-key flags of mouse
// messages from Qt's buttons and modifiers.
#pragma once

#include "platform/core/types.h"

#include <Qt>

namespace platform::display {

// 0 for a key the model has no virtual key for.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

} // namespace platform::display
