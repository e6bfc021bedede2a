// A design window's frame and the toolbars: they come up with the first design window, stay
// while another design window takes over, and go with the last one.
#include "kelvane/app/child_frame.h"

#include "app_fixture.h"

#include "platform/framework/document.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"

namespace {

constexpr int kCuttingSlot = 36;

using ChildFrameTest = AppFixture;

bool CuttingBarShown() {
    CCustomToolBar* bar = QvGetToolBar(kCuttingSlot, 0);
    return bar && bar->IsWindowVisible();
}

TEST_F(ChildFrameTest, TheDesignToolbarsComeAndGoWithTheDesignWindows) {
    ASSERT_TRUE(Start()); // with its first design
    Pump();
    EXPECT_TRUE(CuttingBarShown());
    CDocument* second = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(second, nullptr);
    Pump();
    EXPECT_TRUE(CuttingBarShown());
    second->OnCloseDocument();
    Pump();
    EXPECT_TRUE(CuttingBarShown()) << "the first design window is active again";
    app->DesignTemplate()->CloseAllDocuments(FALSE);
    Pump();
    ASSERT_EQ(DesignCount(), 0);
    EXPECT_FALSE(CuttingBarShown());
}

} // namespace
