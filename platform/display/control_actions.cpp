#include "platform/display/control_actions.h"

#include "platform/display/presenter.h"
#include "platform/display/tool_bar_ctrl_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>

namespace platform::display {

namespace {

QWidget* WidgetOf(HWND hwnd) {
    Presenter* p = Presenter::Instance();
    return p ? p->WidgetFor(hwnd) : nullptr;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const QPointF local(at);
    QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QStyleOptionSlider Options(const QSlider* s) {
    QStyleOptionSlider o;
    o.initFrom(s);
    o.subControls = QStyle::SC_None;
    o.activeSubControls = QStyle::SC_None;
    o.orientation = s->orientation();
    o.maximum = s->maximum();
    o.minimum = s->minimum();
    o.tickPosition = s->tickPosition();
    o.tickInterval = s->tickInterval();
    o.upsideDown =
        s->orientation() == Qt::Horizontal ? s->invertedAppearance() : !s->invertedAppearance();
    o.direction = Qt::LeftToRight;
    o.sliderPosition = s->sliderPosition();
    o.sliderValue = s->value();
    o.singleStep = s->singleStep();
    o.pageStep = s->pageStep();
    if (s->orientation() == Qt::Horizontal)
        o.state |= QStyle::State_Horizontal;
    return o;
}

} // namespace

bool DragSlider(HWND slider, int to) {
    auto* s = qobject_cast<QSlider*>(WidgetOf(slider));
    if (!s || !s->isEnabled())
        return false;
    QStyleOptionSlider o = Options(s);
    QStyle* style = s->style();
    const QRect handle = style->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, s);
    const QRect groove = style->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, s);
    const bool horizontal = s->orientation() == Qt::Horizontal;
    const int length = horizontal ? handle.width() : handle.height();
    const int span = (horizontal ? groove.width() : groove.height()) - length;
    const int offset =
        QStyle::sliderPositionFromValue(s->minimum(), s->maximum(), to, span, o.upsideDown);
    const QPoint grab = handle.center();
    const QPoint target = horizontal ? QPoint(groove.x() + offset + length / 2, grab.y())
                                     : QPoint(grab.x(), groove.y() + offset + length / 2);
    SendMouse(s, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    SendMouse(s, QEvent::MouseMove, (grab + target) / 2, Qt::LeftButton);
    SendMouse(s, QEvent::MouseMove, target, Qt::LeftButton);
    SendMouse(s, QEvent::MouseButtonRelease, target, Qt::NoButton);
    return true;
}

bool ClickToolBarCtrlButton(HWND toolbar, int index) {
    auto* bar = dynamic_cast<ToolBarCtrlWidget*>(WidgetOf(toolbar));
    QToolButton* b = bar ? bar->Button(index) : nullptr;
    if (!b || !b->isVisible())
        return false;
    const QPoint at = b->rect().center();
    SendMouse(b, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(b, QEvent::MouseButtonRelease, at, Qt::NoButton);
    return true;
}

std::wstring ToolBarCtrlTip(HWND toolbar, int index) {
    auto* bar = dynamic_cast<ToolBarCtrlWidget*>(WidgetOf(toolbar));
    QToolButton* b = bar ? bar->Button(index) : nullptr;
    return b ? b->toolTip().toStdWString() : std::wstring();
}

bool IsShownOnScreen(HWND hwnd) {
    QWidget* w = WidgetOf(hwnd);
    return w && w->isVisible();
}

bool TypeIntoEditWidget(HWND edit, const std::wstring& text) {
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));
    if (!line || !line->isEnabled() || line->isReadOnly())
        return false;
    line->setFocus();
    line->selectAll();
    for (QChar c : QString::fromStdWString(text)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(line, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(line, &release);
    }
    return true;
}

std::wstring EditWidgetText(HWND edit) {
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));
    return line ? line->text().toStdWString() : std::wstring();
}

bool ChooseComboWidgetEntry(HWND combo, int index) {
    auto* box = qobject_cast<QComboBox*>(WidgetOf(combo));
    if (!box || !box->isEnabled() || index < 0 || index >= box->count())
        return false;
    box->setCurrentIndex(index);
    emit box->activated(index);
    return true;
}

std::wstring ComboWidgetText(HWND combo) {
    auto* box = qobject_cast<QComboBox*>(WidgetOf(combo));
    return box ? box->currentText().toStdWString() : std::wstring();
}

} // namespace platform::display
