#include "platform/windowing/clipboard.h"

#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace {

struct Clipboard {
    bool open = false;
    HWND opener = nullptr;
    HWND owner = nullptr;
    bool changed = false;
    std::vector<std::pair<UINT, HANDLE>> data; // in the order they were set
    std::vector<std::wstring> names;           // registered formats from 0xC000
    platform::ClipboardObserver observer;
};

Clipboard& C() {
    static Clipboard c;
    return c;
}

void Free(UINT format, HANDLE h) {
    if (!h)
        return;
    if (format == CF_ENHMETAFILE) {
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(h));
        return;
    }
    if (format == CF_METAFILEPICT && GlobalSize(h) >= sizeof(METAFILEPICT)) {
        auto* pict = static_cast<METAFILEPICT*>(GlobalLock(h));
        if (pict)
            DeleteMetaFile(pict->hMF);
        GlobalUnlock(h);
    }
    GlobalFree(h);
}

void FreeAll() {
    for (auto& [format, h] : C().data)
        Free(format, h);
    C().data.clear();
}

std::wstring Lower(const std::wstring& s) {
    std::wstring out = s;
    for (wchar_t& ch : out)
        ch = wchar_t(std::towlower(wint_t(ch)));
    return out;
}

} // namespace

BOOL OpenClipboard(HWND owner) {
    Clipboard& c = C();
    if (c.open && c.opener != owner)
        return FALSE;
    c.open = true;
    c.opener = owner;
    return TRUE;
}

BOOL CloseClipboard() {
    Clipboard& c = C();
    if (!c.open)
        return FALSE;
    c.open = false;
    c.opener = nullptr;
    if (c.changed) {
        c.changed = false;
        if (c.observer)
            c.observer();
    }
    return TRUE;
}

BOOL EmptyClipboard() {
    Clipboard& c = C();
    if (!c.open)
        return FALSE;
    FreeAll();
    c.owner = c.opener;
    c.changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Clipboard& c = C();
    if (!c.open || format == 0)
        return nullptr;
    auto it = std::find_if(c.data.begin(), c.data.end(),
                           [&](const auto& e) { return e.first == format; });
    if (it != c.data.end()) {
        if (it->second != data)
            Free(format, it->second);
        it->second = data;
    } else {
        c.data.emplace_back(format, data);
    }
    c.changed = true;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& c = C();
    if (!c.open)
        return nullptr;
    for (auto& [f, h] : c.data)
        if (f == format)
            return h;
    return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    for (auto& e : C().data)
        if (e.first == format)
            return TRUE;
    return FALSE;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (!name || !*name)
        return 0;
    auto& names = C().names;
    const std::wstring key = Lower(name);
    for (size_t i = 0; i < names.size(); ++i)
        if (Lower(names[i]) == key)
            return UINT(kFirstRegisteredClipboardFormat + i);
    names.emplace_back(name);
    return UINT(kFirstRegisteredClipboardFormat + names.size() - 1);
}

int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int max) {
    auto& names = C().names;
    if (format < kFirstRegisteredClipboardFormat ||
        format - kFirstRegisteredClipboardFormat >= names.size() || !buffer || max <= 0)
        return 0;
    const std::wstring& n = names[format - kFirstRegisteredClipboardFormat];
    const size_t count = std::min(n.size(), size_t(max) - 1);
    std::copy(n.begin(), n.begin() + ptrdiff_t(count), buffer);
    buffer[count] = 0;
    return int(count);
}

HWND GetClipboardOwner() {
    return C().owner;
}

int CountClipboardFormats() {
    return int(C().data.size());
}

UINT EnumClipboardFormats(UINT format) {
    auto& data = C().data;
    if (format == 0)
        return data.empty() ? 0 : data.front().first;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i].first == format)
            return data[i + 1].first;
    return 0;
}

namespace platform {

void SetClipboardObserver(ClipboardObserver observer) {
    C().observer = std::move(observer);
}

void ResetClipboard() {
    FreeAll();
    Clipboard& c = C();
    c.open = false;
    c.opener = nullptr;
    c.owner = nullptr;
    c.changed = false;
}

} // namespace platform
