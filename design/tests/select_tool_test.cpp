#include "design/select_tool.h"

#include "design/item_echo.h"
#include "design/tests/tool_fixture.h"
#include "pivora/framework/app_params.h"
#include "pivora/select.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <map>
#include <tuple>
#include <vector>

namespace {

using SelectToolTest = SelectToolHost;
using Sel = std::vector<std::pair<CArticle*, int>>;

int Children(CTree* t) {
    int n = 0;
    for (CTree* c = t->GetFirstChild(); c; c = c->GetRsibling())
        ++n;
    return n;
}

TEST_F(SelectToolTest, ClicksSelectWithTheKeysReadAtThePress) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(40000, 10000, 50000, 20000));
    CArticle* group = new CArticle;
    page->RootArticle()->AddChild(group);
    CArticle* child = Box(CWindow(10000, 60000, 20000, 70000), group);
    Box(CWindow(30000, 60000, 40000, 70000), group);

    Click(Centre(a));
    EXPECT_EQ(Selection(), (Sel{{a, 1}}));
    EXPECT_EQ(select->ReferenceHint(), 1);
    Click(Centre(b), MK_SHIFT);
    EXPECT_EQ(Selection(), (Sel{{a, 1}, {b, 1}}));
    // Clicking a selected article keeps the selection and makes it the last one.
    Click(Centre(a));
    EXPECT_EQ(Selection(), (Sel{{b, 1}, {a, 1}}));
    // Shift does not toggle off.
    Click(Centre(b), MK_SHIFT);
    EXPECT_EQ(Selection(), (Sel{{a, 1}, {b, 1}}));
    // A child selects its top-level article; with "S" the child itself; Ctrl its item.
    Click(Centre(child));
    EXPECT_EQ(Selection(), (Sel{{group, 1}}));
    // A child of an article selected as a whole is not selected on its own.
    SetKey('S', true);
    Click(Centre(child), MK_SHIFT);
    EXPECT_EQ(Selection(), (Sel{{group, 1}}));
    Click(Centre(child));
    SetKey('S', false);
    EXPECT_EQ(Selection(), (Sel{{child, 1}}));
    Click(Centre(a), MK_CONTROL);
    EXPECT_EQ(Selection(), (Sel{{a, 2}}));
    // With a selection the right button opens the menu; Escape clears.
    Mouse(WM_RBUTTONDOWN, Centre(a), MK_RBUTTON);
    Mouse(WM_RBUTTONUP, Centre(a), 0);
    EXPECT_EQ(Selection(), (Sel{{a, 2}}));
    Key(VK_ESCAPE);
    EXPECT_TRUE(Selection().empty());
}

TEST_F(SelectToolTest, BandsSelectWhatLiesInsideAndGiveTheStartCorner) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    CArticle* c = Box(CWindow(60000, 10000, 70000, 20000));
    struct Case {
        const char* name;
        CLpoint from, to;
        bool touch;
        Sel want;
        int hint;
    };
    const Case cases[] = {
        {"from the bottom-right corner", {45000, 5000}, {5000, 25000}, false, {{a, 1}, {b, 1}}, 9},
        {"from the top-left corner", {5000, 25000}, {45000, 5000}, false, {{a, 1}, {b, 1}}, 6},
        {"right and up", {5000, 5000}, {25000, 25000}, false, {{a, 1}}, 8},
        {"left and down", {75000, 25000}, {55000, 5000}, false, {{c, 1}}, 7},
        {"touching without Q", {15000, 5000}, {35000, 25000}, false, {}, 8},
        {"touching with Q", {15000, 5000}, {35000, 25000}, true, {{a, 1}, {b, 1}}, 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Mouse(WM_RBUTTONDOWN, Client(95000, 95000), MK_RBUTTON);
        SetKey('Q', k.touch);
        SetKey(VK_LBUTTON, true);
        Mouse(WM_LBUTTONDOWN, Client(k.from.x, k.from.y), MK_LBUTTON);
        EXPECT_EQ(select->BandMode(), 1);
        Mouse(WM_MOUSEMOVE, Client(k.to.x, k.to.y), MK_LBUTTON);
        SetKey(VK_LBUTTON, false);
        Mouse(WM_LBUTTONUP, Client(k.to.x, k.to.y), 0);
        SetKey('Q', false);
        EXPECT_EQ(select->BandMode(), 0);
        EXPECT_EQ(Selection(), k.want);
        EXPECT_EQ(select->ReferenceHint(), k.hint);
    }
}

TEST_F(SelectToolTest, AnArticleExactlyOnTheBandsEdgeIsInside) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    select->SetViewForLastMessage(view);
    select->SelectWithinRect(view, CRect(10000, 10000, 20000, 20000), CSelect::kSelectArticle, 1);
    EXPECT_EQ(Selection(), (Sel{{a, 1}}));
    EXPECT_EQ(select->ReferenceHint(), 8);
    page->RemoveAllObjectSelection();
    select->SelectWithinRect(view, CRect(20000, 10000, 20000, 20000), CSelect::kSelectArticle, 1);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(select->ReferenceHint(), 1); // no width
}

