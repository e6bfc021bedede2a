#include "design/view_toolbar.h"

#include "design/tests/design_host.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/windowing/menu.h"

namespace {

class ViewToolbarTest : public DesignHost {
protected:
    static constexpr UINT kResource = 23013, kPlain = 23014;
    void SetUp() override {
        DesignHost::SetUp();
        platform::RegisterToolBarTemplate(
            {kResource, 16, 15, {CDesignView::ID_ZOOM_OUT, CDesignView::ID_ZOOM_IN, 0}});
        platform::RegisterToolBarTemplate({kPlain, 16, 15, {CDesignView::ID_ZOOM_OUT}});
        bar = new CViewToolbar;
        ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 60036, kResource));
    }
    void TearDown() override {
        bar->DestroyWindow();
        delete bar;
        DesignHost::TearDown();
    }
    CMFCToolBarMenuButton* ZoomIn() const {
        return dynamic_cast<CMFCToolBarMenuButton*>(
            bar->GetButton(bar->CommandToIndex(CDesignView::ID_ZOOM_IN)));
    }
    CViewToolbar* bar = nullptr;
};

TEST_F(ViewToolbarTest, ZoomInCarriesTheZoomMenuAgainAfterAReset) {
    ASSERT_NE(ZoomIn(), nullptr);
    HMENU menu = ZoomIn()->GetMenu();
    ASSERT_TRUE(::IsMenu(menu));
    EXPECT_EQ(::GetMenuItemCount(menu), 13);
    EXPECT_EQ(::GetMenuItemID(menu, 0), CDesignView::ID_ZOOM_400);
    EXPECT_EQ(::GetMenuItemID(menu, 12), CDesignView::ID_SCREEN_WIDTH);
    EXPECT_EQ(bar->GetCount(), 3);
    // The user customises the button away, then resets the toolbar to its default buttons.
    bar->ReplaceButton(CDesignView::ID_ZOOM_IN, CMFCToolBarButton(CDesignView::ID_ZOOM_IN));
    EXPECT_EQ(ZoomIn(), nullptr);
    bar->LoadToolBar(kResource);
    ASSERT_NE(ZoomIn(), nullptr);
    EXPECT_TRUE(::IsMenu(ZoomIn()->GetMenu()));
}

TEST_F(ViewToolbarTest, AToolbarWithoutZoomInIsLeftAsItIs) {
    bar->LoadToolBar(kPlain);
    EXPECT_EQ(bar->GetCount(), 1);
    EXPECT_EQ(dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(0)), nullptr);
}

} // namespace
