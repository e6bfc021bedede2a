// The model's cursors as Qt's cursor shapes.
#pragma once

#include "platform/core/types.h"

#include <Qt>

namespace platform::display {

// The shape for a cursor id (a standard IDC_ id, or a registered resource cursor, which
// shows as the cross hair the drawing tools use); the arrow for 0.
Qt::CursorShape CursorShapeFor(UINT id);

} // namespace platform::display
