#include "platform/display/display_pointer.h"

#include "platform/display/display.h"
#include "platform/display/presenter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace platform::display {

namespace {

// The deepest visible widget under client x, y of hwnd and the point in its coordinates.
QWidget* Under(HWND hwnd, int x, int y, QPoint* local) {
    Presenter* p = Presenter::Instance();
    QWidget* w = p ? p->WidgetFor(hwnd) : nullptr;
    if (!w || !w->isVisible())
        return nullptr;
    const QPoint at(x, y + p->ClientTop(hwnd));
    if (!w->rect().contains(at))
        return nullptr;
    QWidget* child = w->childAt(at);
    QWidget* target = child ? child : w;
    *local = target->mapFrom(w, at);
    return target;
}

void Send(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button,
          Qt::MouseButtons held) {
    const QPointF at(local);
    QMouseEvent event(type, at, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

bool MovePointer(HWND hwnd, int x, int y) {
    Flush();
    QPoint local;
    QWidget* target = Under(hwnd, x, y, &local);
    if (!target)
        return false;
    Send(target, QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton);
    Flush();
    return true;
}

bool ClickPointer(HWND hwnd, int x, int y) {
    Flush();
    QPoint local;
    QWidget* target = Under(hwnd, x, y, &local);
    if (!target)
        return false;
    QPointer<QWidget> alive(target); // the press may close what shows it
    Send(target, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
    if (alive)
        Send(target, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
    Flush();
    return true;
}

} // namespace platform::display
