#include "design/design_view.h"

#include "design/tests/design_host.h"
#include "pivora/article.h"
#include "pivora/framework/area_hint.h"
#include "pivora/grid.h"
#include "pivora/item.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/windowing/scroll_bar.h"
#include "platform/windowing/system_metrics.h"
#include "qvutils/tavrin_dialog.h"
#include "toolbars/undo_bar.h"

#include <algorithm>

namespace {

// A box item: enough for extents and zoom.
class CViewBoxItem : public CItem {
public:
    explicit CViewBoxItem(const CWindow& box) : m_box(box) {}

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

CArticle* AddBox(CDesignPage* page, const CWindow& box) {
    auto* a = new CArticle;
    a->Item(new CViewBoxItem(box));
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
    return a;
}

class DesignViewTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        ASSERT_NE(Open(), nullptr);
        ruler = view->GetRulerSize().cx;
    }
    // A point well inside the document area.
    CPoint Inside() const { return CPoint(ruler + 100, ruler + 100); }
    int ruler = 0;
};

TEST_F(DesignViewTest, TheDesignOpensThroughTheTemplateOfItsContextWithRulersAndTheToolInstalled) {
    EXPECT_TRUE(CDesignView::IsCDesignView(view));
    EXPECT_EQ(page->GetDesignTool(), tool);
    EXPECT_EQ(view->GetDesignTool(), tool);
    EXPECT_EQ(page->Context(), CDesignView::kContext);
    EXPECT_TRUE(view->Ruler());
    EXPECT_GT(ruler, 0);
    CRect client;
    view->CWnd::GetClientRect(&client);
    EXPECT_EQ(client.Width(), kViewWidth);
    EXPECT_EQ(client.Height(), kViewHeight);
}

// Which messages reach the tool, and as what.
TEST_F(DesignViewTest, MessagesReachTheToolUnlessTheViewTakesThem) {
    struct Case {
        const char* name;
        UINT msg;
        CPoint at;
        int contextMenu;
        std::vector<std::string> expected;
    };
    const CPoint in = Inside();
    const std::string inside = std::to_string(in.x) + "," + std::to_string(in.y);
    const Case cases[] = {
        {"left press inside", WM_LBUTTONDOWN, in, 0, {"LButtonDown " + inside + " flags=1"}},
        {"left press on the top ruler", WM_LBUTTONDOWN, CPoint(ruler + 50, ruler / 2), 0, {}},
        {"left press on the left ruler", WM_LBUTTONDOWN, CPoint(ruler / 2, ruler + 50), 0, {}},
        {"right press with no menu",
         WM_RBUTTONDOWN,
         in,
         0,
         {"ContextMenuID", "RButtonDown " + inside + " flags=2"}},
        {"right press with a menu", WM_RBUTTONDOWN, in, 5, {"ContextMenuID"}},
        {"right press with a negative menu", WM_RBUTTONDOWN, in, -1, {"ContextMenuID"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool->contextMenu = c.contextMenu;
        tool->Clear();
        Mouse(c.msg, c.at, c.msg == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON);
        EXPECT_EQ(tool->calls, c.expected);
        // Ends whatever the press began.
        Mouse(c.msg == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP, c.at);
        ::ReleaseCapture();
    }
}

TEST_F(DesignViewTest, RightReleaseOpensTheToolsMenuAtThePointerOrGoesToTheTool) {
    struct Case {
        int contextMenu;
        bool toTool;
        bool menu;
    } cases[] = {{0, true, false}, {5, false, true}, {-1, true, false}};
    platform::RegisterMenuTemplate({5, {{MF_POPUP, 0, L"Menu", {{MF_STRING, 4242, L"Item", {}}}}}});
    const CPoint in = Inside();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contextMenu);
        tool->contextMenu = c.contextMenu;
        const size_t popups = Popups().size();
        Mouse(WM_RBUTTONDOWN, in, MK_RBUTTON);
        tool->Clear();
        Mouse(WM_RBUTTONUP, in);
        EXPECT_EQ(tool->Named("RButtonUp").size(), c.toTool ? 1u : 0u);
        EXPECT_EQ(Popups().size() - popups, c.menu ? 1u : 0u);
        if (c.menu) {
            EXPECT_EQ(Popups().back(), 4242u);
            POINT screen = in;
            ::ClientToScreen(view->m_hWnd, &screen);
            EXPECT_EQ(AfxGetContextMenuManager()->LastPoint().x, screen.x);
            EXPECT_EQ(AfxGetContextMenuManager()->LastPoint().y, screen.y);
            EXPECT_EQ(AfxGetContextMenuManager()->LastOwner(), m_frame->m_hWnd);
        }
    }
    // The context-menu key opens it at the view's corner, not at the pointer.
    tool->contextMenu = 5;
    Send(WM_CONTEXTMENU, WPARAM(view->m_hWnd), MAKELPARAM(300, 300));
    POINT corner{0, 0};
    ::ClientToScreen(view->m_hWnd, &corner);
    EXPECT_EQ(AfxGetContextMenuManager()->LastPoint().x, corner.x);
    EXPECT_EQ(AfxGetContextMenuManager()->LastPoint().y, corner.y);
    tool->contextMenu = 0;
    const size_t popups = Popups().size();
    Send(WM_CONTEXTMENU, WPARAM(view->m_hWnd), 0);
    EXPECT_EQ(Popups().size(), popups);
}

