#include "design/show_items_tool.h"

#include "design/tests/tool_fixture.h"
#include "pivora/geometry/sb.h"
#include "pivora/item.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

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
    static CArticle* Of(CItem* item) { return item ? item->GetArticle() : nullptr; }
    // An open path of curve points (made by class name); null without the curve library.
    CArticle* Curve(std::initializer_list<CLpoint> points) {
        auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
        if (!item)
            return nullptr;
        std::vector<CSb> sb;
        for (const CLpoint& p : points)
            sb.emplace_back(0x200, p);
        item->InsertElement(-1, sb.data(), int(sb.size()));
        auto* path = new CVectorArticle;
        path->Item(item);
        page->RootArticle()->AddChild(path);
        path->InvExtents(1);
        return path;
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

TEST_F(ShowItemsToolTest, ItemWalksGoInDesignOrderAndStayPutAtEitherEnd) {
    for (int recurse : {0, 1}) {
        SCOPED_TRACE(recurse);
        Start(recurse);
        const std::vector<CArticle*> want =
            recurse ? std::vector<CArticle*>{a, g, child, c} : std::vector<CArticle*>{a, g, c};
        std::vector<CArticle*> forth{Of(viewer->GetFirstItem(view))};
        EXPECT_EQ(viewer->Position(), 1);
        while (CItem* it = viewer->GetNextItem(view))
            forth.push_back(Of(it));
        EXPECT_EQ(forth, want);
        // Nothing after the last: it stays current where it stands.
        EXPECT_EQ(Current(), c);
        EXPECT_EQ(viewer->Position(), int(want.size()));
        std::vector<CArticle*> back{Of(viewer->GetLastItem(view))};
        EXPECT_EQ(viewer->Position(), int(want.size()));
        while (CItem* it = viewer->GetPrevItem(view))
            back.push_back(Of(it));
        EXPECT_EQ(back, std::vector<CArticle*>(want.rbegin(), want.rend()));
        EXPECT_EQ(Current(), a);
        EXPECT_EQ(viewer->Position(), 1);
        Command(CDesignView::ID_SELECT_TOOL);
        Pump();
    }
    // From an article inside an outermost one, without recurse: on past the outer one, or back
    // to it.
    Start(0, 0, 0, child);
    ASSERT_EQ(Current(), child);
    EXPECT_EQ(viewer->Position(), 2);
    EXPECT_EQ(Of(viewer->GetNextItem(view)), c);
    EXPECT_EQ(viewer->Position(), 3);
    ASSERT_TRUE(viewer->SyncSelection());
    EXPECT_EQ(Of(viewer->GetPrevItem(view)), g);
    EXPECT_EQ(viewer->Position(), 2);
    EXPECT_EQ(Of(viewer->GetPrevItem(view)), a);
}

TEST_F(ShowItemsToolTest, VisibleWalksPassOverItemsOffScreen) {
    view->Zoom(CWindow(25000, 30000, 75000, 60000));
    Pump();
    Start();
    ASSERT_FALSE(viewer->ItemOnScreen(view, a->GetItem()));
    ASSERT_TRUE(viewer->ItemOnScreen(view, g->GetItem()));
    ASSERT_TRUE(viewer->ItemOnScreen(view, c->GetItem()));
    EXPECT_EQ(Of(viewer->GetFirstVisibleItem(view)), g);
    EXPECT_EQ(viewer->Position(), 2);
    EXPECT_EQ(Of(viewer->GetNextVisibleItem(view)), c);
    EXPECT_EQ(viewer->GetNextVisibleItem(view), nullptr);
    EXPECT_EQ(Current(), c);
    EXPECT_EQ(Of(viewer->GetLastVisibleItem(view)), c);
    EXPECT_EQ(Of(viewer->GetPrevVisibleItem(view)), g);
    // a is passed over, and as nothing is left that way the walk ends where it began.
    EXPECT_EQ(viewer->GetPrevVisibleItem(view), nullptr);
    EXPECT_EQ(Current(), g);
    EXPECT_EQ(viewer->Position(), 2);
}

TEST_F(ShowItemsToolTest, ACurveRoundTheWindowsCornerIsNotOnScreenThoughItsExtentsMeetIt) {
    view->Zoom(CWindow(0, 30000, 50000, 60000));
    Pump();
    // The window's top right corner in data units (y up).
    CRect client;
    view->GetClientRect(&client);
    CPoint corner(client.right - 1, client.top);
    view->ClientToDoc(corner);
    const LONG x = corner.x, y = corner.y;
    // Above the window, past its corner, then right of it: each line lies beyond one side.
    const CLpoint round[] = {{x - 10000, y + 5000}, {x + 5000, y + 5000}, {x + 5000, y - 10000}};
    CArticle* by = Curve({round[0], round[1], round[2]});
    if (!by)
        GTEST_SKIP() << "the curve library is not linked";
    CArticle* into = Curve({{x - 10000, y - 10000}, {x + 5000, y + 5000}});
    // A plain path has no points to test: its extents decide.
    auto* plainItem = new CVectorItem;
    for (int i = 0; i < 2; ++i) {
        CPkt line;
        line.Start(round[i]);
        line.End(round[i + 1]);
        line.Mid(CLpoint((round[i].x + round[i + 1].x) / 2, (round[i].y + round[i + 1].y) / 2));
        plainItem->Pkt(line);
    }
    auto* plain = new CVectorArticle;
    plain->Item(plainItem);
    page->RootArticle()->AddChild(plain);
    plain->InvExtents(1);
    Start();
    EXPECT_FALSE(viewer->ItemOnScreen(view, by->GetItem()));
    EXPECT_TRUE(viewer->ItemOnScreen(view, into->GetItem()));
    EXPECT_TRUE(viewer->ItemOnScreen(view, plain->GetItem()));
}

} // namespace
