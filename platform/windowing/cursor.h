// Cursors: the standard ones and those a deliverable registers as resources. Setting one only
// records it for the display (platform::NotifyUi with UiChange::Cursor).
#pragma once

#include "platform/windowing/window.h"

#include <cstdint>
#include <vector>

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

// Registers a resource cursor by id; one already registered keeps its picture.
void RegisterCursor(UINT id, POINT hotSpot = POINT{0, 0});
// The picture of a resource cursor (registering it too): width * height pixels 0xAARRGGBB, row by
// row, those with alpha under 128 transparent; at most kMaxCursorSize a side, the hot spot
// inside. False, keeping what was there, for anything else.
constexpr int kMaxCursorSize = 128;
bool RegisterCursorImage(UINT id, POINT hotSpot, int width, int height,
                         std::vector<uint32_t> pixels);
// A standard cursor (IDC_ id) the display shows for a resource cursor without a picture; with
// neither, it shows the cross hair.
void SetCursorLookAlike(UINT id, UINT standardId);
// The id a cursor handle stands for, 0 for null.
UINT CursorId(HCURSOR cursor);

// What the display needs of a resource cursor. serial changes whenever the picture does.
struct CursorImage {
    int width = 0, height = 0;
    POINT hotSpot{0, 0};
    const uint32_t* pixels = nullptr; // null without a picture
    UINT lookAlike = 0;
    uint32_t serial = 0;
};
// False for null and for the standard cursors.
bool GetCursorImage(HCURSOR cursor, CursorImage* image);

} // namespace platform

// The pointer position in screen coordinates, as the display (or a test) reports it.
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);
