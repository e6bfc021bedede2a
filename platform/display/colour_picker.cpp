#include "platform/display/colour_picker.h"

#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"

#include <QColorDialog>

#include <algorithm>

namespace platform::display {

namespace {

constexpr int kGap = 6;

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The top of the dialog's buttons in its client area.
int ButtonsTop(HWND dialog) {
    int top = -1;
    for (int id : {IDOK, IDCANCEL}) {
        HWND b = GetDlgItem(dialog, id);
        if (!b)
            continue;
        RECT r;
        GetWindowRect(b, &r);
        POINT p{r.left, r.top};
        ScreenToClient(dialog, &p);
        top = top < 0 ? p.y : std::min<int>(top, p.y);
    }
    return top;
}

} // namespace

void AttachColourPicker(HWND dialog, QWidget* widget) {
    auto* picker = new QColorDialog(widget);
    picker->setObjectName(QStringLiteral("colourPicker"));
    picker->setWindowFlags(Qt::Widget);
    picker->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    picker->setCurrentColor(ToQColor(GetDialogColour(dialog)));
    QObject::connect(picker, &QColorDialog::currentColorChanged, picker, [dialog](const QColor& c) {
        if (IsWindow(dialog))
            SetDialogColour(dialog, RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue())));
    });
    // The dialog grows to the picker's size, its buttons moved down and right to stay below it.
    const QSize need = picker->sizeHint();
    RECT client;
    GetClientRect(dialog, &client);
    const int top = std::max(0, ButtonsTop(dialog));
    const int dx = std::max(0, need.width() - int(client.right));
    const int dy = std::max(0, need.height() + kGap - top);
    if (dx || dy) {
        RECT outer;
        GetWindowRect(dialog, &outer);
        SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + dx,
                     outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int id : {IDOK, IDCANCEL}) {
            HWND b = GetDlgItem(dialog, id);
            if (!b)
                continue;
            RECT r;
            GetWindowRect(b, &r);
            POINT p{r.left, r.top};
            ScreenToClient(dialog, &p);
            SetWindowPos(b, nullptr, p.x + dx, p.y + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    GetClientRect(dialog, &client);
    picker->setGeometry(0, 0, int(client.right), std::max(0, ButtonsTop(dialog) - kGap));
    picker->show();
}

} // namespace platform::display
