// A model window that is not a control: shows its back buffer and turns the person's mouse,
// wheel, keys, resizing, focus and closing into the window's messages. Input is posted, as
// the platform queues input, so it reaches the model in order through its own message loop.
#pragma once

#include "platform/windowing/window.h"

#include <QWidget>

namespace platform::display {

class WindowWidget : public QWidget {
public:
    WindowWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags);

    HWND Window() const { return m_hwnd; }
    // The model window is gone: the widget ignores everything from now on.
    void Forget() { m_hwnd = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void PostMouse(UINT msg, QMouseEvent* event);
    void PostKey(QKeyEvent* event, bool down);

    HWND m_hwnd;
    bool m_bComposing = false;
};

} // namespace platform::display
