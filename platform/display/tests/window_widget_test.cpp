#include "platform/display/window_widget.h"

#include "display_fixture.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/icon.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QTest>
#include <QWheelEvent>

namespace {

// The rubber band of a drag: an XOR rectangle drawn on a client context, as the views do.
struct Band {
    HWND hwnd = nullptr;
    POINT anchor{0, 0}, last{0, 0};
    bool shown = false;
    std::vector<POINT> downs, moves, ups;
} g_band;

void DrawBand(HWND h) {
    HDC dc = GetDC(h);
    SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, g_band.anchor.x, g_band.anchor.y, g_band.last.x, g_band.last.y);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    ReleaseDC(h, dc);
}

LRESULT BandProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_LBUTTONDOWN:
        g_band.downs.push_back(p);
        SetCapture(h);
        g_band.anchor = g_band.last = p;
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() != h)
            return 0;
        g_band.moves.push_back(p);
        if (g_band.shown)
            DrawBand(h);
        g_band.last = p;
        DrawBand(h);
        g_band.shown = true;
        return 0;
    case WM_LBUTTONUP:
        g_band.ups.push_back(p);
        if (g_band.shown)
            DrawBand(h);
        g_band.shown = false;
        ReleaseCapture();
        return 0;
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

QImage Shot(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

using WindowWidgetTest = DisplayTest;

TEST_F(WindowWidgetTest, DragDeliversButtonsAndMovesAndItsBandIsAnExactXor) {
    HWND frame = MakeWindow(300, 200);
    HWND view = CreateWindowExW(0, kRecordingClass, L"", WS_CHILD | WS_VISIBLE, 20, 10, 240, 160,
                                frame, nullptr, nullptr, nullptr);
    m_windows.push_back(view);
    // The view's messages go to the band's procedure.
    platform::SetWindowHook(view, nullptr, [](void*, HWND h, UINT m, WPARAM w, LPARAM l) {
        return m == WM_PAINT || m == WM_ERASEBKGND
                   ? CallWindowProcW(platform::GetClassProc(h), h, m, w, l)
                   : BandProc(h, m, w, l);
    });
    g_band = Band{};
    Pump();
    QWidget* w = Widget(view);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), QRect(20, 10, 240, 160));
    const QImage before = Shot(w);

    Mouse(w, QEvent::MouseButtonPress, {30, 40}, Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : {QPoint(60, 70), QPoint(120, 90), QPoint(150, 130)})
        Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    Pump();
    const QImage during = Shot(w);
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            QRgb a = before.pixel(x, y) & 0xFFFFFF, b = during.pixel(x, y) & 0xFFFFFF;
            if (a == b)
                continue;
            ++changed;
            ASSERT_EQ(b, a ^ 0xC0C0C0u) << "at " << x << "," << y;
        }
    // The band from (30,40) to (150,130) without its last row and column.
    EXPECT_EQ(changed, 2 * (120 + 90) - 4);

    Mouse(w, QEvent::MouseButtonRelease, {150, 130}, Qt::LeftButton, Qt::NoButton);
    Pump();
    EXPECT_EQ(Shot(w), before);
    ASSERT_EQ(g_band.downs.size(), 1u);
    EXPECT_EQ(g_band.downs[0].x, 30);
    EXPECT_EQ(g_band.downs[0].y, 40);
    ASSERT_EQ(g_band.moves.size(), 3u);
    EXPECT_EQ(g_band.moves[2].x, 150);
    EXPECT_EQ(g_band.moves[2].y, 130);
    ASSERT_EQ(g_band.ups.size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowWidgetTest, ResizeGivesWmSizeAndABufferOfTheNewSize) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    ASSERT_NE(w, nullptr);
    w->resize(320, 240);
    Pump();
    auto sizes = Received({WM_SIZE});
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(LOWORD(DWORD(sizes.back().lp)), 320);
    EXPECT_EQ(HIWORD(DWORD(sizes.back().lp)), 240);
    platform::Surface* buffer = platform::GetWindowSurface(h);
    EXPECT_EQ(buffer->Width(), 320);
    EXPECT_EQ(buffer->Height(), 240);
    // The newly exposed part shows what the window painted there.
    COLORREF c = buffer->Pixel(300, 200);
    EXPECT_EQ(Shot(w).pixel(300, 200) & 0xFFFFFF,
              qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFFu);
}

