// The registry-style calls over the settings hives: key handles, values, enumeration.
#include "platform/system/settings_store.h"

#include "platform/system/settings_hive.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>

namespace platform {
namespace {

using namespace settings;

// ---- handles ---------------------------------------------------------------------------

struct KeyHandle {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
};

std::set<KeyHandle*> g_handles;

bool Resolve(HKEY key, int& root, std::vector<std::wstring>& path, REGSAM& access) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) {
        root = key == HKEY_CURRENT_USER ? kUser : kMachine;
        path.clear();
        access = KEY_ALL_ACCESS;
        return true;
    }
    auto* h = reinterpret_cast<KeyHandle*>(key);
    if (!g_handles.count(h))
        return false;
    root = h->root;
    path = h->path;
    access = h->access;
    return true;
}

HKEY NewHandle(int root, std::vector<std::wstring> path, REGSAM access) {
    auto* h = new KeyHandle{root, std::move(path), access};
    g_handles.insert(h);
    return reinterpret_cast<HKEY>(h);
}

// A handle's key, resolved in the freshest tree.
LONG Locate(HKEY key, int& root, std::vector<std::wstring>& path, REGSAM& access, Key*& found) {
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    found = Walk(HiveFor(root).Current(), path);
    return found ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG CopyName(const std::wstring& n, wchar_t* out, DWORD* chars) {
    if (!chars)
        return ERROR_INVALID_PARAMETER;
    if (!out || *chars <= n.size()) {
        *chars = DWORD(n.size());
        return ERROR_MORE_DATA;
    }
    std::wmemcpy(out, n.c_str(), n.size() + 1);
    *chars = DWORD(n.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const Value& v, DWORD* type, BYTE* data, DWORD* bytes) {
    if (type)
        *type = v.type;
    if (!bytes)
        return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    DWORD need = DWORD(v.data.size());
    if (data && *bytes < need) {
        *bytes = need;
        return ERROR_MORE_DATA;
    }
    if (data && need)
        std::memcpy(data, v.data.data(), need);
    *bytes = need;
    return ERROR_SUCCESS;
}

} // namespace

} // namespace platform

using namespace platform;

LONG RegOpenKeyEx(HKEY key, const wchar_t* subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    int root;
    std::vector<std::wstring> path;
    REGSAM parentAccess;
    Key* k;
    if (LONG r = Locate(key, root, path, parentAccess, k); r != ERROR_SUCCESS)
        return r == ERROR_KEY_DELETED ? ERROR_FILE_NOT_FOUND : r;
    for (const std::wstring& p : SplitPath(subKey)) {
        k = k->Find(p);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        path.push_back(k->name);
    }
    *result = NewHandle(root, std::move(path), access);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, const wchar_t* subKey, DWORD, wchar_t*, DWORD, REGSAM access, void*,
                    PHKEY result, DWORD* disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    int root;
    std::vector<std::wstring> path;
    REGSAM parentAccess;
    if (!Resolve(key, root, path, parentAccess))
        return ERROR_INVALID_HANDLE;
    std::vector<std::wstring> parts = SplitPath(subKey);
    // Opening what exists needs no write.
    if (Key* k = Walk(HiveFor(root).Current(), path)) {
        std::vector<std::wstring> full = path;
        for (const std::wstring& p : parts) {
            k = k ? k->Find(p) : nullptr;
            if (k)
                full.push_back(k->name);
        }
        if (k) {
            if (disposition)
                *disposition = REG_OPENED_EXISTING_KEY;
            *result = NewHandle(root, std::move(full), access);
            return ERROR_SUCCESS;
        }
    }
    if (!(parentAccess & KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    std::vector<std::wstring> full;
    LONG r = HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        full = path;
        for (const std::wstring& p : parts) {
            k = k->Make(p);
            full.push_back(k->name);
        }
        return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS)
        return r;
    if (disposition)
        *disposition = REG_CREATED_NEW_KEY;
    *result = NewHandle(root, std::move(full), access);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    auto* h = reinterpret_cast<KeyHandle*>(key);
    if (!g_handles.erase(h))
        return ERROR_INVALID_HANDLE;
    delete h;
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const wchar_t* name, DWORD*, DWORD* type, BYTE* data,
                     DWORD* dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    Value* v = k->FindValue(name ? name : L"");
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    return CopyData(*v, type, data, dataBytes);
}

LONG RegSetValueEx(HKEY key, const wchar_t* name, DWORD, DWORD type, const BYTE* data,
                   DWORD dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (dataBytes && !data)
        return ERROR_INVALID_PARAMETER;
    Value v;
    v.name = name ? name : L"";
    v.type = type;
    if (type == REG_DWORD) {
        if (dataBytes != 4)
            return ERROR_INVALID_PARAMETER;
        v.data.assign(data, data + 4);
    } else if (IsString(type)) {
        // Strings are kept to their terminator; a missing terminator is supplied.
        std::wstring s;
        size_t n = dataBytes / sizeof(wchar_t);
        for (size_t i = 0; i < n; ++i) {
            wchar_t c;
            std::memcpy(&c, data + i * sizeof(wchar_t), sizeof c);
            if (!c)
                break;
            s += c;
        }
        v.data = StringBytes(s);
    } else {
        v.data.assign(data, data + dataBytes);
    }
    return HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        if (Value* old = k->FindValue(v.name)) {
            old->type = v.type;
            old->data = v.data;
        } else {
            k->values.push_back(v);
        }
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY key, const wchar_t* name) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    std::wstring want = Fold(name ? name : L"");
    return HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        for (auto it = k->values.begin(); it != k->values.end(); ++it)
            if (Fold(it->name) == want) {
                k->values.erase(it);
                return ERROR_SUCCESS;
            }
        return ERROR_FILE_NOT_FOUND;
    });
}