TEST_F(SelectToolTest, AQuickClickSelectsAndMovesNothing) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    const CPoint p = Centre(a);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, p + CPoint(30, 0), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, p + CPoint(30, 0), 0);
    Advance(1000);
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 20000, 20000));
    EXPECT_EQ(Selection(), (Sel{{a, 1}}));
    EXPECT_EQ(page->GetUndoCount(), 0);
}

TEST_F(SelectToolTest, ABodyDragMovesTheSelectionAsOneTransaction) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    Click(Centre(a));
    Click(Centre(b), MK_SHIFT);
    const int undo = page->GetUndoCount();
    const CPoint from = Centre(a);
    const CPoint to = Client(15000 + 10000, 15000 - 5000);
    Drag(from, to);
    CPoint moved(from);
    view->ClientToDoc(moved);
    CPoint dropped(to);
    view->ClientToDoc(dropped);
    const LONG dx = dropped.x - moved.x, dy = dropped.y - moved.y;
    EXPECT_NE(dx, 0);
    EXPECT_EQ(BoxOf(a), CWindow(10000 + dx, 10000 + dy, 20000 + dx, 20000 + dy));
    EXPECT_EQ(BoxOf(b), CWindow(30000 + dx, 10000 + dy, 40000 + dx, 20000 + dy));
    EXPECT_EQ(page->GetUndoCount(), undo + 3); // a marker and two moves
    EXPECT_EQ(select->Echo(), nullptr);
    page->PerformUndoTransaction();
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 20000, 20000));
}

TEST_F(SelectToolTest, AHandleDragScalesAndARightPressCancelsIt) {
    CArticle* a = Box(CWindow(20000, 20000, 40000, 40000));
    Click(Centre(a));
    const CPoint right = Client(40000, 30000);
    // Cancelled: nothing changes.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, right, MK_LBUTTON);
    ASSERT_NE(select->Echo(), nullptr);
    Mouse(WM_MOUSEMOVE, Client(60000, 30000), MK_LBUTTON);
    Mouse(WM_RBUTTONDOWN, Client(60000, 30000), MK_LBUTTON | MK_RBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(60000, 30000), 0);
    EXPECT_EQ(BoxOf(a), CWindow(20000, 20000, 40000, 40000));
    EXPECT_EQ(page->GetUndoCount(), 0);
    // Dragged to twice the width: the right edge follows the pointer.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, right, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(60000, 35000), MK_LBUTTON);
    EXPECT_EQ(Pane(1).Left(7), CString(L"Width: "));
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(60000, 35000), 0);
    CPoint edge = Client(60000, 35000);
    view->ClientToDoc(edge);
    const CWindow w = BoxOf(a);
    EXPECT_EQ(w.x1, 20000);
    EXPECT_NEAR(w.x2, edge.x, 1);
    EXPECT_EQ(w.y1, 20000);
    EXPECT_EQ(w.y2, 40000);
}

TEST_F(SelectToolTest, ShiftPressedAndReleasedDuringADragSwitchesTheConstraint) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    Click(Centre(a));
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Centre(a), MK_LBUTTON);
    Advance(CSelectTool::kDragStartMs);
    ASSERT_NE(select->Echo(), nullptr);
    Mouse(WM_MOUSEMOVE, Centre(a) + CPoint(40, 10), MK_LBUTTON);
    const CMat2d free = select->m_Transform;
    EXPECT_NE(free.m7, 0.0);
    SetKey(VK_SHIFT, true);
    Key(VK_SHIFT);
    EXPECT_NE(select->m_Transform.m6, 0.0);
    EXPECT_EQ(select->m_Transform.m7, 0.0);
    SetKey(VK_SHIFT, false);
    Key(VK_SHIFT, true);
    EXPECT_EQ(select->m_Transform, free);
    Mouse(WM_RBUTTONDOWN, Centre(a), MK_RBUTTON);
    SetKey(VK_LBUTTON, false);
}

