#include "pivora/framework/jox_pane_toolbar.h"

#include "design_fixture.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_wnd.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kBar = 820, kOwned = 821, kOther = 822;

// The owner window handles one command.
struct Owner : CWnd {
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* info) override {
        return id == kOwned && code == CN_COMMAND ? TRUE : CWnd::OnCmdMsg(id, code, extra, info);
    }
};

TEST(JoxPaneToolbar, ButtonsFollowTheOwnersCommandsNotTheFrames) {
    SettingsSandbox box;
    QvResetAppParamCache();
    platform::RegisterToolBarTemplate({kBar, 16, 15, {kOwned, kOther}});
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    Owner owner;
    owner.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
    CJoxPaneToolbar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE810, kBar));
    EXPECT_TRUE(bar.IsLocked());
    EXPECT_FALSE(CJoxPaneToolbar().Create(frame, WS_CHILD, 0xE811, 9999)); // no such resource
    bar.SetOwner(&owner);
    bar.OnUpdateCmdUI(frame, TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_DISABLED, TBBS_DISABLED);
    frame->DestroyWindow();
    QvResetAppParamCache();
}

} // namespace