static LONG DeleteKey(HKEY key, const wchar_t* subKey, bool tree) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    std::vector<std::wstring> parts = SplitPath(subKey);
    if (parts.empty() && !tree)
        return ERROR_INVALID_PARAMETER;
    return HiveFor(root).Modify([&](Key& t) -> LONG {
        Key* parent = Walk(t, path);
        if (!parent)
            return ERROR_KEY_DELETED;
        if (parts.empty()) {
            parent->subkeys.clear();
            parent->values.clear();
            return ERROR_SUCCESS;
        }
        for (size_t i = 0; i + 1 < parts.size(); ++i) {
            parent = parent->Find(parts[i]);
            if (!parent)
                return ERROR_FILE_NOT_FOUND;
        }
        auto it = parent->subkeys.find(Fold(parts.back()));
        if (it == parent->subkeys.end())
            return ERROR_FILE_NOT_FOUND;
        if (!tree && !it->second->subkeys.empty())
            return ERROR_ACCESS_DENIED;
        parent->subkeys.erase(it);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteKey(HKEY key, const wchar_t* subKey) {
    return DeleteKey(key, subKey, false);
}
LONG RegDeleteTree(HKEY key, const wchar_t* subKey) {
    return DeleteKey(key, subKey, true);
}

LONG RegEnumKeyEx(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD*, wchar_t* cls,
                  DWORD* classChars, void*) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (index >= k->subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    auto it = k->subkeys.begin();
    std::advance(it, index);
    if (cls && classChars && *classChars)
        cls[0] = 0;
    if (classChars)
        *classChars = 0;
    return CopyName(it->second->name, name, nameChars);
}

LONG RegEnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD*, DWORD* type,
                  BYTE* data, DWORD* dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (index >= k->values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& v = k->values[index];
    if (LONG r = CopyName(v.name, name, nameChars); r != ERROR_SUCCESS)
        return r;
    return CopyData(v, type, data, dataBytes);
}

LONG RegQueryInfoKey(HKEY key, wchar_t* cls, DWORD* classChars, DWORD*, DWORD* subKeys,
                     DWORD* maxSubKeyChars, DWORD* maxClassChars, DWORD* values,
                     DWORD* maxValueNameChars, DWORD* maxValueBytes, DWORD* securityBytes, void*) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (cls && classChars && *classChars)
        cls[0] = 0;
    if (classChars)
        *classChars = 0;
    if (maxClassChars)
        *maxClassChars = 0;
    if (securityBytes)
        *securityBytes = 0;
    DWORD maxSub = 0, maxName = 0, maxData = 0;
    for (const auto& [f, sub] : k->subkeys)
        maxSub = std::max(maxSub, DWORD(sub->name.size()));
    for (const Value& v : k->values) {
        maxName = std::max(maxName, DWORD(v.name.size()));
        maxData = std::max(maxData, DWORD(v.data.size()));
    }
    if (subKeys)
        *subKeys = DWORD(k->subkeys.size());
    if (maxSubKeyChars)
        *maxSubKeyChars = maxSub;
    if (values)
        *values = DWORD(k->values.size());
    if (maxValueNameChars)
        *maxValueNameChars = maxName;
    if (maxValueBytes)
        *maxValueBytes = maxData;
    return ERROR_SUCCESS;
}