TEST_F(SelectToolTest, NudgesRepeatAndTheirTransactions) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    Click(Centre(a));
    Key(VK_RIGHT);
    EXPECT_EQ(BoxOf(a), CWindow(11000, 10000, 21000, 20000));
    Key(VK_UP);
    EXPECT_EQ(BoxOf(a), CWindow(11000, 11000, 21000, 21000));
    EXPECT_EQ(page->GetUndoCount(), 4);
    // Factor 0: a transaction that moves nothing.
    QvSetAppParam(L"Nudge Selection Factor", 0);
    Key(VK_LEFT);
    EXPECT_EQ(BoxOf(a), CWindow(11000, 11000, 21000, 21000));
    EXPECT_EQ(page->GetUndoCount(), 6);
    // A negative factor is taken as 0, a huge one as the data range.
    QvSetAppParam(L"Nudge Selection Factor", -5000);
    Key(VK_LEFT);
    EXPECT_EQ(BoxOf(a).x1, 11000);
    // With page flag 4 a nudge that would leave the page is dropped.
    QvSetAppParam(L"Nudge Selection Factor", 90000);
    page->SetFlags(4);
    const int undo = page->GetUndoCount();
    Key(VK_RIGHT);
    EXPECT_EQ(page->GetUndoCount(), undo);
    EXPECT_EQ(BoxOf(a).x1, 11000);
    page->ClrFlags(4);
    // "T" before any drag applies the identity but records a transaction.
    const int before = page->GetUndoCount();
    Key('T');
    EXPECT_EQ(BoxOf(a), CWindow(11000, 11000, 21000, 21000));
    EXPECT_EQ(page->GetUndoCount(), before + 2);
}

TEST_F(SelectToolTest, NudgingNothingSaysSo) {
    Key(VK_RIGHT);
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, std::wstring(L"There are no objects selected."));
}

TEST_F(SelectToolTest, SelectAllInvertAndDeleteThroughCommands) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    Click(Centre(a));
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_CLEAR)->enabled, 1);
    Command(CSelectTool::ID_SELECT_ALL);
    EXPECT_EQ(Selection(), (Sel{{a, 1}, {b, 1}}));
    Key(VK_ESCAPE);
    Click(Centre(a));
    Command(CSelectTool::ID_INVERT_SELECTION);
    EXPECT_EQ(Selection(), (Sel{{b, 1}}));
    Command(CSelectTool::ID_EDIT_CLEAR);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), a);
    EXPECT_EQ(a->GetRsibling(), nullptr);
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_CLEAR)->enabled, 0);
}

TEST_F(SelectToolTest, ThePromptNamesTheSelectionAndItsSize) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 25000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    Pump();
    EXPECT_EQ(Pane(1), CString(L" "));
    Click(Centre(a));
    Pump();
    EXPECT_EQ(Pane(1), CString(L"An Object  Width: 10.00mm Height: 15.00mm"));
    a->fnSaveString(L"Morvell Name", L"Star", 0);
    b->fnSaveString(L"Morvell Name", L"Star", 0);
    Click(Centre(b), MK_SHIFT);
    Pump();
    EXPECT_EQ(Pane(1), CString(L"2 x Star  Width: 30.00mm Height: 15.00mm"));
    b->fnSaveString(L"Morvell Name", L"Moon", 0);
    Command(CDesignTool::ID_SELECTION_CHANGED);
    EXPECT_EQ(Pane(1), CString(L"2 Objects  Width: 30.00mm Height: 15.00mm"));
}

TEST_F(SelectToolTest, TabSkipsHitsDeletedSinceTheClick) {
    CArticle* a = Box(CWindow(10000, 10000, 30000, 30000));
    CArticle* b = Box(CWindow(12000, 12000, 28000, 28000));
    CArticle* c = Box(CWindow(14000, 14000, 26000, 26000));
    Click(Client(20000, 20000));
    ASSERT_EQ(page->HitList().GetCount(), 3);
    CArticle* first = Selection().at(0).first;
    // Delete the next hit behind the tool's back.
    CArticle* next = first == a ? b : (first == b ? c : a);
    (void)next;
    page->RemoveAllObjectSelection();
    page->DeleteArticle(b, 0, 1);
    page->AddObjectSelection(first == b ? a : first, 1, 1);
    Key(VK_TAB);
    Key(VK_TAB, true);
    Key(VK_TAB);
    Key(VK_TAB, true);
    for (auto& [article, mode] : Selection())
        EXPECT_TRUE(article == a || article == c);
}

TEST_F(SelectToolTest, SelectionOutlinesAndHandlesComeInXorPairs) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    platform::RecordingSurface& rec = Record();
    Click(Centre(a));
    Key(VK_ESCAPE);
    // Each handle square is inverted once to show and once to hide.
    std::map<std::tuple<int, int, int, int>, int> squares;
    for (const platform::RecordedCall& c : rec.Calls())
        if (c.op == platform::GdiOp::PatBlt && c.rasterOp == PATINVERT)
            ++squares[{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}];
    EXPECT_EQ(squares.size(), 9u);
    for (auto& [rect, n] : squares)
        EXPECT_EQ(n % 2, 0) << rec.Dump();
}

} // namespace

