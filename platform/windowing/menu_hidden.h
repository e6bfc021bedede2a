// Items a popup leaves out. Menus of the platform have no such state; the frames that trim
// their popups (disabled items marked hidden, empty sub-menus, stray separators) keep it in
// the menu model, so that the display and a test's responder see the same menu.
#pragma once

#include "platform/windowing/menu.h"

// The item by command or by position (MF_BYPOSITION in flags). FALSE when there is no such item.
BOOL SetMenuItemHidden(HMENU menu, UINT item, UINT flags, BOOL hidden);
// FALSE also when there is no such item.
BOOL IsMenuItemHidden(HMENU menu, UINT item, UINT flags);
