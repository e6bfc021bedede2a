#include "design/show_items_tool.h"

#include "design/tests/tool_fixture.h"
#include "pivora/item.h"

#include <vector>

namespace {

class ShowItemsToolTest : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        a = Box(CWindow(10000, 40000, 20000, 50000));
        g = Box(CWindow(30000, 40000, 45000, 55000));
        child = Box(CWindow(32000, 42000, 35000, 45000), g);
        c = Box(CWindow(60000, 40000, 70000, 50000));
    }
    // Opening the viewer hides every article but the selection.
    void Start(int recurse = 0, int leaveOn = 0, int autoPan = 0, CArticle* selected = nullptr) {
        page->RemoveAllObjectSelection();
        if (selected)
            page->AddObjectSelection(selected, 1, 1);
        viewer = new CShowItemsTool(L"Items", RUNTIME_CLASS(CArticle));
        view->SelectDesignTool(viewer, 1);
        Pump();
        viewer->SetRecurse(recurse);
        viewer->OnShowLeaveOn(leaveOn);
        viewer->OnShowAutoPan(autoPan);
    }
    static bool Hidden(CArticle* x) { return CShowItemsTool::IsHidden(x->GetItem()); }
    std::vector<bool> HiddenAll() { return {Hidden(a), Hidden(g), Hidden(child), Hidden(c)}; }
    CArticle* Current() {
        return viewer->CurrentItem() ? viewer->CurrentItem()->GetArticle() : nullptr;
    }

    CArticle *a = nullptr, *g = nullptr, *child = nullptr, *c = nullptr;
    CShowItemsTool* viewer = nullptr;
};

TEST_F(ShowItemsToolTest, WalksOutermostArticlesOrAllWithRecurse) {
    for (int recurse : {0, 1}) {
        SCOPED_TRACE(recurse);
        Start(recurse);
        viewer->Select(view, nullptr, 1, 0);
        const std::vector<CArticle*> want =
            recurse ? std::vector<CArticle*>{a, g, child, c} : std::vector<CArticle*>{a, g, c};
        std::vector<CArticle*> got;
        while (viewer->OnShowNext(view))
            got.push_back(Current());
        EXPECT_EQ(got, want);
        EXPECT_EQ(viewer->Position(), int(want.size()));
        std::vector<CArticle*> back;
        while (viewer->OnShowPrev(view))
            back.push_back(Current());
        EXPECT_EQ(back.size(), want.size() - 1);
        EXPECT_EQ(Current(), a);
        Command(CDesignView::ID_SELECT_TOOL);
        Pump();
    }
}

TEST_F(ShowItemsToolTest, NextShowsTheFollowingOneAndHidesThePreviousUnlessLeftOn) {
    for (int leaveOn : {0, 1}) {
        SCOPED_TRACE(leaveOn);
        Start(0, leaveOn, 0, a);
        EXPECT_EQ(HiddenAll(), (std::vector<bool>{false, true, true, true}));
        ASSERT_EQ(viewer->OnShowNext(view), 1);
        EXPECT_EQ(Current(), g);
        EXPECT_EQ(Selection(), (std::vector<std::pair<CArticle*, int>>{{g, 1}}));
        EXPECT_EQ(Hidden(a), !leaveOn);
        EXPECT_FALSE(Hidden(g));
        EXPECT_FALSE(Hidden(child));
        // Escape (or any other way out) shows everything again.
        Command(CDesignView::ID_SELECT_TOOL);
        Pump();
        EXPECT_EQ(HiddenAll(), (std::vector<bool>(4, false)));
    }
}

TEST_F(ShowItemsToolTest, ItemsOffScreenAreSkippedWithoutAutoPan) {
    view->Zoom(CWindow(0, 30000, 50000, 60000));
    Pump();
    Start();
    ASSERT_FALSE(viewer->ItemOnScreen(view, c->GetItem()));
    viewer->OnShowEnd(view);
    EXPECT_EQ(Current(), g);
    EXPECT_EQ(viewer->OnShowNext(view), 0);
    // With auto pan it takes part, and the view pans to it (a short move: one step).
    viewer->OnShowAutoPan(1);
    ASSERT_EQ(viewer->OnShowNext(view), 1);
    EXPECT_EQ(Current(), c);
    EXPECT_TRUE(viewer->ItemOnScreen(view, c->GetItem()));
}

TEST_F(ShowItemsToolTest, DeleteFindsTheNextItemAfterTheDeleteAndTheLastLeavesNone) {
    Start(1);
    viewer->OnShowNext(view);
    viewer->OnShowNext(view);
    ASSERT_EQ(Current(), g);
    // The next one as it was (the child) goes with g.
    Key(VK_DELETE);
    EXPECT_EQ(Current(), c);
    Key(VK_DELETE);
    EXPECT_EQ(viewer->CurrentItem(), nullptr);
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), a);
    EXPECT_EQ(a->GetRsibling(), nullptr);
}

TEST_F(ShowItemsToolTest, AViewerFreedWithoutLeavingShowsWhatItHid) {
    // As when the window closes: the page frees its tool while the tree is still there.
    auto* t = new CShowItemsTool(L"Items", RUNTIME_CLASS(CArticle));
    t->SetDocument(page);
    t->OnShowAutoPan(1);
    t->OnShowClear(nullptr);
    ASSERT_TRUE(Hidden(a));
    delete t;
    EXPECT_EQ(HiddenAll(), (std::vector<bool>(4, false)));
    EXPECT_EQ(QvGetAppParam(L"ShowItemsAutoPan", -1), 1);
}

} // namespace
