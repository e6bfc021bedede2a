#include "felgrin/base_cutter.h"

#include "cutter_fixture.h"
#include "felgrin/dmpl_cutter.h"

#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class BaseCutter : public CutterTest {};

// One output of a 2 mm square at (1000, 2000), sent home at its end.
void SendSquare(CBaseCutter& c) {
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    POINT start = {1000, 2000};
    ASSERT_EQ(c.PolyMoveTo(&start, 1), 0);
    POINT sides[] = {{3000, 2000}, {3000, 4000}, {1000, 4000}, {1000, 2000}};
    ASSERT_EQ(c.PolyLineTo(sides, 4), 0);
    ASSERT_EQ(c.ReturnToZero(), 0);
    c.EndOutput();
}

TEST_F(BaseCutter, SecondOutputWritesItsFirstMoveAlthoughItEqualsTheLastPoint) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    c.fnSetOrigin(1);
    c.fnSetReturnToZero(1);
    ASSERT_EQ(c.StartDocW(), 0);
    SendSquare(c);
    SendSquare(c);
    c.EndDoc();
    // The cutter went home in between: without the move the pen would go down at home.
    const char square[] = ",40,80,D,120,80,120,160,40,160,40,80,U,0,80,0,0";
    EXPECT_EQ(ReadFile("output.spl"),
              std::string(";:HOA,ECN,U,;:HOA,ECN,U,,U") + square + ";:HOA,ECN,U,U" + square);
}

TEST_F(BaseCutter, OriginsOutsideZeroToFourAreStoredAsZero) {
    struct Case {
        int given;
        int stored;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {4, 4}, {5, 0}, {1000, 0}};
    for (const Case& k : cases) {
        CDMPLCutter c;
        c.fnSetOrigin(k.given);
        EXPECT_EQ(c.fnGetiOrigin(), k.stored) << k.given;
        EXPECT_EQ(c.fnGetOrigin(), k.stored) << k.given;
    }
    // An unknown origin cuts as origin 0, not mirrored as origin 2 would.
    CDMPLCutter zero, odd;
    CWindow media(0, 0, 1000, 2000);
    zero.SetExtents(&media);
    odd.SetExtents(&media);
    zero.fnSetOrigin(0);
    odd.fnSetOrigin(7);
    POINT p = {100, 50};
    POINT a = zero.TransformPoint(&p), b = odd.TransformPoint(&p);
    EXPECT_EQ(b.x, a.x);
    EXPECT_EQ(b.y, a.y);
}

// Messages a test window was handed.
std::vector<UINT>* g_handled = nullptr;

LRESULT NotingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_handled && msg >= WM_USER)
        g_handled->push_back(msg);
    return DefWindowProcW(h, msg, wp, lp);
}

TEST_F(BaseCutter, ProcessMessagesDispatchesWhatIsQueuedAsTheMessageLoopDoes) {
    static const bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = NotingProc;
        cls.lpszClassName = L"CutterNotingWindow";
        return RegisterClassW(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    std::vector<UINT> handled;
    g_handled = &handled;
    HWND wnd = CreateWindowExW(0, L"CutterNotingWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    CDMPLCutter c;
    PostMessageW(wnd, WM_USER + 1, 0, 0);
    PostMessageW(wnd, WM_USER + 2, 0, 0);
    c.fnProcessMessages();
    EXPECT_EQ(handled, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    PostMessageW(wnd, WM_USER + 3, 0, 0);
    c.fnMessageLoop();
    EXPECT_EQ(handled.back(), UINT(WM_USER + 3));
    DestroyWindow(wnd);
    g_handled = nullptr;
}

} // namespace
