// The per-user window state of the program ("Software\Oquen\VanterFerolin\<section>"): the
// window placement and the look, kept apart from the application parameters.
#pragma once

#include "platform/core/cstring.h"

namespace kelvane {

bool WriteWorkspaceString(const wchar_t* section, const wchar_t* name, const CString& value);
bool WriteWorkspaceInt(const wchar_t* section, const wchar_t* name, int value);
// False (and out untouched) when the value is missing or not text.
bool ReadWorkspaceString(const wchar_t* section, const wchar_t* name, CString& out);

} // namespace kelvane
