#include "platform/core/array_archive.h"

void StoreObArray(CArchive& ar, const CObArray& array) {
    ar.WriteCount(DWORD_PTR(array.GetSize()));
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        ar.WriteObject(array.GetAt(i));
}

void LoadObArray(CArchive& ar, CObArray& array, const CRuntimeClass* cls) {
    // Each element takes at least its two-byte tag.
    DWORD_PTR count = ar.ReadCount(2);
    INT_PTR first = array.GetSize();
    try {
        for (DWORD_PTR i = 0; i < count; ++i)
            array.Add(ar.ReadObject(cls));
    } catch (...) {
        for (INT_PTR i = array.GetSize() - 1; i >= first; --i)
            delete array.GetAt(i);
        array.SetSize(first);
        throw;
    }
}

void StoreStringArray(CArchive& ar, const CStringArray& array) {
    ar.WriteCount(DWORD_PTR(array.GetSize()));
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        ar << array.GetAt(i);
}

void LoadStringArray(CArchive& ar, CStringArray& array) {
    DWORD_PTR count = ar.ReadCount(1);
    for (DWORD_PTR i = 0; i < count; ++i)
        array.Add(ar.ReadString());
}
