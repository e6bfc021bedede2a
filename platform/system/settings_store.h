// The settings store in place of the registry: two hives, per user and machine-wide, reached
// through the registry calls the deliverables make.
//
// Each hive is a UTF-8 text file of keys and typed values (32-bit integer, string, binary).
// Key and value names are case-insensitive and keep their case; sub-keys enumerate sorted
// ignoring case, values in the order they were first written. Every change is written through
// at once under a lock file (write a temporary file, flush, rename over the hive), and the hive
// is read again before each change, so two running programs lose neither's writes.
//
// Locations (read on every call, so tests can move them):
//   KELVANE_USER_HIVE     the per-user hive file; default $XDG_CONFIG_HOME/kelvane/user.hive
//                         (~/.config/kelvane/user.hive)
//   KELVANE_MACHINE_HIVE  the machine-wide hive file; default /etc/kelvane/machine.hive
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

#include <functional>
#include <vector>

typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)

#ifndef ERROR_SUCCESS
#define ERROR_SUCCESS 0L
#endif
#ifndef ERROR_FILE_NOT_FOUND
#define ERROR_FILE_NOT_FOUND 2L
#endif
#ifndef ERROR_ACCESS_DENIED
#define ERROR_ACCESS_DENIED 5L
#endif
#ifndef ERROR_INVALID_HANDLE
#define ERROR_INVALID_HANDLE 6L
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87L
#endif
#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234L
#endif
#ifndef ERROR_NO_MORE_ITEMS
#define ERROR_NO_MORE_ITEMS 259L
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018L
#endif
#ifndef ERROR_WRITE_FAULT
#define ERROR_WRITE_FAULT 29L
#endif

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u
#define REG_QWORD 11u

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

#define REG_OPTION_NON_VOLATILE 0u
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u

// Sub-key paths are separated by "\". Strings are wchar_t data: a REG_SZ value of n
// characters takes (n + 1) * sizeof(wchar_t) bytes with its terminator.
LONG RegOpenKeyEx(HKEY key, const wchar_t* subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyEx(HKEY key, const wchar_t* subKey, DWORD reserved, wchar_t* keyClass,
                    DWORD options, REGSAM access, void* security, PHKEY result, DWORD* disposition);
LONG RegCloseKey(HKEY key);
LONG RegQueryValueEx(HKEY key, const wchar_t* name, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataBytes);
LONG RegSetValueEx(HKEY key, const wchar_t* name, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataBytes);
LONG RegDeleteValue(HKEY key, const wchar_t* name);
// Fails with ERROR_ACCESS_DENIED while the key has sub-keys, as the original does.
LONG RegDeleteKey(HKEY key, const wchar_t* subKey);
// Deletes the key and everything below it.
LONG RegDeleteTree(HKEY key, const wchar_t* subKey);
LONG RegEnumKeyEx(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD* reserved,
                  wchar_t* keyClass, DWORD* classChars, void* lastWriteTime);
LONG RegEnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD* reserved,
                  DWORD* type, BYTE* data, DWORD* dataBytes);
LONG RegQueryInfoKey(HKEY key, wchar_t* keyClass, DWORD* classChars, DWORD* reserved,
                     DWORD* subKeys, DWORD* maxSubKeyChars, DWORD* maxClassChars, DWORD* values,
                     DWORD* maxValueNameChars, DWORD* maxValueBytes, DWORD* securityBytes,
                     void* lastWriteTime);

inline LONG RegOpenKeyExW(HKEY k, const wchar_t* s, DWORD o, REGSAM a, PHKEY r) {
    return RegOpenKeyEx(k, s, o, a, r);
}
inline LONG RegCreateKeyExW(HKEY k, const wchar_t* s, DWORD r, wchar_t* c, DWORD o, REGSAM a,
                            void* sec, PHKEY res, DWORD* d) {
    return RegCreateKeyEx(k, s, r, c, o, a, sec, res, d);
}
inline LONG RegQueryValueExW(HKEY k, const wchar_t* n, DWORD* r, DWORD* t, BYTE* d, DWORD* b) {
    return RegQueryValueEx(k, n, r, t, d, b);
}
inline LONG RegSetValueExW(HKEY k, const wchar_t* n, DWORD r, DWORD t, const BYTE* d, DWORD b) {
    return RegSetValueEx(k, n, r, t, d, b);
}
inline LONG RegDeleteValueW(HKEY k, const wchar_t* n) {
    return RegDeleteValue(k, n);
}
inline LONG RegDeleteKeyW(HKEY k, const wchar_t* s) {
    return RegDeleteKey(k, s);
}
inline LONG RegEnumKeyExW(HKEY k, DWORD i, wchar_t* n, DWORD* c, DWORD* r, wchar_t* cl, DWORD* cc,
                          void* t) {
    return RegEnumKeyEx(k, i, n, c, r, cl, cc, t);
}
inline LONG RegEnumValueW(HKEY k, DWORD i, wchar_t* n, DWORD* c, DWORD* r, DWORD* t, BYTE* d,
                          DWORD* b) {
    return RegEnumValue(k, i, n, c, r, t, d, b);
}

namespace platform {

// An open key, closed when its holder goes: pass Receive() where a call returns a key.
class CSettingsKey {
public:
    CSettingsKey() = default;
    ~CSettingsKey() { Close(); }
    CSettingsKey(const CSettingsKey&) = delete;
    CSettingsKey& operator=(const CSettingsKey&) = delete;

    HKEY Get() const { return m_key; }
    PHKEY Receive() {
        Close();
        return &m_key;
    }
    void Close() {
        if (m_key)
            RegCloseKey(m_key);
        m_key = nullptr;
    }

private:
    HKEY m_key = nullptr;
};

// The files behind the two hives, as the environment sets them now.
std::string UserHivePath();
std::string MachineHivePath();

// What the last load of each hive could not read (line numbers and reasons); empty when
// both loaded whole. A damaged hive is copied aside (".damaged") before it is next written.
std::vector<CString> SettingsProblems();

// Forgets every loaded hive (tests); open handles stay valid.
void ResetSettingsStore();

// Test seam: called after the new hive has been written to its temporary file and before it
// replaces the hive; returning false abandons the write (as a crash would at that point).
void SetHiveCommitHook(std::function<bool(const std::string& tempPath)> hook);

} // namespace platform
