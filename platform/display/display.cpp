#include "platform/display/display.h"

#include "platform/display/clipboard_bridge.h"
#include "platform/display/presenter.h"
#include "platform/display/tool_tip_look.h"
#include "platform/display/window_state.h"
#include "platform/display/x11_colormap.h"
#include "platform/framework/visual_look.h"
#include "platform/windowing/message.h"
#include "platform/windowing/system_metrics.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::display {

namespace {

struct State {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<Presenter> presenter;
    // A program that ends without Stop(): the window model and Qt's own statics may be gone
    // already, so nothing is torn down; the process is ending anyway.
    ~State() {
        (void)presenter.release();
        (void)app.release();
    }
};

State& S() {
    static State s;
    return s;
}

// Bars are painted in the palette's colours (the look mixes its bar background from them).
GlobalColours PaletteColours() {
    const QPalette p = QApplication::palette();
    auto rgb = [](const QColor& c) { return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue())); };
    GlobalColours g;
    g.clrBarFace = rgb(p.color(QPalette::Button));
    g.clrBarShadow = rgb(p.color(QPalette::Mid));
    g.clrBarHilite = rgb(p.color(QPalette::Light));
    g.clrBarText = rgb(p.color(QPalette::ButtonText));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        g.bitsPerPixel = screen->depth();
    return g;
}

bool Configured(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

} // namespace

bool Start(int& argc, char** argv) {
    if (S().presenter)
        return true;
    const char* headless = std::getenv("KELVANE_HEADLESS");
    if (headless && std::strcmp(headless, "1") == 0)
        return false;
    if (!Configured("QT_QPA_PLATFORM") && !Configured("DISPLAY") && !Configured("WAYLAND_DISPLAY"))
        return false;
    // One model pixel is one device pixel: the views draw in device units and the rubber bands
    // XOR single pixels, which scaling would smear.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (!QApplication::instance())
        S().app = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallDefaultColormaps();
    S().presenter = std::make_unique<Presenter>();
    MirrorScreens();
    InstallClipboardBridge();
    InstallToolTipLook();
    SetGlobalColours(PaletteColours());
    return true;
}

void Stop() {
    RemoveClipboardBridge();
    RemoveToolTipLook();
    S().presenter.reset();
    RemoveDefaultColormaps();
    S().app.reset();
    ResetGlobalColours();
    SetMonitors({});
}

bool IsActive() {
    return S().presenter != nullptr;
}

void Flush() {
    Presenter* p = Presenter::Instance();
    if (!p)
        return;
    // A window that never validates would repaint for ever: the count bounds it.
    MSG msg;
    for (int i = 0; i < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    p->Sync();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool SendMouse(HWND hwnd, UINT kind, int x, int y) {
    Presenter* p = Presenter::Instance();
    QWidget* w = p ? p->WidgetFor(hwnd) : nullptr;
    if (!w)
        return false;
    static Qt::MouseButtons held;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    if (kind == WM_LBUTTONDOWN) {
        type = QEvent::MouseButtonPress;
        button = Qt::LeftButton;
        held = Qt::LeftButton;
    } else if (kind == WM_LBUTTONUP) {
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        held = Qt::NoButton;
    }
    QPointF local(x, y + p->ClientTop(hwnd));
    QMouseEvent event(type, local, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
    return true;
}

bool SaveScreenshot(HWND hwnd, const std::string& path) {
    Presenter* p = Presenter::Instance();
    QWidget* w = p ? p->WidgetFor(hwnd) : nullptr;
    if (!w)
        return false;
    w = w->window();
    Flush();
    QImage image;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        image = w->grab().toImage();
    } else {
        // What the screen really shows: wait until the window is mapped and painted.
        for (int i = 0; i < 100 && !(w->windowHandle() && w->windowHandle()->isExposed()); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        for (int i = 0; i < 10; ++i) {
            Flush();
            QThread::msleep(20);
        }
        QScreen* screen = w->screen();
        QRect g = w->frameGeometry();
        if (!screen)
            return false;
        image = screen->grabWindow(0, g.x(), g.y(), g.width(), g.height()).toImage();
    }
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

} // namespace platform::display
