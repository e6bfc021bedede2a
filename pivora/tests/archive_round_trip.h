// Store-and-load helpers for the archive round trips of the document tests: an object in
// object-reference form, or a body written and read by the object's own Serialize.
#pragma once

#include "pivora/tree.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

#include <type_traits>
#include <vector>

// Bytes of one object (null allowed) in object-reference form.
inline std::vector<BYTE> StoreObject(const CObject* obj) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(obj);
    ar.Close();
    return file.Detach();
}

// Reads one object of class T (or null) from bytes; rows of tree nodes get their links
// rebuilt, as the page does after loading.
template <class T> T* LoadObjectAs(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    T* obj = ar.ReadObjectAs<T>();
    if constexpr (std::is_base_of_v<CTree, T>) {
        if (obj)
            obj->BuildLinks();
    }
    return obj;
}

// The object's Serialize output alone, and the object read back from such bytes.
inline std::vector<BYTE> StoreBody(CObject& obj) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    obj.Serialize(ar);
    ar.Close();
    return file.Detach();
}

inline void LoadBody(CObject& obj, const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    obj.Serialize(ar);
}