TEST_F(DesignViewTest, ReleasesAndKeyUpsAfterAToolChangeAreDropped) {
    const CPoint in = Inside();
    Mouse(WM_LBUTTONDOWN, in, MK_LBUTTON);
    CRecordingTool* first = tool;
    InstallTool();
    EXPECT_NE(tool, first);
    Mouse(WM_LBUTTONUP, in);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(WORD(in.x), WORD(in.y)));
    EXPECT_TRUE(tool->Named("LButton").empty());
    Send(WM_KEYDOWN, 'A', 1);
    InstallTool();
    Send(WM_KEYUP, 'A', 1);
    EXPECT_TRUE(tool->Named("KeyUp").empty());
    // With the same tool, the release goes through.
    Mouse(WM_LBUTTONDOWN, in, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, in);
    EXPECT_EQ(tool->Named("LButtonUp").size(), 1u);
}

// A tool that asks for its own replacement from inside its handler survives until the handler
// returns, and a new tool that happens to get the old one's address takes no release of it.
class CSelfReplacingTool : public CRecordingTool {
public:
    void OnLButtonDown(CDesignView* v, UINT flags, const CPoint& p) override {
        CRecordingTool::OnLButtonDown(v, flags, p);
        v->SelectDesignTool(new CRecordingTool, 1);
        // Still alive: the page keeps the replaced tool until the message is done.
        calls.push_back("after replacement");
    }
};

TEST_F(DesignViewTest, AToolReplacedInsideItsOwnHandlerIsFreedOnlyAfterTheMessage) {
    auto* self = new CSelfReplacingTool;
    view->SelectDesignTool(self, 1);
    Mouse(WM_LBUTTONDOWN, Inside(), MK_LBUTTON);
    auto* now = dynamic_cast<CRecordingTool*>(page->GetDesignTool());
    ASSERT_NE(now, nullptr);
    EXPECT_NE(static_cast<CDesignTool*>(now), static_cast<CDesignTool*>(self));
    EXPECT_EQ(view->DownTool(), nullptr);
    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_TRUE(now->Named("LButtonUp").empty());
}

