// The screen the main window is on: its width in millimetres and pixels and its colours.
#pragma once

// The monitor nearest the main window; the main window's own context when the monitor cannot
// be read.
void ScreenWidths(long& widthMm, long& widthPixels);
// True when width is at least the screen's width in pixels.
bool IsScreenLowRes(long width);
// Bits per pixel times planes.
int ScreenColours();
