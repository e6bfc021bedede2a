// For a person to look at: a frame with two toolbars docked on top (one holding the undo and
// redo buttons), one floating, and the undo list open over 30 names with five chosen. The
// pictures go to the build tree; without a display the test is skipped.
#include "toolbars/undo_menu.h"

#include "platform/display/display.h"
#include "platform/display/display_pointer.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/mfc_tool_bar.h"
#include "toolbars/undo_button.h"
#include "undo_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kEditBar = 9500, kViewBar = 9501, kShapesBar = 9502;

TEST_F(UndoTest, ScreenshotsOfTheToolbarsAndTheOpenList) {
    int argc = 1;
    char name[] = "undo_menu_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    platform::RegisterToolBarTemplate({kEditBar, 16, 15, {57600, 57603, 0, 57643, 57644}});
    platform::RegisterToolBarTemplate({kViewBar, 16, 15, {9510, 9511, 9512}});
    platform::RegisterToolBarTemplate({kShapesBar, 16, 15, {9520, 9521, 9522, 9523}});
    platform::RegisterStrings({{57600, L"New\nNew"},
                               {57603, L"Save\nSave"},
                               {57643, L"Undo\nUndo"},
                               {57644, L"Redo\nRedo"},
                               {9510, L"Zoom in\nZoom In"},
                               {9511, L"Zoom out\nZoom Out"},
                               {9512, L"Whole page\nPage"},
                               {9520, L"Rectangle\nRectangle"},
                               {9521, L"Ellipse\nEllipse"},
                               {9522, L"Star\nStar"},
                               {9523, L"Text\nText"}});
    // A frame made after the display started, so that it has a window on the screen.
    auto* shown = new CFrameWnd;
    ASSERT_TRUE(shown->Create(nullptr, L"Toolbars", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CRect(0, 0, 480, 300)));
    AfxSetMainWnd(shown);
    {
        CDockingManager docking(shown);
        CMFCToolBar edit, zoom, shapes;
        ASSERT_TRUE(edit.CreateEx(shown, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                  CRect(1, 1, 1, 1), 60001));
        ASSERT_TRUE(zoom.CreateEx(shown, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                  CRect(1, 1, 1, 1), 60002));
        ASSERT_TRUE(shapes.CreateEx(shown, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                    CRect(1, 1, 1, 1), 60003));
        ASSERT_TRUE(edit.LoadToolBar(kEditBar));
        ASSERT_TRUE(zoom.LoadToolBar(kViewBar));
        ASSERT_TRUE(shapes.LoadToolBar(kShapesBar));
        shapes.SetWindowText(L"Shapes");
        edit.ReplaceButton(57643, CUndoButton(57643, FALSE));
        edit.ReplaceButton(57644, CUndoButton(57644, TRUE));
        for (CMFCToolBar* each : {&edit, &zoom, &shapes})
            docking.EnableDocking(each, CBRS_ALIGN_ANY);
        docking.DockPane(&edit);
        docking.DockPane(&zoom);
        docking.FloatPane(&shapes, CRect(220, 160, 500, 200));
        SetNames(30);
        ASSERT_TRUE(edit.DropDown(edit.CommandToIndex(57643)));
        auto* menu = dynamic_cast<CUndoMenu*>(CMFCPopupMenu::GetActiveMenu());
        ASSERT_NE(menu, nullptr);
        menu->GetUndoBar().GetList().SelectUpTo(4);
        platform::display::Flush();
        const std::string dir = TEST_BINARY_DIR;
        EXPECT_TRUE(platform::display::SaveScreenshot(shown->m_hWnd, dir + "/toolbars_docked.png"));
        EXPECT_TRUE(platform::display::SaveScreenshot(docking.GetMiniFrame(&shapes)->m_hWnd,
                                                      dir + "/toolbar_floating.png"));
        EXPECT_TRUE(platform::display::SaveScreenshot(menu->m_hWnd, dir + "/undo_list_open.png"));
        menu->CloseMenu();
        docking.RemovePane(&shapes);
    }
    shown->DestroyWindow();
    AfxSetMainWnd(frame);
    platform::display::Stop();
}

// A design view that counts the undo and redo commands reaching it.
class CCountingView : public CJoxView {
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override {
        if (code == 0 && !handlerInfo &&
            (id == CUndoBar::ID_EDIT_UNDO || id == CUndoBar::ID_EDIT_REDO)) {
            got.push_back(id);
            return TRUE;
        }
        return CJoxView::OnCmdMsg(id, code, extra, handlerInfo);
    }
    std::vector<UINT> got;
};

TEST_F(UndoTest, OneClickOnTheArrowAndOneOnTheFifthRowUndoFiveActions) {
    int argc = 1;
    char name[] = "undo_menu_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    platform::RegisterToolBarTemplate({kEditBar, 16, 15, {57600, 57603, 0, 57643, 57644}});
    auto* shown = new CFrameWnd;
    ASSERT_TRUE(shown->Create(nullptr, L"Toolbars", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CRect(0, 0, 480, 300)));
    auto* design = new CCountingView; // goes with its window
    ASSERT_TRUE(design->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200),
                               shown, AFX_IDW_PANE_FIRST, nullptr));
    shown->SetActiveView(design, FALSE);
    AfxSetMainWnd(shown);
    {
        CDockingManager docking(shown);
        CMFCToolBar edit;
        ASSERT_TRUE(edit.CreateEx(shown, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                  CRect(1, 1, 1, 1), 60001));
        ASSERT_TRUE(edit.LoadToolBar(kEditBar));
        edit.ReplaceButton(57643, CUndoButton(57643, FALSE));
        docking.EnableDocking(&edit, CBRS_ALIGN_ANY);
        docking.DockPane(&edit);
        SetNames(30);
        // The arrow is the right end of the undo button.
        const CRect undo = edit.GetButton(edit.CommandToIndex(57643))->m_rect;
        ASSERT_TRUE(
            platform::display::ClickPointer(edit.m_hWnd, undo.right - 4, undo.CenterPoint().y));
        auto* menu = dynamic_cast<CUndoMenu*>(CMFCPopupMenu::GetActiveMenu());
        ASSERT_NE(menu, nullptr) << "the arrow opens the list";
        CUndoListBox& list = menu->GetUndoBar().GetList();
        const int h = list.GetItemHeight();
        ASSERT_TRUE(platform::display::MovePointer(list.m_hWnd, 5, 4 * h + h / 2));
        EXPECT_EQ(menu->GetUndoBar().GetLabel(), CString(L"Undo 5 Action(s)"));
        EXPECT_TRUE(platform::display::SaveScreenshot(menu->m_hWnd, std::string(TEST_BINARY_DIR) +
                                                                        "/undo_list_pointed.png"));
        EXPECT_TRUE(design->got.empty());
        ASSERT_TRUE(platform::display::ClickPointer(list.m_hWnd, 5, 4 * h + h / 2));
        platform::display::Flush();
        EXPECT_EQ(design->got, std::vector<UINT>(5, CUndoBar::ID_EDIT_UNDO));
        EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), nullptr) << "the list closed";
        docking.RemovePane(&edit);
    }
    shown->DestroyWindow();
    AfxSetMainWnd(frame);
    platform::display::Stop();
}

} // namespace
