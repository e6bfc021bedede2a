// INI profiles: the private-profile calls. Every call reads the file afresh; sections and keys
// are found ignoring case; a write changes only its own line and keeps every other line, the
// file's encoding (UTF-8, or UTF-16LE with its mark) and its line ends, and replaces the file
// atomically. File names are Windows-style paths, mapped with platform::MapPath.
#pragma once

#include "platform/core/types.h"

// key null: the section's key names; section null: the section names; each ends in a zero and
// the list in a second one. Returns the characters copied without the final zero; a value cut
// short returns size - 1, a list cut short size - 2. Quotes around a whole value are removed.
DWORD GetPrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                              wchar_t* buffer, DWORD size, const wchar_t* file);
// A leading decimal number (with sign) of the value; 0 when it has none, `def` when missing.
UINT GetPrivateProfileInt(const wchar_t* section, const wchar_t* key, INT def, const wchar_t* file);
// key null deletes the section, value null the key. The folder must exist.
BOOL WritePrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                               const wchar_t* file);
// "key=value" lines of the section, each ending in a zero, then a second zero.
DWORD GetPrivateProfileSection(const wchar_t* section, wchar_t* buffer, DWORD size,
                               const wchar_t* file);
DWORD GetPrivateProfileSectionNames(wchar_t* buffer, DWORD size, const wchar_t* file);

inline DWORD GetPrivateProfileStringW(const wchar_t* s, const wchar_t* k, const wchar_t* d,
                                      wchar_t* b, DWORD n, const wchar_t* f) {
    return GetPrivateProfileString(s, k, d, b, n, f);
}
inline UINT GetPrivateProfileIntW(const wchar_t* s, const wchar_t* k, INT d, const wchar_t* f) {
    return GetPrivateProfileInt(s, k, d, f);
}
inline BOOL WritePrivateProfileStringW(const wchar_t* s, const wchar_t* k, const wchar_t* v,
                                       const wchar_t* f) {
    return WritePrivateProfileString(s, k, v, f);
}
inline DWORD GetPrivateProfileSectionW(const wchar_t* s, wchar_t* b, DWORD n, const wchar_t* f) {
    return GetPrivateProfileSection(s, b, n, f);
}
