#include "platform/display/dialog_font.h"

#include "platform/windowing/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

#include <cwchar>

namespace platform::display {

namespace {

bool MeasureInDialogFont(const wchar_t* face, int pointSize, const wchar_t* text, SIZE* size) {
    if (!text || !size || !QApplication::instance())
        return false;
    const QFontMetrics metrics(DialogFont(face, pointSize));
    const QString s = QString::fromWCharArray(text, qsizetype(std::wcslen(text)));
    *size = SIZE{metrics.horizontalAdvance(s), metrics.height()};
    return true;
}

} // namespace

QFont DialogFont(const wchar_t*, int) {
    return QApplication::font();
}

void MeasureDialogsInDisplayFont(bool on) {
    SetDialogTextMeasure(on ? MeasureInDialogFont : nullptr);
}

} // namespace platform::display
