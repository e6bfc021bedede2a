#include "platform/display/x11_colormap.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace platform::display {

namespace {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

void UseDefaultColormap(xcb_connection_t* c, xcb_window_t window) {
    auto attrCookie = xcb_get_window_attributes(c, window);
    auto geoCookie = xcb_get_geometry(c, window);
    xcb_get_window_attributes_reply_t* attr =
        xcb_get_window_attributes_reply(c, attrCookie, nullptr);
    xcb_get_geometry_reply_t* geo = xcb_get_geometry_reply(c, geoCookie, nullptr);
    if (attr && geo) {
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
            const xcb_screen_t* screen = it.data;
            // Another visual (a translucent window's) cannot take the default colormap.
            if (screen->root != geo->root || screen->root_visual != attr->visual)
                continue;
            if (attr->colormap != screen->default_colormap) {
                const uint32_t value = screen->default_colormap;
                xcb_change_window_attributes(c, window, XCB_CW_COLORMAP, &value);
                xcb_flush(c);
            }
            break;
        }
    }
    std::free(attr);
    std::free(geo);
}

class ColormapWatch : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::PlatformSurface &&
            static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                QPlatformSurfaceEvent::SurfaceCreated) {
            auto* window = qobject_cast<QWindow*>(object);
            if (window && !window->parent())
                if (xcb_connection_t* c = Connection())
                    UseDefaultColormap(c, xcb_window_t(window->winId()));
        }
        return false;
    }
};

ColormapWatch* g_watch = nullptr;

} // namespace

void InstallDefaultColormaps() {
    if (g_watch || !qGuiApp || !Connection())
        return;
    g_watch = new ColormapWatch;
    qGuiApp->installEventFilter(g_watch);
    // Windows made before the watch.
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->handle())
            UseDefaultColormap(Connection(), xcb_window_t(w->winId()));
}

void RemoveDefaultColormaps() {
    if (!g_watch)
        return;
    if (qGuiApp)
        qGuiApp->removeEventFilter(g_watch);
    delete g_watch;
    g_watch = nullptr;
}

} // namespace platform::display
