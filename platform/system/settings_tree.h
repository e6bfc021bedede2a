// The settings store's in-memory tree: keys with case-insensitive names and typed values.
// Shared by the text form, the hive files and the registry-style calls; not for other callers.
#pragma once

#include "platform/system/settings_store.h"

#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::settings {

inline std::wstring Fold(const std::wstring& s) {
    std::wstring f(s);
    for (wchar_t& c : f)
        c = wchar_t(std::towlower(wint_t(c)));
    return f;
}

struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::wstring name;
    std::map<std::wstring, std::unique_ptr<Key>> subkeys; // by folded name: a stable order
    std::vector<Value> values;                            // in the order first written

    Key* Find(const std::wstring& n) {
        auto it = subkeys.find(Fold(n));
        return it == subkeys.end() ? nullptr : it->second.get();
    }
    Key* Make(const std::wstring& n) {
        auto& slot = subkeys[Fold(n)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = n;
        }
        return slot.get();
    }
    Value* FindValue(const std::wstring& n) {
        std::wstring f = Fold(n);
        for (Value& v : values)
            if (Fold(v.name) == f)
                return &v;
        return nullptr;
    }
};

inline std::vector<std::wstring> SplitPath(const wchar_t* path) {
    std::vector<std::wstring> parts;
    if (!path)
        return parts;
    std::wstring cur;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\') {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
        } else {
            cur += *p;
        }
    }
    if (!cur.empty())
        parts.push_back(cur);
    return parts;
}

inline Key* Walk(Key& root, const std::vector<std::wstring>& path) {
    Key* k = &root;
    for (const std::wstring& p : path) {
        k = k->Find(p);
        if (!k)
            return nullptr;
    }
    return k;
}

// String values are stored as wchar_t data with their terminator.
inline std::vector<BYTE> StringBytes(const std::wstring& s) {
    std::vector<BYTE> b((s.size() + 1) * sizeof(wchar_t));
    std::memcpy(b.data(), s.c_str(), b.size());
    return b;
}

inline std::wstring BytesString(const std::vector<BYTE>& b) {
    size_t n = b.size() / sizeof(wchar_t);
    std::wstring s(n, L'\0');
    if (n)
        std::memcpy(s.data(), b.data(), n * sizeof(wchar_t));
    size_t z = s.find(L'\0');
    if (z != std::wstring::npos)
        s.resize(z);
    return s;
}

inline bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

} // namespace platform::settings
