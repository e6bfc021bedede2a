// Version records of our modules. The build embeds in every program and shared library a
// section "kelvane_version" holding one record (little-endian):
//   "KVVR"  u32 record length (16 or more)  u16 major, minor, build, revision
// The file-version calls read it back from the module's file.
#pragma once

#include "platform/core/types.h"

struct VS_FIXEDFILEINFO {
    DWORD dwSignature; // 0xFEEF04BD
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS; // major << 16 | minor
    DWORD dwFileVersionLS; // build << 16 | revision
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// Bytes needed for the version block of the file, 0 when it has no readable record.
DWORD GetFileVersionInfoSize(const wchar_t* file, DWORD* handle);
BOOL GetFileVersionInfo(const wchar_t* file, DWORD handle, DWORD bytes, void* block);
// Only the root block "\" is kept: it yields the VS_FIXEDFILEINFO.
BOOL VerQueryValue(const void* block, const wchar_t* subBlock, void** value, UINT* bytes);

inline DWORD GetFileVersionInfoSizeW(const wchar_t* f, DWORD* h) {
    return GetFileVersionInfoSize(f, h);
}
inline BOOL GetFileVersionInfoW(const wchar_t* f, DWORD h, DWORD n, void* b) {
    return GetFileVersionInfo(f, h, n, b);
}
inline BOOL VerQueryValueW(const void* b, const wchar_t* s, void** v, UINT* n) {
    return VerQueryValue(b, s, v, n);
}

namespace platform {

// The four parts of the record in a module file (a native or Windows-style path).
bool ReadVersionRecord(const wchar_t* file, WORD parts[4]);

} // namespace platform
