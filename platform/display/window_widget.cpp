#include "platform/display/window_widget.h"

#include "platform/display/file_drop_bridge.h"
#include "platform/display/frame_menu_bar.h"
#include "platform/display/input_method_bridge.h"
#include "platform/display/key_map.h"
#include "platform/display/presenter.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/message.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace platform::display {

namespace {

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(WORD(short(x)), WORD(short(y)));
}

void NoteModifiers(Qt::KeyboardModifiers m) {
    SetKeyDown(VK_SHIFT, (m & Qt::ShiftModifier) != 0);
    SetKeyDown(VK_CONTROL, (m & Qt::ControlModifier) != 0);
    SetKeyDown(VK_MENU, (m & Qt::AltModifier) != 0);
}

void NoteButtons(Qt::MouseButtons b) {
    SetKeyDown(VK_LBUTTON, (b & Qt::LeftButton) != 0);
    SetKeyDown(VK_RBUTTON, (b & Qt::RightButton) != 0);
    SetKeyDown(VK_MBUTTON, (b & Qt::MiddleButton) != 0);
}

} // namespace

WindowWidget::WindowWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_hwnd(hwnd) {
    // The back buffer covers every pixel: Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    // Whether a drag is taken is the model window's choice (DragAcceptFiles), asked per drag.
    setAcceptDrops(true);
}

void WindowWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (WantsFileDrop(m_hwnd, event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void WindowWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (WantsFileDrop(m_hwnd, event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void WindowWidget::dropEvent(QDropEvent* event) {
    if (PostFileDrop(m_hwnd, event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

QVariant WindowWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QVariant v =
        m_hwnd ? InputMethodQuery(m_hwnd, Presenter::Instance()->ClientTop(m_hwnd), query)
               : QVariant();
    return v.isValid() ? v : QWidget::inputMethodQuery(query);
}

void WindowWidget::inputMethodEvent(QInputMethodEvent* event) {
    InputMethodEvent(m_hwnd, event, m_bComposing);
}

void WindowWidget::paintEvent(QPaintEvent* event) {
    if (!IsWindow(m_hwnd))
        return;
    auto* raster = dynamic_cast<RasterSurface*>(GetWindowSurface(m_hwnd));
    if (!raster)
        return;
    const QImage* image = static_cast<const QImage*>(raster->NativeImage());
    QPainter p(this);
    // The client area may start below a menu bar; the back buffer covers the client area.
    const int top = Presenter::Instance()->ClientTop(m_hwnd);
    const QRect area = event->rect();
    const QRect onImage = area.translated(0, -top);
    p.drawImage(area.topLeft(), *image, onImage);
    const QRect outside =
        onImage.intersected(QRect(QPoint(0, 0), image->size())).translated(0, top);
    // A buffer smaller than the widget (during a resize, or under scroll bars) leaves the rest
    // in the face colour; the bars cover most of it.
    if (outside != area) {
        COLORREF c = GetSysColor(COLOR_BTNFACE);
        QRegion rest = QRegion(area).subtracted(QRegion(outside));
        for (const QRect& r : rest)
            p.fillRect(r, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

void WindowWidget::PostMouse(UINT msg, QMouseEvent* event) {
    if (!IsWindow(m_hwnd) || !IsWindowEnabled(m_hwnd))
        return;
    NoteModifiers(event->modifiers());
    NoteButtons(event->buttons());
    // The capture takes the mouse wherever it is, in its own client coordinates.
    Presenter* presenter = Presenter::Instance();
    HWND target = m_hwnd;
    QPoint at = event->position().toPoint() - QPoint(0, presenter->ClientTop(m_hwnd));
    if (HWND capture = GetCapture(); capture && capture != m_hwnd) {
        if (QWidget* w = presenter->WidgetFor(capture)) {
            target = capture;
            at = w->mapFromGlobal(event->globalPosition()).toPoint() -
                 QPoint(0, presenter->ClientTop(capture));
        }
    }
    POINT screen{at.x(), at.y()};
    ClientToScreen(target, &screen);
    SetCursorPos(screen.x, screen.y);
    if (msg == WM_MOUSEMOVE && target == m_hwnd) {
        // The window picks its cursor for the point first, as the platform asks it to.
        constexpr LPARAM kClientHit = 1;
        PostMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(WORD(kClientHit), WORD(msg)));
        presenter->PointerOver(target);
    }
    platform::PostInputMessage(target, msg, MouseKeyFlags(event->buttons(), event->modifiers()),
                               PackPoint(at.x(), at.y()));
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        PostMouse(WM_LBUTTONDOWN, event);
        break;
    case Qt::RightButton:
        PostMouse(WM_RBUTTONDOWN, event);
        break;
    case Qt::MiddleButton:
        PostMouse(WM_MBUTTONDOWN, event);
        break;
    default:
        break;
    }
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        PostMouse(WM_LBUTTONUP, event);
        break;
    case Qt::RightButton:
        PostMouse(WM_RBUTTONUP, event);
        break;
    case Qt::MiddleButton:
        PostMouse(WM_MBUTTONUP, event);
        break;
    default:
        break;
    }
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: the platform sends it as the double-click message.
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONDBLCLK, event);
    else
        mousePressEvent(event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    PostMouse(WM_MOUSEMOVE, event);
}

void WindowWidget::wheelEvent(QWheelEvent* event) {
    if (!IsWindow(m_hwnd) || !IsWindowEnabled(m_hwnd))
        return;
    // Qt's angle delta is in eighths of a degree; the platform's notch of 120 is 15 degrees,
    // which is the same 120 units.
    int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    NoteModifiers(event->modifiers());
    POINT at{event->position().toPoint().x(),
             event->position().toPoint().y() - Presenter::Instance()->ClientTop(m_hwnd)};
    ClientToScreen(m_hwnd, &at);
    UINT keys = MouseKeyFlags(event->buttons(), event->modifiers());
    platform::PostInputMessage(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(WORD(keys), WORD(short(delta))),
                               PackPoint(at.x, at.y));
}

void WindowWidget::PostKey(QKeyEvent* event, bool down) {
    if (!IsWindow(m_hwnd))
        return;
    NoteModifiers(event->modifiers());
    int vk = VirtualKeyFromQt(event->key(), event->modifiers());
    if (vk)
        SetKeyDown(vk, down);
    bool alt = (event->modifiers() & Qt::AltModifier) && vk != VK_MENU;
    if (vk) {
        UINT msg = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        // Repeat count 1; bit 30 the previous state, bit 31 set on release.
        DWORD flags = 1;
        if (event->isAutoRepeat() || !down)
            flags |= 1u << 30;
        if (!down)
            flags |= 1u << 31;
        platform::PostInputMessage(m_hwnd, msg, WPARAM(vk), LPARAM(flags));
    }
    if (down && !alt) {
        // Characters as the platform's translation gives them, including Enter, Tab,
        // Backspace and Escape; Delete makes none.
        const QString text = event->text();
        for (uint code : text.toUcs4())
            if (code != 0x7F)
                platform::PostInputMessage(m_hwnd, WM_CHAR, WPARAM(code), 1);
    }
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
    PostKey(event, true);
}

void WindowWidget::keyReleaseEvent(QKeyEvent* event) {
    PostKey(event, false);
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (auto* bar = findChild<FrameMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
        bar->resize(width(), bar->height());
    if (isWindow() && IsWindow(m_hwnd))
        Presenter::Instance()->WidgetResized(m_hwnd, geometry());
}

void WindowWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isWindow() && IsWindow(m_hwnd))
        Presenter::Instance()->WidgetResized(m_hwnd, geometry());
}

void WindowWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (IsWindow(m_hwnd) && GetFocus() != m_hwnd && !Presenter::Instance()->HoldingFocus())
        SetFocus(m_hwnd);
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The model decides: its WM_CLOSE handler may ask, refuse or destroy the window.
    event->ignore();
    if (IsWindow(m_hwnd))
        PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
}

void WindowWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isWindow() && IsWindow(m_hwnd)) {
        // The person minimised or restored the window: the model's state follows.
        const bool minimized = isMinimized();
        if (bool(IsIconic(m_hwnd)) != minimized) {
            HWND h = m_hwnd;
            Presenter::Instance()->Defer([h, minimized] {
                if (IsWindow(h) && bool(IsIconic(h)) != minimized)
                    ShowWindow(h, minimized ? SW_MINIMIZE : SW_RESTORE);
            });
        }
        return;
    }
    if (event->type() != QEvent::ActivationChange || !isWindow() || !IsWindow(m_hwnd))
        return;
    if (isActiveWindow()) {
        if (GetActiveWindow() != m_hwnd)
            SetActiveWindow(m_hwnd);
        // The keyboard goes where the model keeps it inside this window, not to the first
        // widget Qt would pick (a toolbar's combo box).
        Presenter::Instance()->FocusInside(m_hwnd);
    } else if (!QApplication::activeWindow() && GetActiveWindow() == m_hwnd) {
        // Another program took the activation: none of ours has it.
        SetActiveWindow(nullptr);
    }
}

} // namespace platform::display