TEST_F(WindowWidgetTest, MouseButtonsWheelAndDoubleClickArriveWithTheirArguments) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    Mouse(w, QEvent::MouseButtonPress, {5, 6}, Qt::RightButton, Qt::RightButton);
    Mouse(w, QEvent::MouseButtonRelease, {5, 6}, Qt::RightButton, Qt::NoButton);
    Mouse(w, QEvent::MouseButtonDblClick, {7, 8}, Qt::LeftButton, Qt::LeftButton);
    QWheelEvent wheel(QPointF(10, 11), w->mapToGlobal(QPointF(10, 11)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    Pump();
    auto got = Received({WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL});
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].msg, WM_RBUTTONDOWN);
    EXPECT_EQ(got[0].wp, WPARAM(MK_RBUTTON));
    EXPECT_EQ(got[0].lp, MAKELPARAM(5, 6));
    EXPECT_EQ(got[1].msg, WM_RBUTTONUP);
    EXPECT_EQ(got[2].msg, WM_LBUTTONDBLCLK);
    EXPECT_EQ(got[2].lp, MAKELPARAM(7, 8));
    EXPECT_EQ(got[3].msg, WM_MOUSEWHEEL);
    EXPECT_EQ(short(HIWORD(DWORD(got[3].wp))), -120);
    EXPECT_EQ(LOWORD(DWORD(got[3].wp)), MK_CONTROL);
    // The wheel's point is in screen coordinates of the model.
    EXPECT_EQ(got[3].lp, MAKELPARAM(50, 41));
}

TEST_F(WindowWidgetTest, KeysBecomeVirtualKeysAndCharacters) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QApplication::sendEvent(w, &a);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) < 0);
    EXPECT_TRUE(GetKeyState('A') < 0);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(w, &del);
    Pump();
    auto got = Received({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].msg, WM_KEYDOWN);
    EXPECT_EQ(got[0].wp, WPARAM('A'));
    EXPECT_EQ(got[1].msg, WM_CHAR);
    EXPECT_EQ(got[1].wp, WPARAM(L'A'));
    EXPECT_EQ(got[2].msg, WM_KEYUP);
    EXPECT_EQ(got[3].msg, WM_KEYDOWN);
    EXPECT_EQ(got[3].wp, WPARAM(VK_DELETE));
    EXPECT_FALSE(GetKeyState('A') < 0);
    platform::SetKeyDown(VK_DELETE, false);
}

TEST_F(WindowWidgetTest, ActivatingAnotherWindowTellsBothModelWindows) {
    HWND a = MakeWindow(120, 80), b = MakeWindow(120, 80);
    QWidget *wa = Widget(a), *wb = Widget(b);
    ASSERT_TRUE(wa && wb);
    wa->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wa));
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    Log().clear();
    wb->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wb));
    Pump();
    EXPECT_EQ(GetActiveWindow(), b);
    auto seen = Received({WM_ACTIVATE});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].hwnd, a);
    EXPECT_EQ(LOWORD(DWORD(seen[0].wp)), WA_INACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].lp), b);
    EXPECT_EQ(seen[1].hwnd, b);
    EXPECT_EQ(LOWORD(DWORD(seen[1].wp)), WA_ACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[1].lp), a);
}

TEST_F(WindowWidgetTest, ClosingAsksTheModelWhichDecides) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    EXPECT_FALSE(w->close()); // the widget stays until the model destroys the window
    EXPECT_TRUE(IsWindow(h));
    Pump();
    ASSERT_EQ(Received({WM_CLOSE}).size(), 1u);
    EXPECT_FALSE(IsWindow(h)); // the default handling destroyed it
}

TEST_F(WindowWidgetTest, AWindowDestroyedWithInputStillQueuedCrashesNothing) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    Mouse(w, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton);
    DestroyWindow(h);
    Mouse(w, QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton, Qt::NoButton);
    w->update();
    Pump();
    EXPECT_TRUE(Received({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    EXPECT_EQ(Widget(h), nullptr);
}

TEST_F(WindowWidgetTest, TheMinimisedStateGoesBothWaysBetweenModelAndWidget) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    ShowWindow(h, SW_SHOWNORMAL);
    ShowWindow(h, SW_MINIMIZE);
    Pump();
    EXPECT_TRUE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
    ShowWindow(h, SW_RESTORE);
    Pump();
    EXPECT_FALSE(w->isMinimized());
    // The person minimises the window, then brings it back.
    w->setWindowState(w->windowState() | Qt::WindowMinimized);
    Pump();
    EXPECT_TRUE(IsIconic(h));
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    Pump();
    EXPECT_FALSE(IsIconic(h));
    EXPECT_FALSE(w->isMinimized());
}

} // namespace
