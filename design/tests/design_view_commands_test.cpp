// The view's commands and their update rules, run through the menu road and a probe.
#include "design/design_view.h"

#include "design/tests/design_host.h"
#include "pivora/article.h"
#include "pivora/item.h"
#include "pivora/select.h"
#include "qvutils/qv_utils.h"

namespace {

class CCmdBoxItem : public CItem {
public:
    explicit CCmdBoxItem(const CWindow& box) : m_box(box) {}

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

class ViewCommandTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        ASSERT_NE(Open(), nullptr);
    }
    CArticle* Box(const CWindow& w) {
        auto* a = new CArticle;
        a->Item(new CCmdBoxItem(w));
        page->RootArticle()->AddChild(a);
        a->InvExtents(1);
        return a;
    }
};

TEST_F(ViewCommandTest, UndoMenuTextNamesTheNewestTransaction) {
    auto none = Update(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(none->enabled, 0);
    EXPECT_EQ(none->text, L"Undo");
    CArticle* a = Box(CWindow(0, 0, 1000, 1000));
    page->AddObjectSelection(a, 1, 0);
    Command(CDesignView::ID_ROTATE_90);
    Command(CDesignView::ID_ROTATE_90);
    auto two = Update(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(two->enabled, 1);
    EXPECT_EQ(two->text, L"Undo Rotate 90°");
    // A button only enables.
    auto button = Update(CDesignView::ID_EDIT_UNDO, false);
    EXPECT_FALSE(button->textSet);
    Command(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(page->GetUndoCount() > 0, true);
    auto redo = Update(CDesignView::ID_EDIT_REDO);
    EXPECT_EQ(redo->enabled, 1);
    EXPECT_EQ(redo->text, L"Redo Rotate 90°");
    // The undo ran between the process brackets: the tool left and came back.
    EXPECT_EQ(tool->Named("Exit 0").size(), 3u);
    EXPECT_EQ(tool->Named("Init 0").size(), 3u);
}

TEST_F(ViewCommandTest, HideThenShowAllLeavesEveryArticleVisibleAndThePageModified) {
    CArticle* a = Box(CWindow(0, 0, 1000, 1000));
    CArticle* b = Box(CWindow(2000, 0, 3000, 1000));
    EXPECT_EQ(Update(CDesignView::ID_HIDE_SELECTION)->enabled, 0);
    page->AddObjectSelection(a, 1, 0);
    page->AddObjectSelection(b, 1, 1);
    EXPECT_EQ(Update(CDesignView::ID_HIDE_SELECTION)->enabled, 1);
    page->SetModifiedFlag(FALSE);
    Command(CDesignView::ID_HIDE_SELECTION);
    EXPECT_TRUE(a->GetProperty(CDesignView::kHiddenProperty));
    EXPECT_TRUE(b->GetProperty(CDesignView::kHiddenProperty));
    EXPECT_EQ(page->GetObjectSelectionCount(), 0);
    EXPECT_TRUE(page->IsModified());
    page->SetModifiedFlag(FALSE);
    Command(CDesignView::ID_SHOW_ALL);
    EXPECT_FALSE(a->GetProperty(CDesignView::kHiddenProperty));
    EXPECT_FALSE(b->GetProperty(CDesignView::kHiddenProperty));
    EXPECT_TRUE(page->IsModified());
    EXPECT_EQ(page->GetObjectSelectionCount(), 0);
}

TEST_F(ViewCommandTest, SetInsertPointTogglesAndTakesTheFirstSelectedObject) {
    Command(CDesignView::ID_SET_INSERT_POINT);
    EXPECT_EQ(page->InsertArticle(), nullptr);
    EXPECT_EQ(Update(CDesignView::ID_SET_INSERT_POINT)->checked, 0);
    CArticle* a = Box(CWindow(0, 0, 1000, 1000));
    CArticle* b = Box(CWindow(2000, 0, 3000, 1000));
    page->AddObjectSelection(b, 1, 0);
    page->AddObjectSelection(a, 1, 1);
    Command(CDesignView::ID_SET_INSERT_POINT);
    EXPECT_EQ(page->InsertArticle(), b);
    EXPECT_EQ(Update(CDesignView::ID_SET_INSERT_POINT)->checked, 1);
    EXPECT_EQ(Update(CDesignView::ID_PANE_INSERT, false)->enabled, 1);
    Command(CDesignView::ID_SET_INSERT_POINT);
    EXPECT_EQ(page->InsertArticle(), nullptr);
    EXPECT_EQ(Update(CDesignView::ID_PANE_INSERT, false)->enabled, 0);
}

TEST_F(ViewCommandTest, EditObjectGroupsIsHiddenInMenusAndDoesNothing) {
    auto menu = Update(CDesignView::ID_EDIT_OBJECT_GROUPS);
    EXPECT_EQ(menu->enabled, 0);
    EXPECT_EQ(menu->MenuItemData(), 1u);
    auto button = Update(CDesignView::ID_EDIT_OBJECT_GROUPS, false);
    EXPECT_EQ(button->enabled, 0);
    page->SetModifiedFlag(FALSE);
    Command(CDesignView::ID_EDIT_OBJECT_GROUPS);
    EXPECT_FALSE(page->IsModified());
}

TEST_F(ViewCommandTest, TheExtentsPaneShowsMillimetresOrInches) {
    Box(CWindow(0, 0, 25400, 12700));
    EXPECT_EQ(Update(CDesignView::ID_PANE_EXTENTS, false)->text, L"25.40mm x 12.70mm");
    QvSetAppParam(L"Display Inches", 1);
    QvResetPreferenceCache();
    EXPECT_EQ(Update(CDesignView::ID_PANE_EXTENTS, false)->text, L"1.00in x 0.50in");
    EXPECT_EQ(Update(CDesignView::ID_PANE_COUNT, false)->text, L" ");
}

TEST_F(ViewCommandTest, TogglesFlipTheirParameterAndTickTheirItem) {
    struct Case {
        UINT id;
        int (*get)();
    } cases[] = {{CDesignView::ID_LARGE_CROSS_HAIR, &QvGetUseLargeCrossHair},
                 {CDesignView::ID_AUTO_PAN, &QvGetAutoPan},
                 {CDesignView::ID_STOP_RESCALE, &QvGetStopRescaleOn},
                 {CDesignView::ID_AUTO_RESIZE, &QvGetResizeOn}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const int before = c.get();
        Command(c.id);
        EXPECT_EQ(c.get(), !before);
        EXPECT_EQ(Update(c.id)->checked, !before ? 1 : 0);
        Command(c.id);
        EXPECT_EQ(c.get(), before);
    }
    const int ruler = view->Ruler();
    Command(CDesignView::ID_RULER);
    EXPECT_EQ(view->Ruler(), !ruler);
    EXPECT_EQ(QvGetAppParam(L"Ruler", 1), !ruler ? 1 : 0);
    EXPECT_EQ(Update(CDesignView::ID_RULER)->checked, !ruler ? 1 : 0);
}

TEST_F(ViewCommandTest, GlueNeedsTwoObjectsAndUnglueFollowsTheSelection) {
    CArticle* a = Box(CWindow(0, 0, 1000, 1000));
    CArticle* b = Box(CWindow(2000, 0, 3000, 1000));
    page->AddObjectSelection(a, 1, 0);
    EXPECT_EQ(Update(CDesignView::ID_GLUE)->enabled, 0);
    page->AddObjectSelection(b, 1, 1);
    EXPECT_EQ(Update(CDesignView::ID_GLUE)->enabled, 1);
    EXPECT_EQ(Update(CDesignView::ID_UNGLUE)->enabled, 0);
    Command(CDesignView::ID_GLUE);
    Command(CDesignView::ID_SELECTION_CHANGED);
    EXPECT_EQ(view->GluedInSelection(), page->GetObjectSelectionCount() > 0 ? 1 : 0);
}

TEST_F(ViewCommandTest, ZoomCommandsReachTheViewsZoom) {
    Box(CWindow(0, 0, 100000, 50000));
    Command(CDesignView::ID_ZOOM_FIT);
    const CWindow fit = view->ViewExtents();
    EXPECT_LE(fit.x1, 0);
    EXPECT_GE(fit.x2, 100000);
    EXPECT_EQ(Update(CDesignView::ID_ZOOM_SELECTED)->enabled, 0);
    view->Zoom(CWindow(0, 0, 10000, 10000));
    Command(CDesignView::ID_ZOOM_OUT);
    EXPECT_EQ(view->ZoomHistoryCount(), 0);
}

} // namespace
