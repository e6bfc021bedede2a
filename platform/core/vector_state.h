// The upper halves of the processor's wide vector registers. Code that leaves them in use (some
// raster drawing does) makes every later plain SSE instruction pay a state transition, which
// slowed the scalar mathematics of the library (atan2 among it) more than tenfold after a
// window painted. Clearing them is cheap; the message dispatch does it after each message.
#pragma once

namespace platform {

// Marks the upper vector state unused (a no-op on processors without it).
void ClearUpperVectorState();
// 1 while the upper vector state is in use, 0 when it is not, -1 when the processor cannot
// tell.
int UpperVectorStateInUse();

} // namespace platform