namespace {

TEST_F(SelectToolTest, ShiftArrowsGiveTheArrangeCommandsWhileTheToolIsCurrent) {
    HACCEL table = page->GetDefaultAccelerator();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, select->GetDefaultAccelerator());
    CFrameWnd* child = view->GetParentFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetDefaultAccelerator(), table);
    std::vector<ACCEL> entries(size_t(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), int(entries.size()));
    auto command = [&](BYTE flags, WORD key) {
        for (const ACCEL& a : entries)
            if (a.fVirt == flags && a.key == key)
                return int(a.cmd);
        return 0;
    };
    EXPECT_EQ(command(FVIRTKEY | FSHIFT, VK_LEFT), 43303);
    EXPECT_EQ(command(FVIRTKEY | FSHIFT, VK_UP), 43301);
    EXPECT_EQ(command(FVIRTKEY | FSHIFT, VK_RIGHT), 43304);
    EXPECT_EQ(command(FVIRTKEY | FSHIFT, VK_DOWN), 43302);
    EXPECT_EQ(command(FVIRTKEY | FSHIFT, VK_OEM_2), 43305);
    // A plain tool has no table of its own: the frame's keys come back.
    view->SelectDesignTool(new CDesignTool(0), 1);
    EXPECT_EQ(page->GetDefaultAccelerator(), nullptr);
}

} // namespace

namespace {

TEST_F(SelectToolTest, MovesByValuesStopAtTheDataRange) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    Click(Centre(a));
    select->MoveSelectionBy(view, 5000, -2000, false);
    EXPECT_EQ(BoxOf(a), CWindow(15000, 8000, 25000, 18000));
    select->MoveSelectionBy(view, 1000, 2000, true);
    EXPECT_EQ(BoxOf(a), CWindow(1000, 2000, 11000, 12000));
    select->MoveSelectionBy(view, 1e15, -1e15, false);
    EXPECT_EQ(BoxOf(a).x1, 1000 + CSelectTool::kDataLimit);
    EXPECT_EQ(BoxOf(a).y1, 2000 - CSelectTool::kDataLimit);
    EXPECT_EQ(page->GetUndoCount(), 6);
}

} // namespace

namespace {

// An article with a right-click menu and a default tool of its own.
class CMenuArticle : public CArticle {
public:
    explicit CMenuArticle(int menu) : m_menu(menu) {}
    int fnGetRightClickMenu() override { return m_menu; }
    int GetDefaultToolId() override { return 43052; }

private:
    int m_menu;
};

TEST_F(SelectToolTest, TheMenuIsTheArticlesWhileTheyAgreeElseTheViewsDefault) {
    auto add = [&](int menu, LONG x) {
        auto* a = new CMenuArticle(menu);
        a->Item(new CToolBoxItem(CWindow(x, 10000, x + 5000, 20000)));
        page->RootArticle()->AddChild(a);
        a->InvExtents(1);
        return a;
    };
    CArticle* a = add(500, 10000);
    CArticle* b = add(500, 20000);
    CArticle* c = add(600, 30000);
    EXPECT_EQ(select->ContextMenuID(view), 0); // nothing selected
    Click(Centre(a));
    Click(Centre(b), MK_SHIFT);
    EXPECT_EQ(select->ContextMenuID(view), 500);
    Click(Centre(c), MK_SHIFT);
    EXPECT_EQ(select->ContextMenuID(view), CArticle::m_nRightClickMenu);
    QvSetAppParam(L"Enable Right-Click Menu", 0);
    EXPECT_EQ(select->ContextMenuID(view), 0);
    // Enter posts the last selected article's default tool.
    Key(VK_RETURN);
    MSG msg;
    bool posted = false;
    while (::PeekMessageW(&msg, view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        posted = posted || LOWORD(msg.wParam) == 43052;
    EXPECT_TRUE(posted);
}

TEST_F(SelectToolTest, StepsOnlyFromASingleSelectionAndEscapeEndsABand) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    Click(Centre(a));
    SetKey(VK_CONTROL, true);
    Key(VK_RIGHT);
    EXPECT_EQ(Selection(), (Sel{{b, 1}}));
    Key(VK_LEFT);
    EXPECT_EQ(Selection(), (Sel{{a, 1}}));
    SetKey(VK_CONTROL, false);
    Click(Centre(b), MK_SHIFT);
    SetKey(VK_CONTROL, true);
    Key(VK_RIGHT);
    SetKey(VK_CONTROL, false);
    EXPECT_EQ(Selection(), (Sel{{a, 1}, {b, 1}}));
    // A band cancelled by Escape selects nothing and leaves no rectangle.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(5000, 5000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(45000, 25000), MK_LBUTTON);
    Key(VK_ESCAPE);
    EXPECT_EQ(select->BandMode(), 0);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(45000, 25000), 0);
    EXPECT_TRUE(Selection().empty());
}

TEST_F(SelectToolTest, ALowSelectionAfterADragShowsTheStoredWarning) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 12000));
    QvSetAppParam(L"Selector Height Warning Size", 5000);
    QvSetAppParam(L"Selector Height Warning", CString(L"Too low for the cutter"));
    Click(Centre(a));
    Drag(Client(15000, 12000), Client(25000, 12000));
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, std::wstring(L"Too low for the cutter"));
    // A click that drags nothing warns of nothing.
    Click(Client(60000, 60000));
    EXPECT_EQ(m_boxes.Shown().size(), 1u);
}

} // namespace

