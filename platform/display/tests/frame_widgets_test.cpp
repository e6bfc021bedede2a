// The main frame's parts as real widgets: tab groups, the menu bar, scroll bars.
#include "platform/display/tab_group_bar.h"

#include "display_fixture.h"
#include "platform/display/frame_menu_bar.h"
#include "platform/display/status_bar_widget.h"
#include "platform/display/tool_bar_widget.h"
#include "platform/display/window_scroll_bars.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/document.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/framework/mdi_frame_wnd_ex.h"
#include "platform/framework/message_filter.h"
#include "platform/framework/mfc_popup_menu.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/framework/multi_doc_template.h"
#include "platform/framework/status_bar.h"
#include "platform/framework/view.h"
#include "platform/framework/visual_look.h"
#include "platform/framework/win_app.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_bar_messages.h"
#include "platform/windowing/scroll_bar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

constexpr UINT kDesign = 9700;
constexpr UINT kZoomIn = 9710, kZoomOut = 9711;
std::vector<UINT> g_commands;

class FrameDoc : public CDocument {
    DECLARE_DYNCREATE(FrameDoc)
};
IMPLEMENT_DYNCREATE(FrameDoc, CDocument)

class FrameView : public CView {
    DECLARE_DYNCREATE(FrameView)
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* info) override {
        if (code == CN_COMMAND && (id == kZoomIn || id == kZoomOut)) {
            if (!IsQuery(info))
                g_commands.push_back(id);
            return TRUE;
        }
        return CView::OnCmdMsg(id, code, extra, info);
    }
};
IMPLEMENT_DYNCREATE(FrameView, CView)

class FrameChild : public CMDIChildWndEx {
    DECLARE_DYNCREATE(FrameChild)
};
IMPLEMENT_DYNCREATE(FrameChild, CMDIChildWndEx)

class FrameWidgetsTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        g_commands.clear();
        platform::RegisterStrings({{kDesign, L"\nDesign\nDesign"}});
        main = new CMDIFrameWndEx;
        ASSERT_TRUE(main->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 800, 600)));
        AfxSetMainWnd(main);
        app.m_pMainWnd = main;
        tmpl = new CMultiDocTemplate(kDesign, RUNTIME_CLASS(FrameDoc), RUNTIME_CLASS(FrameChild),
                                     RUNTIME_CLASS(FrameView));
        app.AddDocTemplate(tmpl);
    }
    void TearDown() override {
        if (main && ::IsWindow(main->m_hWnd))
            main->DestroyWindow();
        AfxSetMainWnd(nullptr);
        DisplayTest::TearDown();
    }
    platform::display::TabGroupBar* Bar(int group) {
        return dynamic_cast<platform::display::TabGroupBar*>(
            Widget(main->GetTabGroup(group)->m_hWnd));
    }
    CWinApp app;
    CMDIFrameWndEx* main = nullptr;
    CMultiDocTemplate* tmpl = nullptr;
};

TEST_F(FrameWidgetsTest, TabsActivatedMovedAndClosedReachTheTabModel) {
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    Pump();
    auto* bar = Bar(0);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 3);
    EXPECT_EQ(bar->tabText(0), QStringLiteral("Design1"));
    EXPECT_EQ(bar->currentIndex(), 2);
    CMFCTabCtrl* group = main->GetTabGroup(0);

    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    Pump();
    EXPECT_EQ(group->GetActiveTab(), 0);
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument()->GetTitle(), L"Design1");

    bar->moveTab(0, 2); // as a drag of the tab does
    Pump();
    CString label;
    group->GetTabLabel(2, label);
    EXPECT_EQ(label, L"Design1");
    EXPECT_EQ(group->GetActiveTab(), 2);

    QAbstractButton* close = qobject_cast<QAbstractButton*>(bar->tabButton(0, QTabBar::RightSide));
    ASSERT_NE(close, nullptr);
    close->click();
    Pump();
    EXPECT_EQ(group->GetTabsNum(), 2);
    EXPECT_EQ(tmpl->GetDocumentCount(), 2);
    EXPECT_EQ(bar->count(), 2);
}

