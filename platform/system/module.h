// Loading shared libraries by the names the deliverables use, and the file behind a module.
//
// A library name such as "vanterusb" or "vanterusb.dll" is looked up as given, then as
// "lib<name>.so" and "<name>.so", first in the program's folder, then in "../lib" beside it
// (the build and install layout), then where the dynamic loader looks by itself.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

// Plain handles, the same type as the window layer's instance handle.
typedef HANDLE HMODULE;
typedef HANDLE HINSTANCE;
// void (*)() so that casting to the entry point's real type draws no warning.
typedef void (*FARPROC)();

// Null on failure; the loader's reason is kept for GetModuleLoadError.
HMODULE LoadLibrary(const wchar_t* name);
HMODULE LoadLibraryW(const wchar_t* name);
BOOL FreeLibrary(HMODULE module);
// The symbol's address (cast it to the entry point's type), or null.
FARPROC GetProcAddress(HMODULE module, const char* name);
// A module that is already loaded, by file name (with or without folder and extension);
// null gives the running program.
HMODULE GetModuleHandle(const wchar_t* name);
HMODULE GetModuleHandleW(const wchar_t* name);
// Full path of the module's file (null: the running program), terminated; returns the number
// of characters copied without the terminator, `size` when it was cut short, 0 on failure.
DWORD GetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size);
DWORD GetModuleFileNameW(HMODULE module, wchar_t* buffer, DWORD size);

namespace platform {

// Full path of the running program's file; empty when it cannot be found.
CString ProgramFilePath();
// Full path of the shared library (or program) that holds `address`, e.g. a function of ours.
CString ModuleFilePathOf(const void* address);
// The handle of the shared library that holds `address`, kept loaded; null when none.
HMODULE ModuleHandleOf(const void* address);
// Why the last LoadLibrary failed, as the loader said it.
CString GetModuleLoadError();

} // namespace platform
