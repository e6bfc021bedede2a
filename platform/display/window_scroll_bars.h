// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL) as Qt scroll bars along the right and
// bottom edges of its widget, outside the client area as the model lays it out. The bars
// mirror range, page and position; the person's scrolling comes back as WM_HSCROLL and
// WM_VSCROLL with the platform's codes.
#pragma once

#include "platform/windowing/window.h"

class QScrollBar;
class QWidget;

namespace platform::display {

class WindowScrollBars {
public:
    WindowScrollBars(HWND hwnd, QWidget* owner);
    // Model to bars: shown or hidden with the styles, placed, range, page and position.
    void Sync();
    QScrollBar* Bar(int bar) const { return bar ? m_vertical : m_horizontal; }

private:
    QScrollBar* Make(int bar);

    HWND m_hwnd;
    QWidget* m_owner;
    QScrollBar* m_horizontal = nullptr;
    QScrollBar* m_vertical = nullptr;
    bool m_syncing = false;
};

} // namespace platform::display
