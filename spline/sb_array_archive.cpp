#include "spline/sb_array_archive.h"

#include "platform/core/exceptions.h"

void StoreSbArray(CArchive& ar, const CSbArray& points) {
    ar.WriteCount(DWORD_PTR(points.GetSize()));
    for (INT_PTR i = 0; i < points.GetSize(); ++i) {
        const CSb& p = points.GetAt(i);
        ar << uint32_t(p.flags) << int32_t(p.pt.x) << int32_t(p.pt.y);
    }
}

void LoadSbArray(CArchive& ar, CSbArray& points) {
    const DWORD_PTR count = ar.ReadCount(kStoredSbSize);
    CSbArray read;
    read.SetSize(INT_PTR(count));
    for (DWORD_PTR i = 0; i < count; ++i) {
        uint32_t flags;
        int32_t x, y;
        ar >> flags >> x >> y;
        CSb p(flags, CLpoint(x, y));
        read.SetAt(INT_PTR(i), p);
    }
    points.Copy(read);
}

void StoreSbField(CRecArchive& rec, WORD id, const CSbArray& points) {
    const DWORD pos = rec.StartStore(id);
    StoreSbArray(rec.Archive(), points);
    rec.EndStore(pos);
}

void LoadSbField(CRecArchive& rec, DWORD len, CSbArray& points) {
    CArchive& ar = rec.Archive();
    const ULONGLONG start = ar.GetPosition();
    CSbArray read;
    LoadSbArray(ar, read);
    const ULONGLONG used = ar.GetPosition() - start;
    if (used > len)
        throw CArchiveException(CArchiveException::badIndex);
    ar.Skip(len - used);
    points.Copy(read);
}
