// The library's own message texts.
#pragma once

#include "platform/core/cstring.h"

constexpr UINT IDS_CUTTER_NAME_EXISTS = 18639;
constexpr UINT IDS_CUTTER_NAME_EMPTY = 23095;
constexpr UINT IDS_CUTTER_NAME_BACKSLASH = 23096;

// The text of a string id; empty for an unknown id.
CString VarnholmLoadString(UINT id);
