#include "platform/windowing/cursor.h"

#include "platform/windowing/ui_notify.h"

#include <map>

namespace {

struct Cursor {
    UINT id = 0;
    POINT hotSpot{0, 0};
    bool standard = false;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    UINT lookAlike = 0;
    uint32_t serial = 0;
};

uint32_t NextSerial() {
    static uint32_t serial = 0;
    return ++serial;
}

// Entries live for the process, so handles stay valid.
std::map<UINT, Cursor>& Standard() {
    static std::map<UINT, Cursor> m = [] {
        std::map<UINT, Cursor> init;
        for (UINT id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_SIZEALL, IDC_SIZEWE,
                        IDC_SIZENS, IDC_SIZENWSE, IDC_SIZENESW, IDC_NO, IDC_HAND})
            init[id].id = id, init[id].standard = true;
        return init;
    }();
    return m;
}

std::map<UINT, Cursor>& Registered() {
    static std::map<UINT, Cursor> m;
    return m;
}

Cursor& Resource(UINT id) {
    Cursor& c = Registered()[id];
    if (!c.serial) {
        c.id = id;
        c.serial = NextSerial();
    }
    return c;
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
    Cursor& c = Resource(id);
    if (c.pixels.empty())
        c.hotSpot = hotSpot;
}

bool RegisterCursorImage(UINT id, POINT hotSpot, int width, int height,
                         std::vector<uint32_t> pixels) {
    if (width <= 0 || height <= 0 || width > kMaxCursorSize || height > kMaxCursorSize ||
        pixels.size() != size_t(width) * size_t(height) || hotSpot.x < 0 || hotSpot.y < 0 ||
        hotSpot.x >= width || hotSpot.y >= height)
        return false;
    Cursor& c = Resource(id);
    c.hotSpot = hotSpot;
    c.width = width;
    c.height = height;
    c.pixels = std::move(pixels);
    c.serial = NextSerial();
    return true;
}

void SetCursorLookAlike(UINT id, UINT standardId) {
    Cursor& c = Resource(id);
    c.lookAlike = standardId;
    c.serial = NextSerial();
}

bool GetCursorImage(HCURSOR cursor, CursorImage* image) {
    const auto* c = static_cast<const Cursor*>(cursor);
    if (!c || c->standard || !image)
        return false;
    image->width = c->width;
    image->height = c->height;
    image->hotSpot = c->hotSpot;
    image->pixels = c->pixels.empty() ? nullptr : c->pixels.data();
    image->lookAlike = c->lookAlike;
    image->serial = c->serial;
    return true;
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
