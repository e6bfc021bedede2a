// Loading of the tables' owned object arrays, where a stored null reference must not leave a
// hole that drawing or lookups would fall into.
#pragma once

#include "platform/core/array_archive.h"
#include "platform/core/typed_ptr_array.h"

// Reads an object array of class T into out (appended); a null entry becomes make().
template <class T, class Make>
void LoadOwnedArray(CArchive& ar, CTypedPtrArray<CObArray, T*>& out, Make make) {
    CObArray loaded;
    LoadObArray(ar, loaded, T::GetThisClass());
    for (INT_PTR i = 0; i < loaded.GetSize(); ++i) {
        auto* entry = static_cast<T*>(loaded.GetAt(i));
        out.Add(entry ? entry : make());
    }
}
