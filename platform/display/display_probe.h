// What the display shows of a frame's menu bar and of a toolbar, as texts, for scripted runs
// and for tests of deliverables that may not use Qt themselves.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

namespace platform::display {

// The frame's menu bar, one line per entry in menu order: a menu's title, then its entries
// indented by two spaces a level, "-" for a separator. Texts as shown (mnemonic marks and the
// shortcut after a tab kept). Empty without a display or a menu bar.
std::vector<std::wstring> MenuBarShown(HWND frame);

// The buttons a toolbar shows, left to right: each one's label (its tip when it has no
// picture). Drop-down arrows and hidden buttons are left out.
std::vector<std::wstring> ToolBarShown(HWND bar);

} // namespace platform::display
