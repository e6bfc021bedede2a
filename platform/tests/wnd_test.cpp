#include "platform/framework/wnd.h"

#include "platform/framework/frame_messages.h"
#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

struct TimerWnd : CWnd {
    std::vector<UINT_PTR> timers;
    int paints = 0;
    bool* deleted = nullptr;
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnPaint() override {
        ++paints;
        Default(); // the default paint validates
    }
    void PostNcDestroy() override {
        if (deleted) {
            *deleted = true;
            delete this;
        }
    }
};

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) && m.message != WM_QUIT)
        DispatchMessageW(&m);
}

TEST(CWndDispatch, HandlersGetTheirMessagesAndTheRestReachesTheClass) {
    platform::ResetMessageQueue();
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    TimerWnd w;
    ASSERT_TRUE(
        w.CreateEx(0, nullptr, L"first", WS_POPUP | WS_VISIBLE, CRect(0, 0, 30, 20), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandle(w.m_hWnd), &w);
    w.SetTimer(5, 200);
    clock.Advance(200);
    Pump();
    EXPECT_EQ(w.timers, std::vector<UINT_PTR>{5});
    EXPECT_EQ(w.paints, 1);
    w.SetWindowText(L"second"); // not handled here: the class keeps the text
    CString text;
    w.GetWindowText(text);
    EXPECT_EQ(text, L"second");
    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

struct NotifiedWnd : CWnd {
    std::vector<std::pair<WPARAM, HWND>> made;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
        if (msg == WM_PARENTNOTIFY)
            made.emplace_back(wp, reinterpret_cast<HWND>(lp));
        return CWnd::OnWndMsg(msg, wp, lp, result);
    }
};

TEST(CWndDispatch, ANewChildIsToldUpItsParentChainUnlessAWindowOnItAsksNot) {
    NotifiedWnd top, middle;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 30, 20), nullptr, 0));
    ASSERT_TRUE(middle.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &top, 3));
    CWnd child, quiet, belowQuiet;
    ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &middle, 7));
    const std::vector<std::pair<WPARAM, HWND>> childMade = {
        {MAKEWPARAM(WM_CREATE, 7), child.m_hWnd}};
    EXPECT_EQ(middle.made, childMade);
    EXPECT_EQ(top.made.size(), 2u); // the middle one, then its child
    EXPECT_EQ(top.made.back(), childMade.front());

    middle.made.clear();
    top.made.clear();
    ASSERT_TRUE(quiet.CreateEx(WS_EX_NOPARENTNOTIFY, nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5),
                               &middle, 8));
    ASSERT_TRUE(belowQuiet.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &quiet, 9));
    EXPECT_TRUE(middle.made.empty());
    EXPECT_TRUE(top.made.empty());
    top.DestroyWindow();
}

TEST(CWndDispatch, ObjectDeletedInPostNcDestroyIsNotTouchedAgain) {
    bool deleted = false;
    auto* w = new TimerWnd;
    w->deleted = &deleted;
    ASSERT_TRUE(w->CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    ::DestroyWindow(w->m_hWnd);
    EXPECT_TRUE(deleted);
}

TEST(CWndDispatch, SafeOwnerIsTheTopLevelWindowOrTheMainWindow) {
    CWnd main, child;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 5, 5), &main, 9));
    EXPECT_EQ(CWnd::GetSafeOwner(&child), &main);
    EXPECT_EQ(CWnd::GetSafeOwner(nullptr), nullptr);
    AfxSetMainWnd(&main);
    HWND top = nullptr;
    EXPECT_EQ(CWnd::GetSafeOwner(nullptr, &top), &main);
    EXPECT_EQ(top, main.m_hWnd);
    AfxSetMainWnd(nullptr);
}

// Activation inside one owner chain (a frame and its dialog) stays between the two windows;
// when it leaves the chain or comes from outside, the chain's top hears WM_ACTIVATETOPLEVEL.
TEST(CWndDispatch, ActivationCrossingOwnerChainsReachesTheTopOfEach) {
    struct Top : CWnd {
        std::vector<UINT> activations; // OnActivate states
        int topLevel = 0;
        void OnActivate(UINT state, CWnd*, BOOL) override { activations.push_back(state); }
        BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
            if (msg == WM_ACTIVATETOPLEVEL)
                ++topLevel;
            return CWnd::OnWndMsg(msg, wp, lp, result);
        }
    } frame, dialog, other;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 20, 20), &frame, 0));
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 20, 20), nullptr, 0));
    SetActiveWindow(nullptr);
    struct Step {
        CWnd* activate;
        int frameTopLevel, otherTopLevel;
    } steps[] = {
        {&frame, 1, 0},  // from none
        {&dialog, 1, 0}, // within the chain
        {&frame, 1, 0},  // back within it
        {&other, 2, 1},  // to another chain: both tops
        {nullptr, 2, 2}, // to another program
        {&dialog, 3, 2}, // the dialog's chain from none
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SetActiveWindow(steps[i].activate ? steps[i].activate->m_hWnd : nullptr);
        EXPECT_EQ(frame.topLevel, steps[i].frameTopLevel) << "step " << i;
        EXPECT_EQ(other.topLevel, steps[i].otherTopLevel) << "step " << i;
    }
    EXPECT_EQ(frame.activations,
              (std::vector<UINT>{WA_ACTIVE, WA_INACTIVE, WA_ACTIVE, WA_INACTIVE}));
    EXPECT_EQ(dialog.activations, (std::vector<UINT>{WA_ACTIVE, WA_INACTIVE, WA_ACTIVE}));
    SetActiveWindow(nullptr);
    dialog.DestroyWindow();
    frame.DestroyWindow();
    other.DestroyWindow();
}

} // namespace