namespace {

// A select tool with property bits, as derived tools set them.
class CPropertySelectTool : public CSelectTool {
public:
    explicit CPropertySelectTool(DWORD bits) { fnSetProperty(bits); }
};

TEST_F(SelectToolTest, PropertyBitsSwitchPartsOff) {
    CArticle* group = new CArticle;
    page->RootArticle()->AddChild(group);
    CArticle* child = Box(CWindow(10000, 10000, 20000, 20000), group);
    struct Case {
        DWORD bits;
        UINT flags;
        int key; // held during the click, 0 for none
        Sel want;
    };
    const Case cases[] = {
        {0, MK_CONTROL, 0, {{child, 2}}},
        {CSelectTool::kPropNoItemSelect, MK_CONTROL, 0, {{group, 1}}},
        {0, 0, 'S', {{child, 1}}},
        {CSelectTool::kPropNoSelfSelect, 0, 'S', {{group, 1}}},
        {CSelectTool::kPropNoSelectOnPress, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        auto* t = new CPropertySelectTool(c.bits);
        view->SelectDesignTool(t, 1);
        page->RemoveAllObjectSelection();
        if (c.key)
            SetKey(c.key, true);
        Click(Centre(child), c.flags);
        if (c.key)
            SetKey(c.key, false);
        EXPECT_EQ(Selection(), c.want);
    }
    // Bit 1: Delete does nothing.
    view->SelectDesignTool(new CPropertySelectTool(CSelectTool::kPropNoDelete), 1);
    Command(CSelectTool::ID_SELECT_ALL);
    Command(CSelectTool::ID_EDIT_CLEAR);
    EXPECT_EQ(Selection(), (Sel{{group, 1}}));
    // Bit 2: a right press that clears also brings the default tool back.
    QvSetAppParam(L"Enable Right-Click Menu", 0);
    view->SelectDesignTool(new CPropertySelectTool(CSelectTool::kPropRightClearsToDefault), 1);
    Mouse(WM_RBUTTONDOWN, Client(90000, 90000), MK_RBUTTON);
    Mouse(WM_RBUTTONUP, Client(90000, 90000), 0);
    Pump();
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(page->GetDesignTool()->GetRuntimeClass(), RUNTIME_CLASS(CSelectTool));
}

TEST_F(SelectToolTest, HeldKeysChooseTheCursor) {
    Box(CWindow(10000, 10000, 20000, 20000));
    Pointer(Client(60000, 60000));
    struct Case {
        int key;
        UINT cursor;
        int band;
    };
    const Case cases[] = {
        {VK_MENU, CSelectTool::IDC_SELECT_BAND, 1},
        {'S', CSelectTool::IDC_SELECT_SELF, 0},
        {'N', CSelectTool::IDC_SELECT_COLOUR, 0},
        {'G', CSelectTool::IDC_SELECT_GROUP, 0},
        {0, IDC_ARROW, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cursor);
        if (c.key)
            SetKey(c.key, true);
        ::SetCursor(nullptr);
        Send(WM_SETCURSOR, WPARAM(view->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(platform::CursorId(::GetCursor()), c.cursor);
        EXPECT_EQ(select->BandMode(), c.band);
        if (c.key)
            SetKey(c.key, false);
        Send(WM_SETCURSOR, WPARAM(view->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        select->OnIdleUpdateCmdUI(view, 0, 0);
    }
}

// An article drawn beneath others (display level below 51).
class CLowArticle : public CArticle {
public:
    int GetDisplayLevel() override { return 40; }
};

TEST_F(SelectToolTest, AClickMovesALowArticleAfterItsLowNeighboursAsOneTransaction) {
    auto low = [&](LONG x) {
        auto* a = new CLowArticle;
        a->Item(new CToolBoxItem(CWindow(x, 10000, x + 5000, 20000)));
        page->RootArticle()->AddChild(a);
        a->InvExtents(1);
        return a;
    };
    CArticle* a = low(10000);
    CArticle* b = low(20000);
    CArticle* c = low(30000);
    CArticle* d = Box(CWindow(40000, 10000, 45000, 20000));
    Click(Centre(a));
    std::vector<CTree*> order;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        order.push_back(t);
    EXPECT_EQ(order, (std::vector<CTree*>{b, c, a, d}));
    EXPECT_EQ(page->GetUndoCount(), 2);
    EXPECT_EQ(Selection(), (Sel{{a, 1}}));
    // With Shift the order stays.
    Click(Centre(b), MK_SHIFT);
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), b);
}

TEST_F(SelectToolTest, TheStatusPaneIsEnabledWhileItHasText) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    QvSetStatusText(1, L" ");
    EXPECT_EQ(Update(CDesignTool::ID_STATUS_INFO, false)->enabled, 0);
    Click(Centre(a));
    Pump();
    EXPECT_EQ(Update(CDesignTool::ID_STATUS_INFO, false)->enabled, 1);
}

} // namespace

namespace {

TEST_F(SelectToolTest, ColourGroupAndTheMiddleButtonKey) {
    CArticle* red1 = Path(CWindow(10000, 10000, 20000, 20000));
    if (!red1)
        GTEST_SKIP() << "the curve library is not linked";
    CArticle* red2 = Path(CWindow(30000, 10000, 40000, 20000));
    CArticle* blue = Path(CWindow(50000, 10000, 60000, 20000));
    static_cast<CVectorArticle*>(red1)->SetPaletteIndex(3);
    static_cast<CVectorArticle*>(red2)->SetPaletteIndex(3);
    static_cast<CVectorArticle*>(blue)->SetPaletteIndex(5);
    // "N": every top-level path of the colour.
    SetKey('N', true);
    Click(Client(15000, 10000));
    SetKey('N', false);
    EXPECT_EQ(Selection(), (Sel{{red1, 1}, {red2, 1}}));
    EXPECT_EQ(select->ReferenceHint(), 1);
    // "G": every article of the same group name.
    blue->fnSaveString(L"Group", L"Sign", 0);
    red1->fnSaveString(L"Group", L"Sign", 0);
    SetKey('G', true);
    Click(Client(55000, 10000));
    SetKey('G', false);
    EXPECT_EQ(Selection(), (Sel{{blue, 1}, {red1, 1}}));
    // "K" clicks at the pointer with Shift: adds without clearing.
    Pointer(Client(32000, 10000));
    Key('K');
    EXPECT_EQ(Selection(), (Sel{{blue, 1}, {red1, 1}, {red2, 1}}));
}

} // namespace

namespace {

TEST_F(SelectToolTest, ARegionSelectsPathsWhosePointsAllLieInside) {
    CArticle* inside = Path(CWindow(10000, 10000, 20000, 20000));
    if (!inside)
        GTEST_SKIP() << "the curve library is not linked";
    CArticle* across = Path(CWindow(25000, 10000, 45000, 20000));
    CArticle* bare = new CArticle; // no paths: does not fail the test
    page->RootArticle()->AddChild(bare);
    const CPoint a = Client(5000, 25000), b = Client(35000, 5000);
    CRgn region;
    region.CreateRectRgn(a.x, a.y, b.x, b.y);
    EXPECT_TRUE(select->ObjectWithinRgn(view, inside, &region));
    EXPECT_FALSE(select->ObjectWithinRgn(view, across, &region));
    EXPECT_TRUE(select->ObjectWithinRgn(view, bare, &region));
    select->SelectWithinRegion(view, &region, CSelect::kSelectArticle, 0);
    EXPECT_EQ(Selection(), (Sel{{inside, 1}}));
}

TEST_F(SelectToolTest, AlignTakesTheLastClickedOrTheBandCornerAndUndoes) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 30000, 45000, 40000));
    CArticle* c = Box(CWindow(50000, 10000, 55000, 20000));
    // Nothing moves before a click or band.
    page->AddObjectSelection(a, CSelect::kSelectArticle, 1);
    page->AddObjectSelection(b, CSelect::kSelectArticle, 1);
    Command(CSelectTool::ID_ALIGN_LEFT);
    EXPECT_EQ(BoxOf(a).x1, 10000);
    EXPECT_EQ(BoxOf(b).x1, 30000);

