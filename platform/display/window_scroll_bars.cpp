#include "platform/display/window_scroll_bars.h"

#include "platform/windowing/message.h"
#include "platform/windowing/scroll_bar.h"

#include <QScrollBar>

#include <QWidget>
#include <algorithm>

namespace platform::display {

WindowScrollBars::WindowScrollBars(HWND hwnd, QWidget* owner) : m_hwnd(hwnd), m_owner(owner) {}

QScrollBar* WindowScrollBars::Make(int bar) {
    auto* b = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, m_owner);
    const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    HWND h = m_hwnd;
    auto post = [h, msg](UINT code, int pos) {
        if (IsWindow(h))
            PostMessageW(h, msg, MAKEWPARAM(WORD(code), WORD(pos)), 0);
    };
    QObject::connect(b, &QAbstractSlider::actionTriggered, b, [this, b, post](int action) {
        if (m_syncing)
            return;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            post(SB_LINEDOWN, 0);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            post(SB_LINEUP, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            post(SB_PAGEDOWN, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            post(SB_PAGEUP, 0);
            break;
        case QAbstractSlider::SliderToMinimum:
            post(SB_TOP, 0);
            break;
        case QAbstractSlider::SliderToMaximum:
            post(SB_BOTTOM, 0);
            break;
        case QAbstractSlider::SliderMove:
            post(SB_THUMBTRACK, b->sliderPosition());
            break;
        default:
            return;
        }
    });
    QObject::connect(b, &QAbstractSlider::sliderReleased, b, [b, post] {
        post(SB_THUMBPOSITION, b->sliderPosition());
        post(SB_ENDSCROLL, 0);
    });
    return b;
}

void WindowScrollBars::Sync() {
    if (!IsWindow(m_hwnd))
        return;
    DWORD style = DWORD(GetWindowLongPtrW(m_hwnd, GWL_STYLE));
    RECT client, window;
    GetClientRect(m_hwnd, &client);
    GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    m_syncing = true;
    for (int bar : {SB_HORZ, SB_VERT}) {
        bool shown = (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
        QScrollBar*& b = bar == SB_VERT ? m_vertical : m_horizontal;
        if (!shown) {
            if (b)
                b->hide();
            continue;
        }
        if (!b)
            b = Make(bar);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(m_hwnd, bar, &info);
        // Qt's maximum is the last position the page can start at.
        int page = int(info.nPage);
        int last = page > 0 ? std::max(info.nMin, info.nMax - page + 1) : info.nMax;
        if (b->minimum() != info.nMin || b->maximum() != last)
            b->setRange(info.nMin, last);
        if (page > 0 && b->pageStep() != page)
            b->setPageStep(page);
        if (!b->isSliderDown() && b->value() != info.nPos)
            b->setValue(info.nPos);
        b->setEnabled(IsScrollBarEnabled(m_hwnd, bar) && info.nMax > info.nMin);
        QRect g = bar == SB_VERT ? QRect(client.right, 0, width - client.right, client.bottom)
                                 : QRect(0, client.bottom, client.right, height - client.bottom);
        if (b->geometry() != g)
            b->setGeometry(g);
        b->show();
    }
    m_syncing = false;
}

} // namespace platform::display
