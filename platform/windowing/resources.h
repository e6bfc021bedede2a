// String tables: each deliverable registers its strings by id; later registrations of an id
// replace earlier ones (language libraries).
#pragma once

#include "platform/core/types.h"

#include <initializer_list>
#include <string>
#include <utility>

typedef HANDLE HINSTANCE; // the same type as the window layer's and the modules'

// Copies the string `id` into buffer (cut to max - 1 characters, terminated); its length, or 0
// when there is no such string.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max);

namespace platform {

void RegisterStrings(std::initializer_list<std::pair<UINT, const wchar_t*>> strings);
bool LoadResourceString(UINT id, std::wstring& out);

} // namespace platform
