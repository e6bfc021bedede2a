// Command ids the framework keeps for itself: the recent-file list, the window menu's system
// commands, the window list, the more-windows command and the ids of MDI children. Toolbar
// customisations never keep buttons of these.
#pragma once

#include "platform/core/types.h"

constexpr UINT ID_FILE_MRU_FIRST = 57616;
constexpr UINT ID_FILE_MRU_LAST = 57631;
constexpr UINT ID_WINDOW_LIST_FIRST = 57872;
constexpr UINT ID_WINDOW_LIST_LAST = 57887;
constexpr UINT ID_WINDOW_MORE = 57888;
constexpr UINT SC_COMMAND_FIRST = 61440;
constexpr UINT SC_COMMAND_LAST = 61935;
constexpr UINT AFX_IDM_FIRST_MDICHILD = 65280;

namespace platform {

inline bool IsReservedCommand(UINT id) {
    return (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST) ||
           (id >= SC_COMMAND_FIRST && id <= SC_COMMAND_LAST) || id >= AFX_IDM_FIRST_MDICHILD ||
           (id >= ID_WINDOW_LIST_FIRST && id <= ID_WINDOW_LIST_LAST) || id == ID_WINDOW_MORE;
}

} // namespace platform
