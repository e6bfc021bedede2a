// The fields of the document groups: one loop that reads a group up to its end field, readers
// for fixed and sized fields, and the writer of fixed fields.
//
// The writers always give each id the same layout and length, so a field whose length does not
// fit its layout comes from a damaged or foreign file: it is skipped by its length and the member
// keeps its default, and a payload is never read past the length its field announced. Values are
// read and written one by one through the archive, so they are stored little-endian.
#pragma once

#include "pivora/rec_archive.h"

#include <type_traits>

namespace record_fields {

// Reads the fields of one group up to its end field. `field(id, len)` reads a field it knows
// and returns true; it returns false for any other, which is then skipped by its length, so
// files of later versions still load.
template <class Fn> void ForEach(CRecArchive& rec, Fn field) {
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (!field(id, len))
            rec.SkipField(len);
    }
}

namespace detail {

template <class T> void Read(CArchive& ar, T& value) {
    if constexpr (std::is_array_v<T>) {
        for (auto& element : value)
            Read(ar, element);
    } else {
        static_assert(std::is_arithmetic_v<T>);
        ar >> value;
    }
}

} // namespace detail

// A field of fixed size holding the values in order (numbers or arrays of numbers); false (and
// skipped) when the length does not match.
template <class... T> bool LoadFixed(CRecArchive& rec, DWORD len, T&... values) {
    if (len != (sizeof(T) + ...)) {
        rec.SkipField(len);
        return false;
    }
    (detail::Read(rec.Archive(), values), ...);
    return true;
}

// A field of variable size read by its layout; a shorter payload than announced leaves the
// rest to be skipped (a later writer's additions), a longer one is a damaged stream.
template <class Fn> void LoadSized(CRecArchive& rec, DWORD len, Fn read) {
    CArchive& ar = rec.Archive();
    const ULONGLONG start = ar.GetPosition();
    read();
    const ULONGLONG used = ar.GetPosition() - start;
    if (used > len)
        throw CArchiveException(CArchiveException::badIndex);
    ar.Skip(len - used);
}

// Writes a field of fixed size: the id, the length of the values, the values in order.
template <class... T> void StoreFixed(CArchive& ar, WORD id, T... values) {
    static_assert((std::is_arithmetic_v<T> && ...));
    ar << id << DWORD((sizeof(T) + ...));
    ((ar << values), ...);
}

} // namespace record_fields
