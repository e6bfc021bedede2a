// The application's own corner of the settings store and the profile calls over it, as the
// class library's application object offers them. The application class derives from this;
// the object made last is the current one until it is destroyed.
//
// With a registry key set, section S of the application lives in the per-user key
// "Software\<registry key>\<profile name>\S"; integers are REG_DWORD, strings REG_SZ.
// Without a registry key, reads give their defaults and writes fail.
#pragma once

#include "platform/core/cstring.h"
#include "platform/system/settings_store.h"

#include <vector>

class CAppRegistry {
public:
    CAppRegistry();
    virtual ~CAppRegistry();
    CAppRegistry(const CAppRegistry&) = delete;
    CAppRegistry& operator=(const CAppRegistry&) = delete;

    // The current application's profile, or null when there is no application object.
    static CAppRegistry* Current();

    void SetRegistryKey(const wchar_t* company);
    const CString& GetRegistryKey() const { return m_registryKey; }
    void SetProfileName(const wchar_t* name);
    const CString& GetProfileName() const { return m_profileName; }

    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue);
    CString GetProfileString(const wchar_t* section, const wchar_t* entry,
                             const wchar_t* defaultValue = nullptr);
    BOOL GetProfileBinary(const wchar_t* section, const wchar_t* entry, std::vector<BYTE>& data);
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    // entry null deletes the section, value null the entry.
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
    BOOL WriteProfileBinary(const wchar_t* section, const wchar_t* entry, const BYTE* data,
                            UINT bytes);

    // "Software\<key>\<profile>" opened or created with full access; null without a key.
    // The caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(const wchar_t* section);

private:
    HKEY OpenSection(const wchar_t* section, bool create);

    CString m_registryKey;
    CString m_profileName;
    CAppRegistry* m_previous = nullptr;
};
