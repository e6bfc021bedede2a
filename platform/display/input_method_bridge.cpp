#include "platform/display/input_method_bridge.h"

#include "platform/windowing/input_method.h"
#include "platform/windowing/message.h"

#include <QFont>
#include <QInputMethodEvent>
#include <QRect>

#include <cstdlib>

namespace platform::display {

QVariant InputMethodQuery(HWND hwnd, int top, Qt::InputMethodQuery query) {
    COMPOSITIONFORM form{};
    LOGFONTW font{};
    if (!GetInputMethodState(hwnd, &form, &font))
        return QVariant();
    const int height = std::abs(int(font.lfHeight)) > 0 ? std::abs(int(font.lfHeight)) : 12;
    switch (query) {
    case Qt::ImCursorRectangle:
        if (!(form.dwStyle & (CFS_FORCE_POSITION | CFS_POINT | CFS_RECT)))
            return QVariant();
        return QRect(int(form.ptCurrentPos.x), int(form.ptCurrentPos.y) + top, 1, height);
    case Qt::ImFont: {
        QFont f;
        if (font.lfFaceName[0])
            f.setFamily(QString::fromWCharArray(font.lfFaceName));
        f.setPixelSize(height);
        return f;
    }
    default:
        return QVariant();
    }
}

void InputMethodEvent(HWND hwnd, QInputMethodEvent* event, bool& composing) {
    if (!IsWindow(hwnd) || !event)
        return;
    if (!composing && !event->preeditString().isEmpty()) {
        composing = true;
        SendMessageW(hwnd, WM_IME_STARTCOMPOSITION, 0, 0);
    }
    const QString text = event->commitString();
    for (QChar ch : text)
        PostMessageW(hwnd, WM_CHAR, WPARAM(ch.unicode()), 1);
    if (event->preeditString().isEmpty())
        composing = false;
    event->accept();
}

} // namespace platform::display
