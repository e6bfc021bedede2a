// Images of commands: each toolbar loaded adds its images after the others; a command keeps the
// first image it got.
#include "platform/framework/command_manager.h"

#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CommandManager, ToolbarsLoadedAddTheirImagesInOrder) {
    GetCmdMgr()->ClearAllCmdImages();
    platform::RegisterToolBarTemplate({8800, 16, 15, {801, 0, 802, 803}});
    platform::RegisterToolBarTemplate({8801, 16, 15, {804, 802}});
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    {
        CMFCToolBar first, second;
        ASSERT_TRUE(first.Create(frame));
        ASSERT_TRUE(second.Create(frame));
        ASSERT_TRUE(first.LoadToolBar(8800));
        ASSERT_TRUE(second.LoadToolBar(8801));
        const struct {
            UINT cmd;
            int image;
        } cases[] = {{801, 0}, {802, 1}, {803, 2}, {804, 3}, {805, -1}};
        for (const auto& c : cases)
            EXPECT_EQ(GetCmdMgr()->GetCmdImage(c.cmd), c.image) << c.cmd;
        EXPECT_EQ(GetCmdMgr()->GetImageCount(), 5); // 802's second image is not used
        EXPECT_EQ(first.GetButton(1)->GetImage(), -1) << "a separator";
        EXPECT_EQ(second.GetButton(1)->GetImage(), 1);
    }
    GetCmdMgr()->SetCmdImage(801, -1);
    EXPECT_EQ(GetCmdMgr()->GetCmdImage(801), -1);
    GetCmdMgr()->ClearAllCmdImages();
    EXPECT_EQ(GetCmdMgr()->GetCmdImage(802), -1);
    frame->DestroyWindow();
}

} // namespace
