#include "platform/system/app_registry.h"

#include "platform/system/module.h"
#include "platform/system/paths.h"

#include <cstring>

namespace {

CAppRegistry* g_current = nullptr;

} // namespace

CAppRegistry::CAppRegistry() : m_previous(g_current) {
    // Until the main program names its profile, the program's name stands for it.
    m_profileName = platform::FileNameOf(platform::ProgramFilePath());
    g_current = this;
}

CAppRegistry::~CAppRegistry() {
    if (g_current == this)
        g_current = m_previous;
}

CAppRegistry* CAppRegistry::Current() {
    return g_current;
}

void CAppRegistry::SetRegistryKey(const wchar_t* company) {
    m_registryKey = company ? company : L"";
}

void CAppRegistry::SetProfileName(const wchar_t* name) {
    m_profileName = name ? name : L"";
}

HKEY CAppRegistry::OpenSection(const wchar_t* section, bool create) {
    if (m_registryKey.IsEmpty() || m_profileName.IsEmpty())
        return nullptr;
    CString path = L"Software\\" + m_registryKey + L"\\" + m_profileName;
    if (section && *section)
        path += CString(L"\\") + section;
    HKEY key = nullptr;
    LONG r = create ? RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr)
                    : RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return r == ERROR_SUCCESS ? key : nullptr;
}

HKEY CAppRegistry::GetAppRegistryKey() {
    return OpenSection(nullptr, true);
}

HKEY CAppRegistry::GetSectionKey(const wchar_t* section) {
    return OpenSection(section, true);
}

UINT CAppRegistry::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) {
    HKEY key = OpenSection(section, false);
    if (!key)
        return UINT(defaultValue);
    DWORD value = 0, type = 0, size = sizeof value;
    LONG r = RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? UINT(value)
                                                                           : UINT(defaultValue);
}

CString CAppRegistry::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                       const wchar_t* defaultValue) {
    CString fallback(defaultValue);
    HKEY key = OpenSection(section, false);
    if (!key)
        return fallback;
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueEx(key, entry, nullptr, &type, nullptr, &size);
    CString out = fallback;
    if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = DWORD(buf.size() * sizeof(wchar_t));
        if (RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                            &bytes) == ERROR_SUCCESS)
            out = CString(buf.data());
    }
    RegCloseKey(key);
    return out;
}

BOOL CAppRegistry::GetProfileBinary(const wchar_t* section, const wchar_t* entry,
                                    std::vector<BYTE>& data) {
    data.clear();
    HKEY key = OpenSection(section, false);
    if (!key)
        return FALSE;
    DWORD type = 0, size = 0;
    BOOL ok = FALSE;
    if (RegQueryValueEx(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_BINARY) {
        data.resize(size);
        ok = RegQueryValueEx(key, entry, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
        data.resize(ok ? size : 0);
    }
    RegCloseKey(key);
    return ok;
}

BOOL CAppRegistry::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) {
    if (!entry)
        return FALSE;
    HKEY key = OpenSection(section, true);
    if (!key)
        return FALSE;
    DWORD v = DWORD(value);
    LONG r = RegSetValueEx(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

BOOL CAppRegistry::WriteProfileString(const wchar_t* section, const wchar_t* entry,
                                      const wchar_t* value) {
    if (!entry) {
        HKEY app = OpenSection(nullptr, false);
        if (!app)
            return FALSE;
        LONG r = RegDeleteTree(app, section);
        RegCloseKey(app);
        return r == ERROR_SUCCESS;
    }
    HKEY key = OpenSection(section, true);
    if (!key)
        return FALSE;
    LONG r;
    if (!value)
        r = RegDeleteValue(key, entry);
    else
        r = RegSetValueEx(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          DWORD((std::wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

BOOL CAppRegistry::WriteProfileBinary(const wchar_t* section, const wchar_t* entry,
                                      const BYTE* data, UINT bytes) {
    if (!entry)
        return FALSE;
    HKEY key = OpenSection(section, true);
    if (!key)
        return FALSE;
    LONG r = RegSetValueEx(key, entry, 0, REG_BINARY, data, bytes);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}