    Click(Centre(a));
    Click(Centre(b), MK_SHIFT);
    Click(Centre(c), MK_SHIFT);
    const int undo = page->GetUndoCount();
    Command(CSelectTool::ID_ALIGN_LEFT);
    EXPECT_EQ(BoxOf(a), CWindow(50000, 10000, 60000, 20000));
    EXPECT_EQ(BoxOf(b), CWindow(50000, 30000, 65000, 40000));
    EXPECT_EQ(BoxOf(c), CWindow(50000, 10000, 55000, 20000));
    EXPECT_TRUE(page->IsModified());
    while (page->GetUndoCount() > undo)
        page->PerformUndoTransaction();
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 20000, 20000));
    EXPECT_EQ(BoxOf(b), CWindow(30000, 30000, 45000, 40000));

    // A band from the bottom-right: the entry with the largest x2 leads Align Left.
    Drag(Client(70000, 5000), Client(5000, 45000));
    ASSERT_EQ(select->ReferenceHint(), eHandleBottomRight);
    Command(CSelectTool::ID_ALIGN_LEFT);
    EXPECT_EQ(BoxOf(a).x1, 50000);
    EXPECT_EQ(BoxOf(b).x1, 50000);
    EXPECT_EQ(BoxOf(c).x1, 50000);
}

