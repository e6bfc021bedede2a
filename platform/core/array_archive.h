// Stored forms of object and string arrays: a count (u16, or 0xFFFF and u32), then each
// element in object-reference form or string form.
#pragma once

#include "platform/core/archive.h"
#include "platform/core/ob_array.h"
#include "platform/core/string_array.h"

void StoreObArray(CArchive& ar, const CObArray& array);
// Appends the stored objects, each of class cls (or derived). When the stream is damaged the
// objects this call read are deleted again before the archive exception goes on.
void LoadObArray(CArchive& ar, CObArray& array, const CRuntimeClass* cls);

void StoreStringArray(CArchive& ar, const CStringArray& array);
void LoadStringArray(CArchive& ar, CStringArray& array);
