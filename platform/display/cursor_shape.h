// The model's cursors as Qt's cursor shapes.
#pragma once

#include "platform/core/types.h"

#include <QCursor>

namespace platform::display {

// The shape for a cursor id (a standard IDC_ id, or a registered resource cursor, which
// shows as the cross hair the drawing tools use); the arrow for 0.
Qt::CursorShape CursorShapeFor(UINT id);
// The cursor a person sees for a model cursor: a resource cursor's picture with its hot spot,
// else its look-alike standard cursor, else the shape for its id.
QCursor CursorFor(HANDLE cursor);

} // namespace platform::display
