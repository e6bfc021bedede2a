#include "platform/display/cursor_shape.h"

#include "platform/windowing/cursor.h"

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

} // namespace platform::display
