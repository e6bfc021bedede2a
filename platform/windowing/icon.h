// Icons: small images registered as resources (pixels with alpha), set on windows with
// WM_SETICON and drawn into a context. A loaded icon is shared: it lives as long as the process.
#pragma once

#include "platform/windowing/cursor.h"

#include <cstdint>
#include <vector>

typedef HANDLE HICON;

constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080; // returns the previous icon of that size
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// Resource ids given where a name is expected (MAKEINTRESOURCEW is cursor.h's).
inline bool IS_INTRESOURCE(LPCWSTR name) {
    return (ULONG_PTR(name) >> 16) == 0;
}

// The icon registered under the id (MAKEINTRESOURCEW), or null.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
// Shared icons need no destroying; accepted for symmetry.
BOOL DestroyIcon(HICON icon);
// Draws the icon's opaque pixels (alpha from 128) with its top-left corner at (x, y).
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
// A minimised window (WS_MINIMIZE) shows its icon instead of its contents.
BOOL IsIconic(HWND hwnd);

namespace platform {

// The size every icon is drawn at when a window shows its big icon.
constexpr int kSystemIconSize = 32;

// Registers an icon: width * height pixels 0xAARRGGBB, row by row. Later registrations of an
// id replace earlier ones for later loads.
void RegisterIcon(UINT id, int width, int height, std::vector<uint32_t> pixels);
// The icon's size; false for a null icon.
bool GetIconSize(HICON icon, SIZE* size);

} // namespace platform
