// Why the last import added nothing, as its reader knew it ("A number is out of range."): the
// import road shows it under its "Failed to Import" message. The road clears it before it
// hands a file to a reader and takes it after; a reader that knows no reason leaves it empty.
#pragma once

#include "platform/core/cstring.h"

void FnSetImportFailure(const CString& reason);
// The reason set since the last take, and empties it.
CString FnTakeImportFailure();
