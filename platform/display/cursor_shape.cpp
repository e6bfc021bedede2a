#include "platform/display/cursor_shape.h"

#include "platform/windowing/cursor.h"

#include <QImage>
#include <QPixmap>

#include <map>

namespace platform::display {

Qt::CursorShape CursorShapeFor(UINT id) {
    switch (id) {
    case 0:
    case IDC_ARROW:
        return Qt::ArrowCursor;
    case IDC_IBEAM:
        return Qt::IBeamCursor;
    case IDC_WAIT:
        return Qt::WaitCursor;
    case IDC_CROSS:
        return Qt::CrossCursor;
    case IDC_SIZEALL:
        return Qt::SizeAllCursor;
    case IDC_SIZEWE:
        return Qt::SizeHorCursor;
    case IDC_SIZENS:
        return Qt::SizeVerCursor;
    case IDC_SIZENWSE:
        return Qt::SizeFDiagCursor;
    case IDC_SIZENESW:
        return Qt::SizeBDiagCursor;
    case IDC_NO:
        return Qt::ForbiddenCursor;
    case IDC_HAND:
        return Qt::PointingHandCursor;
    default:
        return Qt::CrossCursor;
    }
}

QCursor CursorFor(HANDLE cursor) {
    CursorImage image;
    if (!GetCursorImage(cursor, &image))
        return QCursor(CursorShapeFor(CursorId(cursor)));
    if (!image.pixels)
        return QCursor(CursorShapeFor(image.lookAlike ? image.lookAlike : CursorId(cursor)));
    // Pictures are made once per registration: the pointer moves far more often.
    struct Made {
        uint32_t serial;
        QCursor cursor;
    };
    static std::map<HANDLE, Made> made;
    auto it = made.find(cursor);
    if (it != made.end() && it->second.serial == image.serial)
        return it->second.cursor;
    QImage picture(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[size_t(y) * size_t(image.width) + size_t(x)];
            picture.setPixel(x, y, (p >> 24) >= 128 ? (p | 0xFF000000u) : 0u);
        }
    QCursor shown(QPixmap::fromImage(picture), int(image.hotSpot.x), int(image.hotSpot.y));
    made[cursor] = Made{image.serial, shown};
    return shown;
}

} // namespace platform::display
