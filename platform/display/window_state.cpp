#include "platform/display/window_state.h"

#include "platform/windowing/system_metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <string>

namespace platform::display {

namespace {

// Set once the maximised window was put on its screen; a window manager may then place it.
const char* const kPlaced = "maximisedPlaced";

RECT ToRect(const QRect& r) {
    return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

QScreen* ScreenOf(HWND hwnd, QWidget* widget) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (QScreen* s = QGuiApplication::screenAt(QPoint((r.left + r.right) / 2, r.top)))
        return s;
    return widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
}

} // namespace

void MirrorScreens() {
    std::vector<Monitor> monitors;
    QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    int n = 0;
    for (QScreen* s : screens) {
        Monitor m;
        m.rect = ToRect(s->geometry());
        m.work = ToRect(s->availableGeometry());
        m.device = L"\\\\.\\DISPLAY" + std::to_wstring(++n);
        m.bitsPerPixel = s->depth();
        monitors.push_back(m);
    }
    if (!monitors.empty())
        SetMonitors(std::move(monitors));
}

bool FollowShowState(HWND hwnd, QWidget* widget, int barHeight) {
    const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    // The minimised state goes both ways elsewhere; the maximised one is the model's.
    Qt::WindowStates state = widget->windowState();
    const Qt::WindowStates was = state;
    state.setFlag(Qt::WindowMaximized, (style & WS_MAXIMIZE) != 0);
    if (state != was)
        widget->setWindowState(state);
    if (!(style & WS_MAXIMIZE)) {
        widget->setProperty(kPlaced, false);
        return false;
    }
    if (widget->property(kPlaced).toBool())
        return false;
    widget->setProperty(kPlaced, true);
    QScreen* screen = ScreenOf(hwnd, widget);
    if (!screen)
        return false;
    const QRect free = screen->availableGeometry();
    RECT want{free.x(), free.y() + barHeight, free.x() + free.width(), free.y() + free.height()};
    RECT now;
    GetWindowRect(hwnd, &now);
    if (now.left == want.left && now.top == want.top && now.right == want.right &&
        now.bottom == want.bottom)
        return false;
    SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

} // namespace platform::display
