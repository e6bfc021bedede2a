// CCmdTarget: an object that commands are routed to. Without message maps, a target answers a
// command by overriding OnCmdMsg: code CN_COMMAND runs it, CN_UPDATE_COMMAND_UI updates its
// user-interface state through the CCmdUI passed as extra.
#pragma once

#include "platform/core/object.h"

class CCmdUI;

constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // With handlerInfo set, a target only answers whether it has a handler for the command and
    // runs nothing (the update of a command nobody handles disables it).
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);

    // Helpers for overrides of OnCmdMsg.
    static BOOL IsQuery(void* handlerInfo) { return handlerInfo != nullptr; }
    static CCmdUI* UpdateUI(int code, void* extra) {
        return code == CN_UPDATE_COMMAND_UI ? static_cast<CCmdUI*>(extra) : nullptr;
    }
};