TEST_F(FrameWidgetsTest, ANewTabGroupGetsItsOwnBar) {
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    ASSERT_TRUE(main->MDITabNewGroup());
    Pump();
    ASSERT_EQ(main->GetTabGroupCount(), 2);
    ASSERT_NE(Bar(1), nullptr);
    EXPECT_EQ(Bar(0)->count(), 1);
    EXPECT_EQ(Bar(1)->count(), 1);
    EXPECT_GT(Bar(1)->geometry().left(), Bar(0)->geometry().left());
}

TEST_F(FrameWidgetsTest, ATabDraggedIntoAnotherGroupsColumnJoinsThatGroup) {
    struct Case {
        const char* name;
        bool ontoTheStrip; // let go on the other group's first tab, else over its view
        int landsAt;
    } cases[] = {{"onto the first tab", true, 0}, {"over the view", false, 1}};
    for (const Case& c : cases) {
        tmpl->OpenDocumentFile(nullptr);
        tmpl->OpenDocumentFile(nullptr);
        tmpl->OpenDocumentFile(nullptr);
        ASSERT_TRUE(main->MDITabNewGroup()) << c.name;
        Pump();
        ASSERT_EQ(main->GetTabGroupCount(), 2) << c.name;
        auto *from = Bar(0), *to = Bar(1);
        ASSERT_TRUE(from && to) << c.name;
        HWND dragged = main->GetTabGroup(0)->GetTabHwnd(0);
        const QPoint start = from->tabRect(0).center();
        const QPoint target =
            c.ontoTheStrip ? to->tabRect(0).center() : to->rect().center() + QPoint(0, 200);
        const QPoint end = from->mapFromGlobal(to->mapToGlobal(target));
        Mouse(from, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        Mouse(from, QEvent::MouseMove, (start + end) / 2, Qt::NoButton, Qt::LeftButton);
        Mouse(from, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(from->cursor().shape(), Qt::DragMoveCursor) << c.name;
        Mouse(from, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
        Pump();
        ASSERT_EQ(main->GetTabGroupCount(), 2) << c.name;
        CMFCTabCtrl* joined = main->GetTabGroup(1);
        EXPECT_EQ(main->GetTabGroup(0)->GetTabsNum(), 1) << c.name;
        ASSERT_EQ(joined->GetTabsNum(), 2) << c.name;
        EXPECT_EQ(joined->GetTabHwnd(c.landsAt), dragged) << c.name;
        EXPECT_EQ(main->MDIGetActive()->m_hWnd, dragged) << c.name;
        EXPECT_EQ(Bar(1)->count(), 2) << c.name;
        EXPECT_EQ(Bar(0)->count(), 1) << c.name;
        EXPECT_TRUE(Bar(0)->isVisible()) << c.name;
        EXPECT_EQ(Bar(0)->tabRect(0).left(), 0) << c.name;
        EXPECT_NE(Bar(0)->cursor().shape(), Qt::DragMoveCursor) << c.name;
        if (c.ontoTheStrip) {
            QTest::qWait(400); // the released tab slides home
            Widget(main->m_hWnd)
                ->grab()
                .save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/tab_dragged.png"));
        }
        tmpl->CloseAllDocuments(TRUE);
        Pump();
    }
}

TEST_F(FrameWidgetsTest, AMenuCommandReachesCommandRoutingAndItemsFollowTheModel) {
    tmpl->OpenDocumentFile(nullptr);
    HMENU bar = CreateMenu(), view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING, kZoomIn, L"Zoom &In\tCtrl++");
    AppendMenuW(view, MF_STRING | MF_GRAYED, kZoomOut, L"Zoom &Out");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    SetMenu(main->m_hWnd, bar);
    DrawMenuBar(main->m_hWnd);
    Pump();
    auto* menuBar = Widget(main->m_hWnd)->findChild<platform::display::FrameMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    ASSERT_EQ(menuBar->actions().size(), 1);
    QMenu* popup = menuBar->actions()[0]->menu();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->actions().size(), 2);
    EXPECT_TRUE(popup->actions()[0]->isEnabled());
    EXPECT_FALSE(popup->actions()[1]->isEnabled());
    // The client area starts below the menu bar.
    RECT frame;
    GetWindowRect(main->m_hWnd, &frame);
    EXPECT_EQ(Widget(main->m_hWnd)->height(), frame.bottom - frame.top + menuBar->height());

    popup->actions()[0]->trigger();
    Pump();
    EXPECT_EQ(g_commands, std::vector<UINT>{kZoomIn});

    // A right button released on the bar reaches the frame with the point on the screen.
    std::vector<std::pair<WPARAM, LPARAM>> rightUps;
    platform::AddMessageFilter(main->m_hWnd, [&](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT*) {
        if (msg == WM_NCRBUTTONUP)
            rightUps.emplace_back(wp, lp);
        return false;
    });
    const QPoint at(menuBar->width() - 5, menuBar->height() / 2);
    QTest::mouseClick(menuBar, Qt::RightButton, {}, at);
    Pump();
    platform::RemoveMessageFilters(main->m_hWnd);
    const QPoint global = menuBar->mapToGlobal(at);
    ASSERT_EQ(rightUps.size(), 1u);
    EXPECT_EQ(rightUps[0].first, WPARAM(HTMENU));
    EXPECT_EQ(GET_X_LPARAM(rightUps[0].second), global.x());
    EXPECT_EQ(GET_Y_LPARAM(rightUps[0].second), global.y());
    SetMenu(main->m_hWnd, nullptr);
    DestroyMenu(bar);
}

TEST_F(FrameWidgetsTest, ToolbarButtonsSendCommandsAndTheStatusBarShowsItsPanes) {
    tmpl->OpenDocumentFile(nullptr);
    platform::RegisterToolBarTemplate({kDesign, 16, 15, {kZoomIn, 0, kZoomOut}});
    platform::RegisterStrings({{kZoomIn, L"Zoom in\nZoom In"}});
    auto* tools = new CMFCToolBar;
    auto* status = new CStatusBar;
    ASSERT_TRUE(tools->CreateEx(main));
    ASSERT_TRUE(tools->LoadToolBar(kDesign));
    const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
    ASSERT_TRUE(status->Create(main));
    ASSERT_TRUE(status->SetIndicators(panes, 2));
    main->RecalcLayout();
    tools->SetButtonStyle(2, TBBS_DISABLED);
    status->SetPaneText(0, L"3 paths selected");
    Pump();
    auto* toolWidget = dynamic_cast<platform::display::ToolBarWidget*>(Widget(tools->m_hWnd));
    ASSERT_NE(toolWidget, nullptr);
    auto buttons = toolWidget->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Zoom In"));
    EXPECT_FALSE(buttons[1]->isVisible()); // the separator
    EXPECT_FALSE(buttons[2]->isEnabled());
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    Pump();
    EXPECT_EQ(g_commands, std::vector<UINT>{kZoomIn});
    auto* statusWidget = dynamic_cast<platform::display::StatusBarWidget*>(Widget(status->m_hWnd));
    ASSERT_NE(statusWidget, nullptr);
    EXPECT_EQ(statusWidget->PaneText(0), QStringLiteral("3 paths selected"));
    // The bars are the caller's: they go after the frame's window.
    main->DestroyWindow();
    main = nullptr;
    delete tools;
    delete status;
}

// A drop-down with nothing in its popup, as a deliverable's own button would be.
class EmptyDropDown : public CMFCToolBarMenuButton {
    DECLARE_DYNCREATE(EmptyDropDown)
public:
    EmptyDropDown() = default;
    explicit EmptyDropDown(UINT id) : CMFCToolBarMenuButton(id, nullptr, -1) {}
    BOOL IsEmptyMenuAllowed() const override { return TRUE; }
};
IMPLEMENT_DYNCREATE(EmptyDropDown, CMFCToolBarMenuButton)

TEST_F(FrameWidgetsTest, TheArrowOfADropDownButtonOpensItsPopup) {
    platform::RegisterToolBarTemplate({kDesign, 16, 15, {kZoomIn, kZoomOut}});
    auto tools = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(tools->CreateEx(main));
    ASSERT_TRUE(tools->LoadToolBar(kDesign));
    tools->ReplaceButton(kZoomIn, EmptyDropDown(kZoomIn));
    main->RecalcLayout();
    Pump();
    auto* toolWidget = dynamic_cast<platform::display::ToolBarWidget*>(Widget(tools->m_hWnd));
    ASSERT_NE(toolWidget, nullptr);
    QToolButton* arrow = nullptr;
    for (QToolButton* b : toolWidget->findChildren<QToolButton*>())
        if (b->arrowType() == Qt::DownArrow)
            arrow = arrow ? nullptr : b;
    ASSERT_NE(arrow, nullptr) << "one arrow, beside the drop-down button";
    QTest::mouseClick(arrow, Qt::LeftButton);
    Pump();
    auto* button = dynamic_cast<CMFCToolBarMenuButton*>(tools->GetButton(0));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->IsDroppedDown());
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), button->GetPopupMenu());
    QWidget* popup = Widget(button->GetPopupMenu()->m_hWnd);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    main->DestroyWindow();
    main = nullptr;
    tools.reset();
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), nullptr);
}

