#include "design/design_tool.h"

#include "design/document/large_cross_hair.h"
#include "design/select_tool.h"
#include "design/sub_tool.h"
#include "design/tests/tool_fixture.h"
#include "pivora/framework/app_params.h"
#include "qvutils/qv_utils.h"

#include <string>
#include <vector>

namespace {

// A base tool that keeps the numbers typed to it.
class CNumberTool : public CDesignTool {
public:
    explicit CNumberTool(int autoPan = 0) : CDesignTool(autoPan) {}
    void OnTypedNumber(CDesignView*, int n) override { numbers.push_back(n); }
    std::vector<int> numbers;
};

// A sub tool that ends itself from inside its own key handler after it was replaced.
class CLeavingTool : public CSubTool {
public:
    CLeavingTool() : CSubTool(1, 0) {}
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override {
        view->SelectSubTool(new CSubTool(2, 0), 1);
        Exit(view);
        // Still inside the handler: the tool must be alive.
        ++keys;
        CSubTool::OnKeyDown(view, key, repeat, flags);
    }
    int keys = 0;
};

class DesignToolTest : public ToolHost {
protected:
    CNumberTool* Install(int autoPan = 0) {
        auto* t = new CNumberTool(autoPan);
        view->SelectDesignTool(t, 1);
        return t;
    }
};

TEST_F(DesignToolTest, DigitsTypedWithinTheWaitMakeOneNumber) {
    CNumberTool* t = Install();
    Key('1');
    Advance(600);
    Key('2');
    Key('2', false, true); // held down: counted once
    Advance(699);
    EXPECT_TRUE(t->numbers.empty());
    Advance(1);
    EXPECT_EQ(t->numbers, (std::vector<int>{12}));
    Key(VK_NUMPAD0 + 7);
    Advance(700);
    EXPECT_EQ(t->numbers, (std::vector<int>{12, 7}));
}

TEST_F(DesignToolTest, MoreThanTenDigitsAreIgnoredAndAZeroWaitSwitchesNumbersOff) {
    CNumberTool* t = Install();
    for (char c : std::string("999999999999"))
        Key(UINT(c));
    Advance(700);
    EXPECT_EQ(t->numbers, (std::vector<int>{999999999}));
    QvSetAppParam(L"Numeric Keypress Time", 0);
    CNumberTool* off = Install();
    Key('5');
    Advance(5000);
    EXPECT_TRUE(off->numbers.empty());
    // A huge wait is held to a minute.
    QvSetAppParam(L"Numeric Keypress Time", 2000000000);
    EXPECT_EQ(CNumberTool().NumericKeypressTime(), CDesignTool::kMaxNumericKeypressTime);
}

TEST_F(DesignToolTest, TimersEndWithTheirTool) {
    Install();
    Key('4');
    CNumberTool* next = Install();
    Advance(5000);
    EXPECT_TRUE(next->numbers.empty());
    // A pending body drag of the select tool does not start in the next tool.
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    auto* select = new CSelectTool;
    view->SelectDesignTool(select, 1);
    Click(Centre(a));
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Centre(a), MK_LBUTTON);
    Install();
    Advance(1000);
    SetKey(VK_LBUTTON, false);
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 20000, 20000));
}

TEST_F(DesignToolTest, AutoPanScrollsWhileTheCapturedPointerIsOutside) {
    QvSetAutoPan(1);
    QvSetAppParam(L"AutoPanDelay", 0); // no spin: held to one step per 100 ms
    Install(1);
    view->Zoom(CWindow(40000, 40000, 60000, 60000));
    const CPoint start = view->GetDeviceScrollPosition();
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, CPoint(100, 100), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(100, 5000), MK_LBUTTON);
    const CPoint once = view->GetDeviceScrollPosition();
    EXPECT_GT(once.y, start.y);
    Advance(100);
    const CPoint twice = view->GetDeviceScrollPosition();
    EXPECT_GT(twice.y, once.y);
    // Back inside: panning stops.
    Mouse(WM_MOUSEMOVE, CPoint(100, 100), MK_LBUTTON);
    Advance(1000);
    EXPECT_EQ(view->GetDeviceScrollPosition(), twice);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, CPoint(100, 100), 0);
    QvSetAutoPan(0);
}

TEST_F(DesignToolTest, ZoomKeepsThePointerOrTheCentre) {
    Install();
    view->Zoom(CWindow(20000, 20000, 80000, 80000));
    CRect client;
    view->GetClientRect(&client);
    const CPoint inside(client.left + 50, client.top + 60);
    CPoint before = inside;
    view->ClientToDoc(before);
    Pointer(inside);
    Send(WM_CHAR, 'z', 1);
    CPoint after = inside;
    view->ClientToDoc(after);
    EXPECT_NEAR(after.x, before.x, 300);
    EXPECT_NEAR(after.y, before.y, 300);
    // Outside the window the centre stays.
    CPoint centre = client.CenterPoint();
    view->ClientToDoc(centre);
    Pointer(CPoint(client.right + 500, client.bottom + 500));
    Send(WM_CHAR, 'Z', 1);
    CPoint centreAfter = client.CenterPoint();
    view->ClientToDoc(centreAfter);
    EXPECT_NEAR(centreAfter.x, centre.x, 300);
    EXPECT_NEAR(centreAfter.y, centre.y, 300);
}

