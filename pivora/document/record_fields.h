// Readers for the fields of the document groups. The writers always give each id the same
// layout and length, so a field whose length does not fit its layout comes from a damaged or
// foreign file: it is skipped by its length and the member keeps its default, and a payload is
// never read past the length its field announced.
#pragma once

#include "pivora/rec_archive.h"

#include <type_traits>

namespace record_fields {

// A field of fixed size; false (and skipped) when the length does not match.
template <class T> bool LoadFixed(CRecArchive& rec, DWORD len, T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (len != sizeof(T)) {
        rec.SkipField(len);
        return false;
    }
    rec.Archive().ReadExact(&value, sizeof(T));
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

} // namespace record_fields
