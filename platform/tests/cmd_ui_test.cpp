#include "platform/framework/cmd_ui.h"

#include "platform/windowing/menu.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kHandled = 10, kUpdated = 11, kNobody = 12;

struct Target : CCmdTarget {
    int runs = 0;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override {
        if (CCmdUI* ui = UpdateUI(code, extra); ui && id == kUpdated) {
            ui->SetCheck(1);
            ui->Enable(FALSE);
            return TRUE;
        }
        if (code == CN_COMMAND && (id == kHandled || id == kUpdated)) {
            if (!IsQuery(handlerInfo))
                ++runs;
            return TRUE;
        }
        return FALSE;
    }
};

TEST(CCmdUI, UpdatesMenuItemsAndDisablesCommandsNobodyHandles) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kHandled, L"a");
    AppendMenuW(menu, MF_STRING, kUpdated, L"b");
    AppendMenuW(menu, MF_STRING, kNobody, L"c");
    Target target;
    CCmdUI ui;
    ui.m_pMenu = menu;
    struct Case {
        UINT index, id;
        BOOL handled;
        UINT state;
    } cases[] = {
        {0, kHandled, FALSE, MF_ENABLED}, // a command handler keeps it enabled
        {1, kUpdated, TRUE, MF_GRAYED | MF_CHECKED},
        {2, kNobody, FALSE, MF_GRAYED},
    };
    for (const Case& c : cases) {
        ui.m_nIndex = c.index;
        ui.m_nID = c.id;
        EXPECT_EQ(ui.DoUpdate(&target, TRUE), c.handled) << c.id;
        EXPECT_EQ(GetMenuState(menu, c.index, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED), c.state)
            << c.id;
    }
    EXPECT_EQ(target.runs, 0); // asking whether a handler exists runs nothing
    DestroyMenu(menu);
}

} // namespace
