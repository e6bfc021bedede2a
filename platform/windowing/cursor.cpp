#include "platform/windowing/cursor.h"

#include "platform/windowing/ui_notify.h"

#include <map>

namespace {

struct Cursor {
    UINT id;
    POINT hotSpot;
    bool standard;
};

// Entries live for the process, so handles stay valid.
std::map<UINT, Cursor>& Standard() {
    static std::map<UINT, Cursor> m = [] {
        std::map<UINT, Cursor> init;
        for (UINT id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_SIZEALL, IDC_SIZEWE,
                        IDC_SIZENS, IDC_SIZENWSE, IDC_SIZENESW, IDC_NO, IDC_HAND})
            init[id] = Cursor{id, POINT{0, 0}, true};
        return init;
    }();
    return m;
}

std::map<UINT, Cursor>& Registered() {
    static std::map<UINT, Cursor> m;
    return m;
}

HCURSOR& Current() {
    static HCURSOR c = nullptr;
    return c;
}

} // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    UINT id = UINT(reinterpret_cast<uintptr_t>(name));
    if (id > 0xFFFF)
        return nullptr; // cursors are loaded by id only
    auto& table = instance ? Registered() : Standard();
    auto it = table.find(id);
    if (it == table.end() && !instance) {
        // A resource cursor loaded without its module handle.
        it = Registered().find(id);
        if (it == Registered().end())
            return nullptr;
    } else if (it == table.end()) {
        return nullptr;
    }
    return static_cast<HCURSOR>(&it->second);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = Current();
    if (cursor != previous) {
        Current() = cursor;
        platform::NotifyUi(platform::UiChange::Cursor, nullptr, cursor);
    }
    return previous;
}

HCURSOR GetCursor() {
    return Current();
}

namespace platform {

void RegisterCursor(UINT id, POINT hotSpot) {
    Registered()[id] = Cursor{id, hotSpot, false};
}

UINT CursorId(HCURSOR cursor) {
    return cursor ? static_cast<const Cursor*>(cursor)->id : 0;
}

} // namespace platform

namespace {
POINT& Pointer() {
    static POINT p{0, 0};
    return p;
}
} // namespace

BOOL GetCursorPos(POINT* p) {
    if (!p)
        return FALSE;
    *p = Pointer();
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    Pointer() = POINT{x, y};
    return TRUE;
}