TEST_F(SelectToolTest, ArrangeCommandsAreEnabledByTheSelectionCount) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(30000, 10000, 40000, 20000));
    CArticle* c = Box(CWindow(60000, 10000, 70000, 20000));
    const struct {
        UINT id;
        int needed;
    } cases[] = {{CSelectTool::ID_ALIGN_TOP, 2},       {CSelectTool::ID_CENTRE_VERTICALLY, 1},
                 {CSelectTool::ID_CENTRE_ON_LAST, 2},  {CSelectTool::ID_SPACE_VERTICALLY, 3},
                 {CSelectTool::ID_SIZE_MIN_MAX, 2},    {CSelectTool::ID_FLIP_HORIZONTALLY, 1},
                 {CSelectTool::ID_JOIN_VERTICALLY, 2}, {CSelectTool::ID_NUDGE_DIVIDE, 1}};
    CArticle* boxes[] = {a, b, c};
    for (int n = 0; n <= 3; ++n) {
        page->RemoveAllObjectSelection();
        for (int i = 0; i < n; ++i)
            page->AddObjectSelection(boxes[i], CSelect::kSelectArticle, 1);
        for (const auto& k : cases) {
            SCOPED_TRACE(testing::Message() << k.id << " with " << n);
            EXPECT_EQ(Update(k.id)->enabled, n >= k.needed ? 1 : 0);
        }
    }
}

TEST_F(SelectToolTest, CentreSpaceFlipAndJoinMoveTheEntries) {
    CArticle* a = Box(CWindow(0, 0, 10000, 10000));
    CArticle* b = Box(CWindow(20000, 0, 40000, 10000));
    CArticle* c = Box(CWindow(90000, 0, 100000, 20000));
    Click(Centre(a));
    Click(Centre(b), MK_SHIFT);
    Click(Centre(c), MK_SHIFT);
    Command(CSelectTool::ID_SPACE_HORIZONTALLY);
    EXPECT_EQ(BoxOf(b).x1, 40000);
    // Flip about the selection's vertical centre line.
    Command(CSelectTool::ID_FLIP_HORIZONTALLY);
    EXPECT_EQ(BoxOf(a), CWindow(90000, 0, 100000, 10000));
    EXPECT_EQ(BoxOf(c), CWindow(0, 0, 10000, 20000));
    // Join on the last selected (c, now at the left).
    Command(CSelectTool::ID_JOIN_HORIZONTALLY);
    EXPECT_EQ(BoxOf(b), CWindow(10000, 0, 30000, 10000));
    EXPECT_EQ(BoxOf(a), CWindow(30000, 0, 40000, 10000));
    // Centre on the last in both directions.
    Command(CSelectTool::ID_CENTRE_ON_LAST);
    EXPECT_EQ(BoxOf(a), CWindow(0, 5000, 10000, 15000));
}

TEST_F(SelectToolTest, FlatEntriesResizeAndFlipWithoutHarm) {
    CArticle* flat = Path(CWindow(10000, 20000, 30000, 20000));
    if (!flat)
        GTEST_SKIP() << "no curve library";
    CArticle* box = Box(CWindow(50000, 10000, 60000, 30000));
    Click(Centre(box));
    page->AddObjectSelection(flat, CSelect::kSelectArticle, 1); // the last selected leads
    Command(CSelectTool::ID_SIZE_SAME_WIDTH);
    EXPECT_EQ(BoxOf(box), CWindow(45000, 0, 65000, 40000));
    // A flat reference: same height flattens the box and keeps its width.
    Command(CSelectTool::ID_SIZE_SAME_HEIGHT);
    EXPECT_EQ(BoxOf(box), CWindow(45000, 20000, 65000, 20000));
    // Now both are flat: nothing can grow, and a vertical flip keeps them in place.
    const std::vector<CLpoint> before = PointsOf(flat);
    for (UINT id : {CSelectTool::ID_SIZE_MIN_MAX, CSelectTool::ID_SIZE_STRETCH_BOTH,
                    CSelectTool::ID_FLIP_VERTICALLY})
        Command(id);
    EXPECT_EQ(PointsOf(flat), before);
    EXPECT_EQ(BoxOf(box), CWindow(45000, 20000, 65000, 20000));
}

