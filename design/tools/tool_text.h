// A string of the tools' table (empty when it is missing).
#pragma once

#include "platform/core/cstring.h"
#include "platform/windowing/resources.h"

#include <string>

inline CString ToolText(UINT id) {
    std::wstring s;
    platform::LoadResourceString(id, s);
    return CString(s.c_str());
}
