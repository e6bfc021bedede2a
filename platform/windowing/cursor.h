// Cursors: the standard ones and those a deliverable registers as resources. Setting one only
// records it for the display (platform::NotifyUi with UiChange::Cursor).
#pragma once

#include "platform/windowing/window.h"

typedef HANDLE HCURSOR;

inline LPCWSTR MAKEINTRESOURCEW(UINT id) {
    return reinterpret_cast<LPCWSTR>(uintptr_t(WORD(id)));
}
constexpr UINT IDC_ARROW = 32512;
constexpr UINT IDC_IBEAM = 32513;
constexpr UINT IDC_WAIT = 32514;
constexpr UINT IDC_CROSS = 32515;
constexpr UINT IDC_SIZENWSE = 32642;
constexpr UINT IDC_SIZENESW = 32643;
constexpr UINT IDC_SIZEALL = 32646;
constexpr UINT IDC_SIZEWE = 32644;
constexpr UINT IDC_SIZENS = 32645;
constexpr UINT IDC_NO = 32648;
constexpr UINT IDC_HAND = 32649;

// A standard cursor with a null instance (name from MAKEINTRESOURCEW), else a registered one;
// null when there is none of that id.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

namespace platform {

// Registers a resource cursor by id (the display picks its shape by id and hot spot).
void RegisterCursor(UINT id, POINT hotSpot = POINT{0, 0});
// The id a cursor handle stands for, 0 for null.
UINT CursorId(HCURSOR cursor);

} // namespace platform

// The pointer position in screen coordinates, as the display (or a test) reports it.
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);