TEST_F(SelectToolTest, ReflectJoinsAnOpenPathEndingOnTheLineElseAddsACopy) {
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    if (!item)
        GTEST_SKIP() << "no curve library";
    const CSb pts[] = {{0x200, {30000, 10000}}, {0x200, {20000, 30000}}, {0x200, {10000, 20000}}};
    item->InsertElement(-1, const_cast<CSb*>(pts), 3);
    auto* open = new CVectorArticle;
    open->Item(item);
    page->RootArticle()->AddChild(open);
    open->InvExtents(1);
    Click(Client(20000, 30000));
    ASSERT_EQ(Selection(), (Sel{{open, 1}}));
    const int children = Children(page->RootArticle());
    Command(CSelectTool::ID_NUDGE_LEFT);
    EXPECT_EQ(Children(page->RootArticle()), children);
    EXPECT_EQ(PointsOf(open),
              (std::vector<CLpoint>{
                  {30000, 10000}, {20000, 30000}, {10000, 20000}, {0, 30000}, {-10000, 10000}}));
    page->PerformUndoTransaction();
    EXPECT_EQ(PointsOf(open).size(), 3u);

    // A closed path gets a mirrored copy below the bottom edge.
    CArticle* square = Path(CWindow(50000, 10000, 60000, 20000));
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(square, CSelect::kSelectArticle, 1);
    Command(CSelectTool::ID_NUDGE_DOWN);
    EXPECT_EQ(Children(page->RootArticle()), children + 2);
    CTree* copy = page->RootArticle()->GetFirstChild();
    while (copy->GetRsibling())
        copy = copy->GetRsibling();
    EXPECT_EQ(static_cast<CArticle*>(copy)->Extents(0), CWindow(50000, 0, 60000, 10000));
    // The angled reflection of a one-point path falls back to the right edge.
    CArticle* dot = Path(CWindow(70000, 10000, 70000, 10000));
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(dot, CSelect::kSelectArticle, 1);
    Command(CSelectTool::ID_NUDGE_DIVIDE);
    EXPECT_EQ(Children(page->RootArticle()), children + 4);
    // Angled: the line from element 0 to the last element before the closing one.
    CArticle* tall = Path(CWindow(50000, 40000, 60000, 60000));
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(tall, CSelect::kSelectArticle, 1);
    Command(CSelectTool::ID_NUDGE_DIVIDE);
    copy = page->RootArticle()->GetFirstChild();
    while (copy->GetRsibling())
        copy = copy->GetRsibling();
    EXPECT_EQ(static_cast<CArticle*>(copy)->Extents(0), CWindow(40000, 40000, 50000, 60000));
    // A line of no length takes the right edge.
    auto* back = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    const CSb there[] = {{0x200, {80000, 70000}},
                         {0x200, {90000, 70000}},
                         {0x200, {80000, 70000}},
                         {0x200, {80000, 70000}}};
    back->InsertElement(-1, const_cast<CSb*>(there), 4);
    auto* spike = new CVectorArticle;
    spike->Item(back);
    page->RootArticle()->AddChild(spike);
    spike->InvExtents(1);
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(spike, CSelect::kSelectArticle, 1);
    Command(CSelectTool::ID_NUDGE_DIVIDE);
    copy = page->RootArticle()->GetFirstChild();
    while (copy->GetRsibling())
        copy = copy->GetRsibling();
    EXPECT_EQ(static_cast<CArticle*>(copy)->Extents(0), CWindow(90000, 70000, 100000, 70000));
    // Nothing selected says so.
    page->RemoveAllObjectSelection();
    const size_t shown = m_boxes.Shown().size();
    select->ReflectSelection(view, CSelectTool::ID_NUDGE_UP);
    EXPECT_EQ(m_boxes.Shown().size(), shown + 1);
}

TEST_F(SelectToolTest, TypedNumbersRecolourTheSelectedPaths) {
    CArticle* a = Path(CWindow(10000, 10000, 20000, 20000));
    if (!a)
        GTEST_SKIP() << "no curve library";
    CArticle* box = Box(CWindow(30000, 10000, 40000, 20000));
    page->AddObjectSelection(a, CSelect::kSelectArticle, 1);
    page->AddObjectSelection(box, CSelect::kSelectArticle, 1);
    select->OnTypedNumber(view, 0);
    EXPECT_EQ(static_cast<CVectorArticle*>(a)->PaletteIndex(), 10);
    select->OnTypedNumber(view, 3);
    EXPECT_EQ(static_cast<CVectorArticle*>(a)->PaletteIndex(), 3);
    select->OnTypedNumber(view, -1);
    EXPECT_EQ(static_cast<CVectorArticle*>(a)->PaletteIndex(), 3);
    page->PerformUndoTransaction();
    EXPECT_EQ(static_cast<CVectorArticle*>(a)->PaletteIndex(), 10);
    page->RemoveAllObjectSelection();
    EXPECT_TRUE(select->SetToolColour(view, 4));
}

} // namespace