TEST_F(DesignToolTest, HandleHitBoxesRunFromCentreLessThreeToCentrePlusTwo) {
    CSelectTool t;
    t.m_Extents = CWindow(30000, 30000, 60000, 60000);
    CPoint right(60000, 45000);
    view->DocToClient(right);
    struct Case {
        int dx, dy;
        HandleType want;
    };
    const Case cases[] = {
        {0, 0, eHandleRight}, {-3, -3, eHandleRight}, {2, 2, eHandleRight},
        {3, 0, eHandleNone},  {0, 3, eHandleNone},    {-4, 0, eHandleNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EXPECT_EQ(t.HitTestHandles(view, right + CPoint(c.dx, c.dy)), c.want);
    }
    // On a tiny selection the boxes overlap: the centre wins.
    t.m_Extents = CWindow(30000, 30000, 30001, 30001);
    CPoint centre(30000, 30000);
    view->DocToClient(centre);
    EXPECT_EQ(t.HitTestHandles(view, centre), eHandleCentre);
}

TEST_F(DesignToolTest, TheDestructionMessageGoesOnlyToALiveView) {
    CNumberTool* t = Install();
    t->SetViewForLastMessage(view);
    t->fnSetDestructionMsg(43046);
    Install();
    MSG msg;
    bool posted = false;
    while (::PeekMessageW(&msg, view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        posted = posted || LOWORD(msg.wParam) == 43046;
    EXPECT_TRUE(posted);
}

TEST_F(DesignToolTest, ASubToolEndingItselfAfterItWasReplacedIsFreedAfterTheMessage) {
    auto* leaving = new CLeavingTool;
    view->SelectSubTool(leaving, 1);
    ASSERT_EQ(page->GetSubTool(), leaving);
    Key('A');
    Pump();
    EXPECT_NE(page->GetSubTool(), nullptr);
    EXPECT_EQ(page->GetSubTool()->GetToolID(), 2);
    // The current sub tool ends through command 43080.
    page->GetSubTool()->Exit(view);
    Pump();
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

TEST_F(DesignToolTest, XAddsTwoGuidesThroughThePointerAsOneTransaction) {
    Install();
    const int guides = page->Grid() ? 1 : 0;
    ASSERT_EQ(guides, 1);
    Mouse(WM_MOUSEMOVE, Client(25000, 35000), 0);
    const int undo = page->GetUndoCount();
    Key('X');
    EXPECT_EQ(page->GetUndoCount(), undo + 3);
}

TEST_F(DesignToolTest, CtrlLTogglesAutoPan) {
    Install();
    QvSetAutoPan(0);
    Key('L');
    EXPECT_EQ(QvGetAutoPan(), 0);
    SetKey(VK_CONTROL, true);
    Key('L');
    SetKey(VK_CONTROL, false);
    EXPECT_EQ(QvGetAutoPan(), 1);
    QvSetAutoPan(0);
}

} // namespace

namespace {

TEST_F(DesignToolTest, ACustomCursorFollowsThePointerAndGoesWithItsTool) {
    QvSetUseLargeCrossHair(1);
    CNumberTool* t = Install();
    t->vfnSetCursor(new CLargeCrossHair);
    t->vfnSetCursor(new CLargeCrossHair); // the first one is freed
    Mouse(WM_MOUSEMOVE, CPoint(100, 120), 0);
    EXPECT_EQ(t->GetCustomCursor()->LastPosition(), CPoint(100, 120));
    // With the cross hair drawn, the system cursor is hidden.
    t->SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_CROSS)));
    EXPECT_EQ(::GetCursor(), nullptr);
    Command(CDesignTool::ID_TOGGLE_CUSTOM_CURSOR);
    EXPECT_EQ(QvGetUseLargeCrossHair(), 0);
    Install(); // the tool goes with its cursor
    QvSetUseLargeCrossHair(0);
}

} // namespace

namespace {

TEST_F(DesignToolTest, ZoomingAViewWithoutSizeDoesNothing) {
    Install();
    view->Zoom(CWindow(20000, 20000, 80000, 80000));
    view->MoveWindow(0, 0, 0, 0);
    const CWindow shown = view->ViewExtents();
    const INT_PTR history = view->ZoomHistoryCount();
    Send(WM_CHAR, 'z', 1);
    Send(WM_CHAR, 'Z', 1);
    EXPECT_EQ(view->ViewExtents(), shown);
    EXPECT_EQ(view->ZoomHistoryCount(), history);
}

TEST_F(DesignToolTest, TheDestructionMessageIsNotPostedToAViewOfAnotherPage) {
    CNumberTool* t = Install();
    CDesignView* first = view;
    CDesignPage* firstPage = page;
    ASSERT_TRUE(Open(nullptr, false));
    CDesignView* other = view;
    ASSERT_NE(other, first);
    t->SetViewForLastMessage(other);
    t->fnSetDestructionMsg(43046);
    firstPage->DeleteDesignTool(); // frees t
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, other->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
}

} // namespace