TEST_F(DesignViewTest, WheelScrollsWithCtrlOrShiftAndOtherwiseZoomsThroughTheTool) {
    struct Case {
        short delta;
        UINT keys;
        const char* expected;
    } cases[] = {{120, MK_CONTROL, "VScroll 0"},
                 {-120, MK_CONTROL, "VScroll 1"},
                 {120, MK_SHIFT, "HScroll 1"},
                 {-120, MK_SHIFT, "HScroll 0"},
                 {120, 0, "Zoom in"},
                 {-120, 0, "Zoom out"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        tool->Clear();
        EXPECT_EQ(Wheel(c.delta, c.keys), TRUE);
        ASSERT_FALSE(tool->calls.empty());
        EXPECT_EQ(tool->calls.front(), c.expected);
    }
}

TEST_F(DesignViewTest, KeysCharsTimersAndCursorReachTheTool) {
    Send(WM_KEYDOWN, 'Q', 1);
    Send(WM_CHAR, 'q', 1);
    Send(WM_KEYUP, 'Q', 1);
    Send(WM_TIMER, 1001);
    EXPECT_EQ(tool->calls,
              (std::vector<std::string>{"KeyDown 81 repeat=1 flags=0", "Char 113 repeat=1 flags=0",
                                        "KeyUp 81 repeat=1 flags=0", "Timer 1001"}));
    // A cursor over the document goes to the tool; when it sets none, the view sets the arrow.
    tool->Clear();
    tool->setsCursor = FALSE;
    Pointer(Inside());
    EXPECT_EQ(Send(WM_SETCURSOR, WPARAM(view->m_hWnd), MAKELPARAM(1, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(tool->calls.size(), 1u);
    EXPECT_EQ(platform::CursorId(::GetCursor()), IDC_ARROW);
}

TEST_F(DesignViewTest, IdleUpdatesReachTheToolOnlyWhileTheViewIsActive) {
    view->OnActivateView(FALSE, nullptr, view);
    tool->Clear();
    Send(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(tool->Named("IdleUpdate").empty());
    view->OnActivateView(TRUE, view, nullptr);
    Send(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(tool->Named("IdleUpdate").size(), 1u);
}

TEST_F(DesignViewTest, CommandsGoToTheToolFirst) {
    tool->takes = {CDesignView::ID_ZOOM_OUT};
    view->Zoom(CWindow(0, 0, 50000, 50000));
    const INT_PTR before = view->ZoomHistoryCount();
    Command(CDesignView::ID_ZOOM_OUT);
    EXPECT_EQ(tool->Named("Command").size(), 1u);
    EXPECT_EQ(view->ZoomHistoryCount(), before);
    tool->takes.clear();
    Command(CDesignView::ID_ZOOM_OUT);
    EXPECT_EQ(view->ZoomHistoryCount(), before - 1);
}

TEST_F(DesignViewTest, SelectionNoticesDrawTheSelectionTakeTheFocusAndRefresh) {
    BYTE on = 1;
    view->UpdateSelection(CDesignView::kSelDrawSelection, &on);
    view->UpdateSelection(CDesignView::kSelDrawSelection, nullptr);
    EXPECT_EQ(tool->Named("DrawSelection"),
              (std::vector<std::string>{"DrawSelection 1", "DrawSelection 0"}));
    ::SetFocus(nullptr);
    view->UpdateSelection(CDesignView::kSelTakeFocus, nullptr);
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

TEST_F(DesignViewTest, ProcessBracketsExitAndReenterTheToolAndLockThePage) {
    view->NotifyProcessStart();
    EXPECT_TRUE(page->AreUpdatesLocked());
    view->NotifyProcessEnd();
    EXPECT_FALSE(page->AreUpdatesLocked());
    EXPECT_EQ(tool->calls, (std::vector<std::string>{"Exit 0", "Init 0"}));
}

// Zoom ------------------------------------------------------------------------------------------

TEST_F(DesignViewTest, ZoomingInThreeTimesAndOutThreeTimesReturnsThroughTheSameExtents) {
    AddBox(page, CWindow(0, 0, 200000, 100000));
    view->ZoomResize(0, 0);
    std::vector<CWindow> seen{view->ViewExtents()};
    const CWindow steps[] = {CWindow(0, 0, 100000, 50000), CWindow(0, 0, 40000, 20000),
                             CWindow(10000, 10000, 20000, 15000)};
    for (const CWindow& w : steps) {
        view->Zoom(w);
        seen.push_back(view->ViewExtents());
    }
    EXPECT_EQ(view->ZoomHistoryCount(), 3);
    for (int i = 2; i >= 0; --i) {
        view->ZoomOut();
        const CWindow now = view->ViewExtents(), was = seen[size_t(i)];
        // Within two pixels of the extents it left.
        const double pixel = double(was.x2 - was.x1) / (kViewWidth - ruler);
        EXPECT_NEAR(now.x1, was.x1, 2 * pixel);
        EXPECT_NEAR(now.y1, was.y1, 2 * pixel);
        EXPECT_NEAR(now.x2, was.x2, 2 * pixel);
        EXPECT_NEAR(now.y2, was.y2, 2 * pixel);
    }
    EXPECT_EQ(view->ZoomHistoryCount(), 0);
}

TEST_F(DesignViewTest, ZoomRefusesTinyRectanglesAndOnesTenTimesThePage) {
    page->Extents(CWindow(0, 0, 10000, 10000));
    const CWindow refused[] = {CWindow(0, 0, 3, 1000), CWindow(0, 0, 1000, 3),
                               CWindow(0, 0, 100000, 100000)};
    for (const CWindow& w : refused)
        view->Zoom(w);
    EXPECT_EQ(view->ZoomHistoryCount(), 0);
    view->Zoom(CWindow(0, 0, 100000, 99999));
    EXPECT_EQ(view->ZoomHistoryCount(), 1);
    // A page without size sets no upper limit.
    page->Extents(CWindow(0, 0, 10, 0));
    view->Zoom(CWindow(0, 0, 1000000, 1000000));
    EXPECT_EQ(view->ZoomHistoryCount(), 2);
}

TEST_F(DesignViewTest, EnlargingTheViewDropsHistoryEntriesNoLargerThanTheVisibleArea) {
    AddBox(page, CWindow(0, 0, 200000, 100000));
    view->ZoomResize(0, 0);
    view->Zoom(CWindow(0, 0, 100000, 50000));
    view->Zoom(CWindow(0, 0, 50000, 25000));
    ASSERT_EQ(view->ZoomHistoryCount(), 2);
    view->OnActivateView(TRUE, view, nullptr);
    // Zoomed out to the first entry's size: neither entry is larger any more.
    view->SetZoomToFit(CWindow(-100000, -100000, 400000, 300000), 1);
    Paint();
    EXPECT_EQ(view->ZoomHistoryCount(), 0);
}

TEST_F(DesignViewTest, ZoomResizeWithUnchangedExtentsRecordsNothingButRepaints) {
    AddBox(page, CWindow(0, 0, 50000, 50000));
    page->RecalcExtents(0);
    page->SetModifiedFlag(FALSE);
    const int undo = page->GetUndoCount();
    Validate();
    view->ZoomResize(1, 0);
    EXPECT_EQ(page->GetUndoCount(), undo);
    EXPECT_FALSE(page->IsModified());
    EXPECT_FALSE(Invalid().IsRectEmpty());
}

TEST_F(DesignViewTest, ADesignWithEmptyOrHugeExtentsPaintsZoomsAndFits) {
    // Zooming to all data shows a design with an area whole.
    const struct {
        CWindow extents;
        bool shownWhole;
    } designs[] = {{CWindow(0, 0, 0, 0), false},
                   {CWindow(-99999999, -99999999, 99999999, 99999999), true},
                   {CWindow(5, 5, 5, 5), false}};
    // Every zoom leaves a mapping that shows an area.
    auto expectUsable = [&](const char* step) {
        SCOPED_TRACE(step);
        EXPECT_GT(view->GetWindowExtent().cx, 0);
        EXPECT_GT(view->GetWindowExtent().cy, 0);
        EXPECT_NE(view->GetViewportExtent().cx, 0);
        EXPECT_NE(view->GetViewportExtent().cy, 0);
        const CWindow shown = view->ViewExtents();
        EXPECT_LT(shown.x1, shown.x2);
        EXPECT_NE(shown.y1, shown.y2);
    };
    for (const auto& c : designs) {
        const CWindow& d = c.extents;
        SCOPED_TRACE(testing::Message() << d.x1 << "," << d.y1 << " " << d.x2 << "," << d.y2);
        page->Extents(d);
        view->ZoomResize(0, 0);
        expectUsable("zoom resize");
        view->ZoomAllData(1);
        expectUsable("zoom to all");
        if (c.shownWhole) {
            const CWindow shown = view->ViewExtents();
            EXPECT_LE(shown.x1, d.x1);
            EXPECT_GE(shown.x2, d.x2);
            EXPECT_LE(std::min(shown.y1, shown.y2), d.y1);
            EXPECT_GE(std::max(shown.y1, shown.y2), d.y2);
        }
        view->ZoomFirst();
        view->ZoomOut();
        expectUsable("zoom out");
        view->fnZoomToScale(1);
        expectUsable("zoom to scale");
        view->Invalidate();
        Paint();
        EXPECT_TRUE(Invalid().IsRectEmpty());
    }
}

TEST_F(DesignViewTest, ZoomToScaleKeepsTheZoomWhenTheScreenReportsNoSize) {
    // A monitor without size, and settings out of range that count as unset.
    platform::SetMonitors({platform::Monitor{{0, 0, 0, 0}, {0, 0, 0, 0}, L"\\\\.\\DISPLAY1"}});
    int32_t mm = 0, pixels = 0;
    CDesignView::ScreenWidths(mm, pixels);
    QvSetAppParam(L"ScreenWidth", -5);
    QvSetAppParam(L"ScreenWidthPixels", 0);
    const CWindow before = view->ViewExtents();
    view->fnZoomToScale(1);
    ASSERT_TRUE(mm == 0 || pixels == 0) << mm << " " << pixels;
    EXPECT_EQ(view->ZoomHistoryCount(), 0);
    EXPECT_EQ(view->ViewExtents(), before);
    platform::SetMonitors({});
    QvSetAppParam(L"ScreenWidth", 40000);
    QvSetAppParam(L"ScreenWidthPixels", 1600);
    page->Extents(CWindow(0, 0, 100000, 100000));
    view->fnZoomToScale(1);
    // 400 mm over 1600 pixels: 250 micrometres a pixel.
    const CWindow w = view->ViewExtents();
    CRect client;
    view->GetClientRect(&client);
    EXPECT_NEAR(double(w.x2 - w.x1) / client.Width(), 250.0, 2.5);
}

TEST_F(DesignViewTest, AResetOfTheContextToolbarsWithinASecondIsIgnored) {
    // A rebuild lays the frame out again, which holds redrawing until the next idle.
    auto rebuilt = [&] {
        CJoxView::SetRedrawAll(1);
        Send(CDesignView::WM_RESET_CONTEXT_TOOLBARS);
        return CJoxView::GetRedrawAll() == 0;
    };
    m_clock.Advance(CDesignView::kResetGuardMs + 1);
    EXPECT_TRUE(rebuilt());
    m_clock.Advance(500);
    EXPECT_FALSE(rebuilt());
    m_clock.Advance(501);
    EXPECT_TRUE(rebuilt());
    CJoxView::SetRedrawAll(1);
    // A waiting activation makes 32769 return at once.
    Post(CDesignView::WM_CONTEXT_ACTIVATED);
    EXPECT_EQ(Send(CDesignView::WM_CONTEXT_ACTIVATED), 1);
    Pump();
}

TEST_F(DesignViewTest, UpdateHintsInvalidateTheirAreas) {
    Validate();
    view->OnUpdate(nullptr, CDesignView::kHintNone, nullptr);
    EXPECT_TRUE(Invalid().IsRectEmpty());
    view->OnUpdate(nullptr, CDesignView::kHintRulers, nullptr);
    const CRect rulers = Invalid();
    EXPECT_EQ(rulers, CRect(1, 1, kViewWidth - 1, kViewHeight - 1));
    Validate();
    view->OnUpdate(nullptr, CDesignView::kHintAll, nullptr);
    EXPECT_EQ(Invalid(), CRect(0, 0, kViewWidth, kViewHeight));
    Validate();
    CAreaHint area(CWindow(0, 0, 1000, 1000));
    view->OnUpdate(nullptr, CDesignView::kHintRect, &area);
    CRect expected(0, 1000, 1000, 0);
    view->DocToClient(expected);
    expected.InflateRect(7, 7);
    expected.IntersectRect(&expected, CRect(0, 0, kViewWidth, kViewHeight));
    EXPECT_EQ(Invalid(), expected);
}

TEST_F(DesignViewTest, AToolThatPaintsTakesTheWholePaint) {
    platform::RecordingSurface& rec = Record();
    tool->paints = TRUE;
    view->Invalidate();
    Paint();
    EXPECT_EQ(tool->Named("Paint").size(), 1u);
    EXPECT_TRUE(rec.Calls().empty());
    tool->paints = FALSE;
    view->Invalidate();
    Paint();
    EXPECT_EQ(tool->Named("Paint").size(), 2u);
    EXPECT_TRUE(Invalid().IsRectEmpty());
    EXPECT_TRUE(page->AreUpdatesLocked() == 0);
    EXPECT_TRUE(CJoxView::GetRedrawAll());
    EXPECT_FALSE(rec.Calls().empty());
}

TEST_F(DesignViewTest, OrthogonalPointKeepsTheAxisOfLargerTravel) {
    CPoint ref(0, 0);
    view->ClientToDoc(ref);
    struct Case {
        CPoint move;
        bool keepsX;
    } cases[] = {{CPoint(50, 10), true}, {CPoint(10, 50), false}, {CPoint(-60, 20), true}};
    const CPoint origin = Inside();
    CPoint dataOrigin = origin;
    view->ClientToDoc(dataOrigin);
    for (const Case& c : cases) {
        CPoint p = origin + c.move;
        view->OrthogonalPoint(p, dataOrigin);
        if (c.keepsX) {
            EXPECT_EQ(view->ExactDocPoint().y, dataOrigin.y);
            EXPECT_EQ(p.y, origin.y);
        } else {
            EXPECT_EQ(view->ExactDocPoint().x, dataOrigin.x);
            EXPECT_EQ(p.x, origin.x);
        }
    }
}

TEST_F(DesignViewTest, RemoveKeyDownMessagesDropsQueuedKeysAndReportsAWaitingMove) {
    Post(WM_KEYDOWN, 'A');
    Post(WM_KEYDOWN, 'B');
    EXPECT_FALSE(view->RemoveKeyDownMessages());
    Post(WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(view->RemoveKeyDownMessages());
    tool->Clear();
    Pump();
    EXPECT_TRUE(tool->Named("KeyDown").empty());
}

TEST_F(DesignViewTest, ActivationInstallsTheUndoNamesAndTheRightClickMenu) {
    view->OnActivateView(FALSE, nullptr, view);
    EXPECT_EQ(CUndoBar::s_pFnUndoTransactionNames, nullptr);
    EXPECT_EQ(CArticle::m_nRightClickMenu, 0);
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_NE(CUndoBar::s_pFnUndoTransactionNames, nullptr);
    EXPECT_EQ(CUndoBar::s_pFnUndoTransactionNames(view, FALSE).GetSize(), 0);
    EXPECT_EQ(tool->Named("Activate"), (std::vector<std::string>{"Activate 0", "Activate 1"}));
}

} // namespace

namespace {

class ModelessTest : public DesignHost {};

TEST_F(ModelessTest, DialogsThatLiveWithTheViewFollowItsActivationAndAreFound) {
    constexpr UINT kFirst = 9410, kSecond = 9411;
    for (UINT id : {kFirst, kSecond})
        platform::RegisterDialogTemplate(
            DialogTemplate{id,
                           WS_POPUP | WS_CAPTION,
                           80,
                           40,
                           L"Tool",
                           L"MS Sans Serif",
                           8,
                           {{IDOK, WC_BUTTON, L"OK", WS_CHILD, 5, 20, 40, 14}}});
    ASSERT_NE(Open(), nullptr);
    auto* a = new CTavrinDialog(kFirst);
    auto* b = new CTavrinDialog(kSecond);
    ASSERT_TRUE(a->Create(kFirst));
    ASSERT_TRUE(b->Create(kSecond));
    view->fnAddModelessDlg(a);
    view->fnAddModelessDlg(nullptr); // empty entries are skipped
    view->fnAddModelessDlg(b);
    EXPECT_EQ(view->fnFindModelessDlg(kSecond), b);
    EXPECT_EQ(view->fnFindModelessDlg(1), nullptr);
    view->OnActivateView(FALSE, nullptr, view);
    EXPECT_FALSE(a->IsWindowVisible());
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_EQ(view->fnRemoveModelessDialog(a, 1), 1);
    EXPECT_EQ(view->fnRemoveModelessDialog(a, 1), 0);
    EXPECT_FALSE(::IsWindow(a->m_hWnd));
    delete a;
    // The view's end destroys what is left.
    HWND bw = b->m_hWnd;
    view->fnDeleteAllModelessDialogs();
    EXPECT_FALSE(::IsWindow(bw));
    EXPECT_EQ(view->fnFindModelessDlg(kSecond), nullptr);
    delete b;
}

} // namespace

namespace {

class ViewToolFlowTest : public DesignHost {};

TEST_F(ViewToolFlowTest, ContextDeactivationSelectsTheNullToolAndActivationTheSelectTool) {
    ASSERT_NE(Open(), nullptr);
    Send(CDesignView::WM_CONTEXT_DEACTIVATED, CDesignView::kDeactivateNullTool);
    ASSERT_NE(page->GetDesignTool(), nullptr);
    EXPECT_EQ(page->GetDesignTool()->GetRuntimeClass(), RUNTIME_CLASS(CDesignTool));
    EXPECT_EQ(Pane(0), L"Ready");
    EXPECT_EQ(Send(CDesignView::WM_CONTEXT_ACTIVATED), 1);
    EXPECT_EQ(view->RightClickMenu(), int(CDesignView::IDR_RIGHT_CLICK_MENU));
    Pump();
    // The select tool, made by its class name, is current once its command came through.
    if (CRuntimeClass::FromName("CSelectTool")) {
        EXPECT_STREQ(page->GetDesignTool()->GetRuntimeClass()->m_lpszClassName, "CSelectTool");
    }
}

TEST_F(ViewToolFlowTest, ZoomResizeRecordsAChangedDesignSizeAsOneUndoableStep) {
    ASSERT_NE(Open(), nullptr);
    page->Extents(CWindow(0, 0, 1000, 1000));
    auto* a = new CArticle;
    a->Item(new CViewBoxItem(CWindow(0, 0, 50000, 30000)));
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
    page->SetModifiedFlag(FALSE);
    const int undo = page->GetUndoCount();
    view->ZoomResize(1, 0);
    EXPECT_NE(page->Extents(), CWindow(0, 0, 1000, 1000));
    EXPECT_EQ(page->GetUndoCount(), undo + 1);
    EXPECT_TRUE(page->IsModified());
    page->PerformUndoTransaction();
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 1000, 1000));
}

TEST_F(ViewToolFlowTest, LocalInvalidationsKeepTheirMargins) {
    ASSERT_NE(Open(), nullptr);
    Validate();
    CWindow w(10000, 10000, 20000, 15000);
    view->InvalRect(&w);
    CRect expected(w.x1, w.y2, w.x2, w.y1);
    view->DocToClient(expected);
    expected.InflateRect(CDesignView::kInvalRectMargin, CDesignView::kInvalRectMargin);
    expected.IntersectRect(&expected, CRect(0, 0, kViewWidth, kViewHeight));
    EXPECT_EQ(Invalid(), expected);
}

} // namespace

namespace {

class ViewHintTest : public DesignHost {};

TEST_F(ViewHintTest, ThePageFrameHintInvalidatesItsFourEdgesOnlyWhenTheFrameIsDrawn) {
    ASSERT_NE(Open(), nullptr);
    page->Extents(CWindow(0, 0, 50000, 40000));
    view->ZoomResize(0, 0);
    CAreaHint frame(CWindow(0, 0, 50000, 40000));
    Validate();
    view->OnUpdate(nullptr, CDesignView::kHintPageFrame, &frame);
    EXPECT_TRUE(Invalid().IsRectEmpty());
    QvSetAppParam(L"Draw Page Frame", 1);
    QvSetAppParam(L"Draw Page Frame Dashed", 1);
    view->OnUpdate(nullptr, CDesignView::kHintPageFrame, &frame);
    CRect r(0, 40000, 50000, 0);
    view->DocToClient(r);
    r.InflateRect(2, 2);
    // The four strips span the frame; its inside stays valid.
    EXPECT_EQ(Invalid(), CRect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1));
    CRgn update;
    update.CreateRectRgn(0, 0, 0, 0);
    view->GetUpdateRgn(&update);
    EXPECT_FALSE(update.PtInRegion((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_TRUE(update.PtInRegion(r.left, (r.top + r.bottom) / 2));
}

TEST_F(ViewHintTest, TheTitleNameComesFromTheTemplateOfTheViewsContext) {
    ASSERT_NE(Open(), nullptr);
    CString name;
    EXPECT_TRUE(view->GetViewTitleName(name));
    EXPECT_EQ(name, L"Design");
}

} // namespace
