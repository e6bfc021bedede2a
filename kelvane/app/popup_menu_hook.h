// Trimming of a popup after its items were brought up to date: disabled items carrying the
// hidden mark go, sub-menus with nothing left go, sub-menus with nothing enabled show
// disabled, and separators that would stand at an end or next to another one go.
#pragma once

#include "platform/windowing/menu.h"

#include <functional>

namespace kelvane {

// The item data that marks an item to hide while it is disabled.
constexpr ULONG_PTR kHiddenItemMark = 1;
// Exit always shows, so a menu holding it never vanishes.
constexpr UINT kAlwaysShownCommand = 57665;

// Walks the popup and its sub-menus, each sub-menu handed to initSubMenu (where its items are
// brought up to date) before it is walked. States left by an earlier walk are recomputed.
void TrimPopupMenu(HMENU popup, const std::function<void(HMENU)>& initSubMenu);

} // namespace kelvane
