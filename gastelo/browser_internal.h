// What the browsing functions share inside the library.
#pragma once

#include "platform/core/cstring.h"

// The last number given to a fresh design name; it only grows while the program runs.
int& BrowserDesignCounter();

// The file title of a path: the text after the last separator, up to the dot of the file
// name's extension (to the end without one). A dot in a folder name does not count.
CString FileTitleOf(const CString& path);
