#include "platform/display/slider_widget.h"

#include "platform/display/presenter.h"
#include "platform/windowing/message.h"
#include "platform/windowing/slider_control.h"

#include <QSlider>

#include <algorithm>

namespace platform::display {

namespace {

// What the person did reaches the model at the next safe point, as posted input would.
void Scroll(HWND hwnd, UINT code, int position) {
    auto act = [hwnd, code, position] {
        if (IsWindow(hwnd))
            ScrollSlider(hwnd, code, position);
    };
    if (Presenter* p = Presenter::Instance())
        p->Defer(act);
    else
        act();
}

} // namespace

QWidget* CreateSliderWidget(HWND hwnd, QWidget* parent) {
    const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    auto* s = new QSlider((style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
    s->setTickPosition((style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
    // Tracking off: the widget's value stays the model's while the thumb moves.
    s->setTracking(false);
    QObject::connect(s, &QSlider::sliderMoved, s,
                     [hwnd](int value) { Scroll(hwnd, TB_THUMBTRACK, value); });
    QObject::connect(s, &QSlider::sliderReleased, s, [hwnd, s] {
        Scroll(hwnd, TB_THUMBPOSITION, s->sliderPosition());
        Scroll(hwnd, TB_ENDTRACK, 0);
    });
    QObject::connect(s, &QSlider::actionTriggered, s, [hwnd](int action) {
        UINT code = 0;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = TB_LINEDOWN;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = TB_LINEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = TB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = TB_PAGEUP;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = TB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = TB_BOTTOM;
            break;
        default:
            return; // drags come through sliderMoved
        }
        Scroll(hwnd, code, 0);
        Scroll(hwnd, TB_ENDTRACK, 0);
    });
    return s;
}

void SyncSliderWidget(HWND hwnd, QWidget* widget) {
    auto* s = static_cast<QSlider*>(widget);
    const int low = int(SendMessageW(hwnd, TBM_GETRANGEMIN, 0, 0));
    // An empty range (0..-1) shows as its start alone.
    const int high = std::max(low, int(SendMessageW(hwnd, TBM_GETRANGEMAX, 0, 0)));
    const int line = int(SendMessageW(hwnd, TBM_GETLINESIZE, 0, 0));
    const int page = int(SendMessageW(hwnd, TBM_GETPAGESIZE, 0, 0));
    const int pos = int(SendMessageW(hwnd, TBM_GETPOS, 0, 0));
    if (s->minimum() != low || s->maximum() != high)
        s->setRange(low, high);
    if (s->singleStep() != line)
        s->setSingleStep(line);
    if (s->pageStep() != page)
        s->setPageStep(page);
    if (s->isSliderDown())
        return;
    const QSignalBlocker quiet(s);
    if (s->value() != pos)
        s->setValue(pos);
    if (s->sliderPosition() != pos)
        s->setSliderPosition(pos);
}

} // namespace platform::display
