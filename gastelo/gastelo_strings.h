// The browsing library's string and dialog ids, and its string table.
#pragma once

#include "platform/core/cstring.h"

constexpr UINT IDS_DEFAULT_DESIGN_DIRECTORY = 12049;
constexpr UINT IDS_DOCUMENT_LOCKED_BROWSER = 12083;
constexpr UINT IDS_DESIGN_NOT_SAVED = 12084;
constexpr UINT IDS_DEFAULT_DESIGN_NAME = 12086;
constexpr UINT IDS_DESIGN_MODIFIED = 12123;
constexpr UINT IDS_CLOSE_ALL_MANY = 12125;
constexpr UINT IDS_CLOSE_ALL_ONE = 12126;
constexpr UINT IDS_CLOSE_ALL_SAVE = 12127;
// Asked before a design that was never saved goes to a name another file already has.
constexpr UINT IDS_REPLACE_EXISTING_DESIGN = 12128;

// The text of a string id, as the string table holds it now (a language library may have
// replaced it); empty for an unknown id.
CString GasteloLoadString(UINT id);
// Registers the strings (done when the library loads); later calls do nothing.
void GasteloRegisterResources();
