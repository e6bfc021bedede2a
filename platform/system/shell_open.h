// Opening a document or starting a program as the desktop does: a program file is started on
// its own (it outlives us), anything else is handed to "xdg-open" on the PATH, which is waited
// for. Either fails when nothing could be started or the opener reported an error.
#pragma once

#include "platform/core/cstring.h"

#include <vector>

namespace platform {

// Starts the program (found on the PATH when the name has no "/") as a process of its own,
// not waited for. False, with the reason in error when given, when it could not be started.
bool SpawnDetached(const CString& program, const std::vector<CString>& arguments,
                   CString* error = nullptr);

// Opens the file, folder, address or program. False, with the reason when given, when it was
// not started or the opener ended with an error.
bool ShellOpen(const CString& target, CString* error = nullptr);

// The full path of a program on the PATH; empty when there is none.
CString FindOnPath(const CString& name);

} // namespace platform

// The desktop's "open" verb: a result above 32 is success.
constexpr int kShellOpenFailed = 2;
constexpr int kShellOpenDone = 42;
int ShellExecuteOpen(const wchar_t* file);