TEST_F(FrameWidgetsTest, AFloatingToolbarShowsInItsOwnWindow) {
    platform::RegisterToolBarTemplate({kDesign, 16, 15, {kZoomIn, kZoomOut}});
    auto tools = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(tools->CreateEx(main));
    ASSERT_TRUE(tools->LoadToolBar(kDesign));
    {
        CDockingManager docking(main);
        docking.EnableDocking(tools.get(), CBRS_ALIGN_ANY);
        docking.DockPane(tools.get());
        ASSERT_TRUE(docking.FloatPane(tools.get(), CRect(200, 150, 400, 300)));
        Pump();
        QWidget* mini = Widget(docking.GetMiniFrame(tools.get())->m_hWnd);
        QWidget* bar = Widget(tools->m_hWnd);
        ASSERT_NE(mini, nullptr);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(mini->isVisible());
        EXPECT_EQ(bar->window(), mini->window());
        EXPECT_NE(bar->window(), Widget(main->m_hWnd)->window());
        docking.DockPane(tools.get());
        Pump();
        EXPECT_EQ(Widget(tools->m_hWnd)->window(), Widget(main->m_hWnd)->window());
    }
    main->DestroyWindow();
    main = nullptr;
}

TEST_F(FrameWidgetsTest, BarsArePaintedInThePalettesColours) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor text = QApplication::palette().color(QPalette::ButtonText);
    const GlobalColours& c = platform::GetGlobalColours();
    EXPECT_EQ(c.clrBarFace, RGB(BYTE(face.red()), BYTE(face.green()), BYTE(face.blue())));
    EXPECT_EQ(c.clrBarText, RGB(BYTE(text.red()), BYTE(text.green()), BYTE(text.blue())));
    platform::SetVisualLook(1);
    EXPECT_EQ(platform::GetBarBackgroundColour(), c.clrBarFace);
    platform::SetVisualLook(platform::kLookMixedBars);
}

TEST_F(FrameWidgetsTest, ScrollBarsMirrorTheModelAndReportScrolling) {
    HWND h = MakeWindow(300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 999, 100, 250, 0};
    SetScrollInfo(h, SB_VERT, &info, TRUE);
    Pump();
    QScrollBar* bar = Widget(h)->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->orientation(), Qt::Vertical);
    EXPECT_EQ(bar->maximum(), 900);
    EXPECT_EQ(bar->pageStep(), 100);
    EXPECT_EQ(bar->value(), 250);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(bar->geometry().left(), client.right);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    Pump();
    auto got = Received({WM_VSCROLL});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(LOWORD(DWORD(got[0].wp)), SB_LINEDOWN);
    EXPECT_EQ(LOWORD(DWORD(got[1].wp)), SB_PAGEUP);
}

} // namespace
