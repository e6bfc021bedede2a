// A design window's frame and the toolbars: they come up with the first design window, stay
// while another design window takes over, and go with the last one. Underneath, the views are
// told only when the active window changes kind: 32769 posted to the view activated, 32770
// sent to the view left.
#include "kelvane/app/child_frame.h"

#include "app_fixture.h"

#include "design/design_view.h"
#include "platform/framework/document.h"
#include "platform/framework/mdi_frame_wnd_ex.h"
#include "platform/framework/view.h"
#include "platform/windowing/window.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"

#include <vector>

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

// Records the 32770s a view gets, then lets the view handle every message as before.
struct Spy {
    CWnd* view = nullptr;
    HWND hwnd = nullptr; // the view may be gone with its window
    std::vector<WPARAM> deactivations;
};

LRESULT SpyHook(void* object, HWND, UINT msg, WPARAM wp, LPARAM lp) {
    auto* spy = static_cast<Spy*>(object);
    if (msg == CDesignView::WM_CONTEXT_DEACTIVATED)
        spy->deactivations.push_back(wp);
    return spy->view->WindowProc(msg, wp, lp);
}

LRESULT PlainHook(void* object, HWND, UINT msg, WPARAM wp, LPARAM lp) {
    return static_cast<CWnd*>(object)->WindowProc(msg, wp, lp);
}

class ChildFrameMessages : public AppFixture {
protected:
    void TearDown() override {
        for (Spy& s : spies)
            if (::IsWindow(s.hwnd) && platform::GetWindowHookObject(s.hwnd) == &s)
                platform::SetWindowHook(s.hwnd, s.view, PlainHook);
        AppFixture::TearDown();
    }
    static CView* ViewOf(CDocument* doc) {
        POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
        return pos ? doc->GetNextView(pos) : nullptr;
    }
    // Opens a new document of the template and returns its view, watched.
    CView* Open(CDocTemplate* tmpl) {
        CView* view = ViewOf(tmpl->OpenDocumentFile(nullptr, TRUE));
        if (view) {
            spies.push_back(Spy{view, view->m_hWnd, {}});
            platform::SetWindowHook(view->m_hWnd, &spies.back(), SpyHook);
        }
        return view;
    }
    std::vector<WPARAM> Deactivations(CView* view) {
        for (Spy& s : spies)
            if (s.view == view) {
                std::vector<WPARAM> got = s.deactivations;
                s.deactivations.clear();
                return got;
            }
        return {};
    }
    // Whether 32769 waits for the view (taken off the queue).
    static bool Activated(CView* view) {
        MSG msg;
        bool any = false;
        while (::PeekMessageW(&msg, view->m_hWnd, CDesignView::WM_CONTEXT_ACTIVATED,
                              CDesignView::WM_CONTEXT_ACTIVATED, PM_REMOVE))
            any = true;
        return any;
    }
    void Activate(CView* view) { app->MainFrame()->MDIActivate(view->GetParentFrame()); }

    std::vector<Spy> spies = std::vector<Spy>();

    void SetUp() override {
        AppFixture::SetUp();
        spies.reserve(4); // the hooks hold their addresses
        ASSERT_TRUE(Start({"x", "y"}));
    }
};

} // namespace

TEST_F(ChildFrameMessages, SwitchingBetweenDesignsOfOneContextTellsNoView) {
    CView* a = Open(app->DesignTemplate());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(dynamic_cast<CChildFrame*>(a->GetParentFrame()), nullptr);
    EXPECT_TRUE(Activated(a)); // nothing was active before
    CView* b = Open(app->DesignTemplate());
    ASSERT_NE(b, nullptr);
    Activate(a);
    Activate(b);
    EXPECT_FALSE(Activated(a));
    EXPECT_FALSE(Activated(b));
    EXPECT_TRUE(Deactivations(a).empty());
    EXPECT_TRUE(Deactivations(b).empty());
    // Closing one of the two leaves the other in charge without a word either.
    b->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Activated(a));
    EXPECT_TRUE(Deactivations(a).empty());
    EXPECT_TRUE(Deactivations(b).empty());
}

TEST_F(ChildFrameMessages, ATileWindowAndADesignTellEachOtherOnEverySwitch) {
    CView* design = Open(app->DesignTemplate());
    ASSERT_NE(design, nullptr);
    EXPECT_TRUE(Activated(design));
    CView* tile = Open(app->TileTemplate());
    ASSERT_NE(tile, nullptr);
    EXPECT_TRUE(Activated(tile));
    EXPECT_EQ(Deactivations(design), std::vector<WPARAM>{0});
    Activate(design);
    EXPECT_TRUE(Activated(design));
    EXPECT_FALSE(Activated(tile));
    EXPECT_EQ(Deactivations(tile), std::vector<WPARAM>{0});
    EXPECT_TRUE(Deactivations(design).empty());
    // Closing the design hands over to the tile window, which sets up its own.
    design->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(Deactivations(design), std::vector<WPARAM>{0});
    EXPECT_TRUE(Activated(tile));
}

TEST_F(ChildFrameMessages, ClosingTheLastWindowTellsItsViewNoneFollows) {
    CView* a = Open(app->DesignTemplate());
    ASSERT_NE(a, nullptr);
    a->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(Deactivations(a), std::vector<WPARAM>{CDesignView::kDeactivateNoContext});
    EXPECT_EQ(app->MainFrame()->MDIGetActive(), nullptr);
}
