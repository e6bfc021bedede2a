// The combo box, list box, IP address control and list view of the window model as Qt
// widgets. Their lists and fields are read back only when the model says they changed.
#pragma once

#include "platform/display/control_widgets.h"

namespace platform::display {

QWidget* CreateListWidget(HWND hwnd, ControlKind kind, QWidget* parent);
// Model to widget: the items (when itemsChanged), the selection and the fields.
void SyncListWidget(HWND hwnd, ControlKind kind, QWidget* widget, bool itemsChanged);

} // namespace platform::display
