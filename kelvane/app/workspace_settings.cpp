#include "kelvane/app/workspace_settings.h"

#include "platform/system/settings_store.h"

#include <cstdint>
#include <vector>

namespace kelvane {

namespace {

CString KeyOf(const wchar_t* section) {
    return CString(L"Software\\Oquen\\VanterFerolin\\") + section;
}

bool Write(const wchar_t* section, const wchar_t* name, DWORD type, const BYTE* data, DWORD bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, KeyOf(section), 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueEx(key, name, 0, type, data, bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

} // namespace

bool WriteWorkspaceString(const wchar_t* section, const wchar_t* name, const CString& value) {
    const DWORD bytes = DWORD((value.GetLength() + 1) * sizeof(wchar_t));
    return Write(section, name, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), bytes);
}

bool WriteWorkspaceInt(const wchar_t* section, const wchar_t* name, int value) {
    const uint32_t v = uint32_t(value);
    const BYTE bytes[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
    return Write(section, name, REG_DWORD, bytes, sizeof bytes);
}

bool ReadWorkspaceString(const wchar_t* section, const wchar_t* name, CString& out) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, KeyOf(section), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, bytes = 0;
    bool ok = RegQueryValueEx(key, name, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
              type == REG_SZ;
    if (ok) {
        std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
        ok = RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &bytes) == ERROR_SUCCESS;
        if (ok)
            out = CString(text.data());
    }
    RegCloseKey(key);
    return ok;
}

} // namespace kelvane
