// Curve items for the tests: made from point lists, stored into bytes and read back.
#pragma once

#include "pivora/geometry/sb.h"
#include "spline/spline_item.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

#include <memory>
#include <vector>

// Fills any item with Vect(CSb) from a list of points.
template <class T> std::unique_ptr<T> MakeCurveItem(const std::vector<CSb>& points) {
    auto item = std::make_unique<T>();
    for (CSb p : points)
        item->Vect(p);
    return item;
}

// A spline item of the points with its curves made.
inline std::unique_ptr<CSplineItem> MakeSpline(const std::vector<CSb>& points) {
    auto s = MakeCurveItem<CSplineItem>(points);
    s->MakeCurves();
    return s;
}

// The item's points in order.
template <class T> std::vector<CSb> PointsOf(T& item) {
    std::vector<CSb> out;
    for (int i = 0; i < item.VectCount(); ++i)
        out.push_back(item.Vect(i));
    return out;
}

// A smooth point and a break point.
inline CSb P(LONG x, LONG y) {
    return CSb(0, CLpoint(x, y));
}
inline CSb B(LONG x, LONG y) {
    return CSb(0x200, CLpoint(x, y));
}
// A Bezier handle.
inline CSb H(LONG x, LONG y) {
    return CSb(0x100, CLpoint(x, y));
}

// Bytes of one object in object-reference form.
inline std::vector<BYTE> StoreObject(const CObject* obj) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(obj);
    ar.Close();
    return file.Detach();
}

template <class T> std::unique_ptr<T> LoadObject(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return std::unique_ptr<T>(ar.ReadObjectAs<T>());
}

// The group a curve item writes last: field 0 holding the count and the 12-byte points, then
// the end of the record.
inline std::vector<BYTE> PointGroupBytes(const std::vector<CSb>& points) {
    std::vector<BYTE> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(BYTE(v >> (8 * i)));
    };
    put(0, 2);                                // field id 0
    put(uint32_t(2 + 12 * points.size()), 4); // its length
    put(uint32_t(points.size()), 2);          // the count
    for (const CSb& p : points) {
        put(p.flags, 4);
        put(uint32_t(p.pt.x), 4);
        put(uint32_t(p.pt.y), 4);
    }
    put(0xFEFE, 2); // end of record
    put(0, 4);
    return out;
}
