#include "platform/graphics/metafile.h"

#include "platform/graphics/surface.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>

namespace {

struct EnhMeta {
    platform::RecordingSurface calls;
    RECT frame{0, 0, 0, 0};
    std::wstring description;
};

struct OldMeta {
    std::vector<BYTE> bytes;
};

std::unordered_set<EnhMeta*>& LiveEnh() {
    static std::unordered_set<EnhMeta*> s;
    return s;
}
std::unordered_set<OldMeta*>& LiveOld() {
    static std::unordered_set<OldMeta*> s;
    return s;
}
// Contexts still recording, with their metafile.
std::map<HDC, EnhMeta*>& Recording() {
    static std::map<HDC, EnhMeta*> m;
    return m;
}

EnhMeta* Enh(HENHMETAFILE h) {
    auto* e = static_cast<EnhMeta*>(h);
    return e && LiveEnh().count(e) ? e : nullptr;
}
OldMeta* Old(HMETAFILE h) {
    auto* m = static_cast<OldMeta*>(h);
    return m && LiveOld().count(m) ? m : nullptr;
}

// Writes 16-bit records in little-endian order.
class Writer {
public:
    void Word(int v) {
        const WORD w = WORD(int16_t(std::clamp(v, -32768, 65535)));
        m_body.push_back(BYTE(w & 0xFF));
        m_body.push_back(BYTE(w >> 8));
    }
    // Coordinates are signed 16-bit: what lies beyond is clamped.
    void Coord(LONG v) { Word(std::clamp<LONG>(v, -32768, 32767)); }
    void Dword(DWORD v) {
        Word(int(v & 0xFFFF));
        Word(int(v >> 16));
    }
    void Record(WORD function, const std::vector<int>& params) {
        const DWORD words = DWORD(3 + params.size());
        Dword(words);
        Word(function);
        for (int p : params)
            Word(p);
        m_maxRecord = std::max(m_maxRecord, words);
    }
    void Points(WORD function, const std::vector<POINT>& pts) {
        if (pts.size() < 2 || pts.size() > 16000)
            return;
        const DWORD words = DWORD(3 + 1 + 2 * pts.size());
        Dword(words);
        Word(function);
        Word(int(pts.size()));
        for (const POINT& p : pts) {
            Coord(p.x);
            Coord(p.y);
        }
        m_maxRecord = std::max(m_maxRecord, words);
    }
    // Objects take the lowest free slot of the table, as playback does.
    int Create(WORD function, const std::vector<int>& params) {
        int slot = 0;
        while (slot < int(m_slots.size()) && m_slots[size_t(slot)])
            ++slot;
        if (slot == int(m_slots.size()))
            m_slots.push_back(false);
        m_slots[size_t(slot)] = true;
        Record(function, params);
        return slot;
    }
    void Delete(int slot) {
        if (slot < 0 || slot >= int(m_slots.size()) || !m_slots[size_t(slot)])
            return;
        Record(META_DELETEOBJECT, {slot});
        m_slots[size_t(slot)] = false;
    }
    std::vector<BYTE> Finish() {
        Record(META_EOF, {});
        std::vector<BYTE> out;
        auto put = [&](WORD w) {
            out.push_back(BYTE(w & 0xFF));
            out.push_back(BYTE(w >> 8));
        };
        const DWORD total = DWORD(kMetaHeaderWords + m_body.size() / 2);
        put(kMetaMemory);
        put(kMetaHeaderWords);
        put(kMetaVersion);
        put(WORD(total & 0xFFFF));
        put(WORD(total >> 16));
        put(WORD(m_slots.size()));
        put(WORD(m_maxRecord & 0xFFFF));
        put(WORD(m_maxRecord >> 16));
        put(0); // members
        out.insert(out.end(), m_body.begin(), m_body.end());
        return out;
    }

private:
    std::vector<BYTE> m_body;
    std::vector<bool> m_slots;
    DWORD m_maxRecord = 3;
};

POINT Bezier(const POINT& a, const POINT& b, const POINT& c, const POINT& d, double t) {
    const double u = 1 - t;
    const double x = u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x;
    const double y = u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y;
    return POINT{LONG(x < 0 ? x - 0.5 : x + 0.5), LONG(y < 0 ? y - 0.5 : y + 0.5)};
}

// The curve's points as a polyline: a fixed number of steps per segment.
std::vector<POINT> FlattenBeziers(const std::vector<POINT>& pts) {
    constexpr int kSteps = 8;
    std::vector<POINT> out;
    if (pts.empty())
        return out;
    out.push_back(pts[0]);
    for (size_t i = 0; i + 3 < pts.size(); i += 3)
        for (int s = 1; s <= kSteps; ++s)
            out.push_back(Bezier(pts[i], pts[i + 1], pts[i + 2], pts[i + 3], double(s) / kSteps));
    return out;
}

// The figures of a path as polylines; closed ones repeat their first point.
std::vector<std::vector<POINT>> PathFigures(const platform::RecordedCall& c) {
    std::vector<std::vector<POINT>> figures;
    std::vector<POINT> cur;
    for (size_t i = 0; i < c.pts.size(); ++i) {
        const BYTE t = i < c.types.size() ? c.types[i] : BYTE(PT_LINETO);
        const BYTE kind = BYTE(t & ~PT_CLOSEFIGURE);
        if (kind == PT_MOVETO) {
            if (cur.size() > 1)
                figures.push_back(cur);
            cur.assign(1, c.pts[i]);
        } else if (kind == PT_BEZIERTO && i + 2 < c.pts.size() && !cur.empty()) {
            const std::vector<POINT> seg{cur.back(), c.pts[i], c.pts[i + 1], c.pts[i + 2]};
            const std::vector<POINT> flat = FlattenBeziers(seg);
            cur.insert(cur.end(), flat.begin() + 1, flat.end());
            i += 2;
        } else {
            cur.push_back(c.pts[i]);
        }
        const BYTE last = i < c.types.size() ? c.types[i] : 0;
        if ((last & PT_CLOSEFIGURE) && !cur.empty())
            cur.push_back(cur.front());
    }
    if (cur.size() > 1)
        figures.push_back(cur);
    return figures;
}

std::vector<BYTE> ToOldStyle(const EnhMeta& e) {
    Writer w;
    w.Record(META_SETMAPMODE, {MM_TEXT});
    int pen = -1, brush = -1, rop = R2_COPYPEN, bkMode = OPAQUE;
    struct PenKey {
        int style, width;
        COLORREF colour;
        bool operator==(const PenKey&) const = default;
    } lastPen{-1, -1, 0};
    struct BrushKey {
        UINT style;
        COLORREF colour;
        bool operator==(const BrushKey&) const = default;
    } lastBrush{0xFFFF, 0};
    auto usePen = [&](const PenKey& k) {
        if (pen >= 0 && k == lastPen)
            return;
        const int slot =
            w.Create(META_CREATEPENINDIRECT,
                     {k.style & 0xFFFF, k.width, 0, int(k.colour & 0xFFFF), int(k.colour >> 16)});
        w.Record(META_SELECTOBJECT, {slot});
        w.Delete(pen);
        pen = slot;
        lastPen = k;
    };
    auto useBrush = [&](const BrushKey& k) {
        if (brush >= 0 && k == lastBrush)
            return;
        const int slot = w.Create(META_CREATEBRUSHINDIRECT,
                                  {int(k.style), int(k.colour & 0xFFFF), int(k.colour >> 16), 0});
        w.Record(META_SELECTOBJECT, {slot});
        w.Delete(brush);
        brush = slot;
        lastBrush = k;
    };
    auto state = [&](const platform::RecordedCall& c) {
        if (c.rop != rop) {
            w.Record(META_SETROP2, {c.rop});
            rop = c.rop;
        }
        if (c.bkMode != bkMode) {
            w.Record(META_SETBKMODE, {c.bkMode});
            bkMode = c.bkMode;
        }
    };
    auto strokePen = [&](const platform::RecordedCall& c) {
        usePen({c.penStyle & 0xF, c.penWidth, c.penColour});
    };
    for (const platform::RecordedCall& c : e.calls.Calls()) {
        switch (c.op) {
        case platform::GdiOp::MoveTo:
            if (!c.pts.empty())
                w.Record(META_MOVETO, {int(c.pts[0].y), int(c.pts[0].x)});
            break;
        case platform::GdiOp::LineTo:
            if (c.pts.size() >= 2) {
                state(c);
                strokePen(c);
                w.Record(META_MOVETO, {int(c.pts[0].y), int(c.pts[0].x)});
                w.Record(META_LINETO, {int(c.pts[1].y), int(c.pts[1].x)});
            } else if (c.pts.size() == 1) {
                state(c);
                strokePen(c);
                w.Record(META_LINETO, {int(c.pts[0].y), int(c.pts[0].x)});
            }
            break;
        case platform::GdiOp::Polyline:
        case platform::GdiOp::PolylineTo:
            state(c);
            strokePen(c);
            w.Points(META_POLYLINE, c.pts);
            break;
        case platform::GdiOp::PolyBezier:
        case platform::GdiOp::PolyBezierTo:
            state(c);
            strokePen(c);
            w.Points(META_POLYLINE, FlattenBeziers(c.pts));
            break;
        case platform::GdiOp::Polygon:
            state(c);
            strokePen(c);
            useBrush({c.brushStyle, c.brushColour});
            w.Points(META_POLYGON, c.pts);
            break;
        case platform::GdiOp::Rectangle:
        case platform::GdiOp::Ellipse:
            state(c);
            strokePen(c);
            useBrush({c.brushStyle, c.brushColour});
            w.Record(c.op == platform::GdiOp::Rectangle ? META_RECTANGLE : META_ELLIPSE,
                     {int(c.rect.bottom), int(c.rect.right), int(c.rect.top), int(c.rect.left)});
            break;
        case platform::GdiOp::FillRect:
            state(c);
            usePen({PS_NULL, 0, 0});
            useBrush({BS_SOLID, c.colour});
            // The outline-free rectangle covers right and bottom too: one more each.
            w.Record(META_RECTANGLE, {int(c.rect.bottom + 1), int(c.rect.right + 1),
                                      int(c.rect.top), int(c.rect.left)});
            break;
        case platform::GdiOp::StrokePath:
        case platform::GdiOp::StrokeAndFillPath:
        case platform::GdiOp::FillPath:
            state(c);
            strokePen(c);
            for (const std::vector<POINT>& f : PathFigures(c))
                w.Points(c.op == platform::GdiOp::StrokePath ? META_POLYLINE : META_POLYGON, f);
            break;
        default:
            break; // text, bitmaps and inversions have no place in the picture
        }
    }
    w.Delete(pen);
    w.Delete(brush);
    return w.Finish();
}

WORD ReadWord(const std::vector<BYTE>& b, size_t at) {
    return at + 1 < b.size() ? WORD(b[at] | (b[at + 1] << 8)) : 0;
}
DWORD ReadDword(const std::vector<BYTE>& b, size_t at) {
    return DWORD(ReadWord(b, at)) | (DWORD(ReadWord(b, at + 2)) << 16);
}

} // namespace

HDC CreateEnhMetaFileW(HDC, LPCWSTR file, const RECT* frame, LPCWSTR description) {
    if (file)
        return nullptr; // memory metafiles only
    auto* e = new EnhMeta;
    if (frame)
        e->frame = *frame;
    if (description) {
        // Two strings, each ended by a zero character.
        const wchar_t* p = description;
        for (int part = 0; part < 2; ++part) {
            const size_t n = std::wcslen(p);
            e->description.append(p, n + 1);
            p += n + 1;
        }
    }
    HDC dc = platform::CreateSurfaceDC(&e->calls);
    if (!dc) {
        delete e;
        return nullptr;
    }
    LiveEnh().insert(e);
    Recording()[dc] = e;
    return dc;
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
    auto it = Recording().find(hdc);
    if (it == Recording().end())
        return nullptr;
    EnhMeta* e = it->second;
    Recording().erase(it);
    DeleteDC(hdc);
    return e;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE h) {
    EnhMeta* e = Enh(h);
    if (!e)
        return FALSE;
    for (auto it = Recording().begin(); it != Recording().end(); ++it)
        if (it->second == e)
            return FALSE; // still recording
    LiveEnh().erase(e);
    delete e;
    return TRUE;
}

UINT GetEnhMetaFileDescriptionW(HENHMETAFILE h, UINT max, LPWSTR buffer) {
    EnhMeta* e = Enh(h);
    if (!e)
        return UINT(-1);
    if (!buffer)
        return UINT(e->description.size());
    const size_t n = std::min<size_t>(max, e->description.size());
    std::copy(e->description.begin(), e->description.begin() + ptrdiff_t(n), buffer);
    return UINT(n);
}

UINT GetWinMetaFileBits(HENHMETAFILE h, UINT size, BYTE* buffer, int mapMode, HDC) {
    EnhMeta* e = Enh(h);
    if (!e || mapMode != MM_TEXT)
        return 0;
    const std::vector<BYTE> bytes = ToOldStyle(*e);
    if (!buffer)
        return UINT(bytes.size());
    if (size < bytes.size())
        return 0;
    std::copy(bytes.begin(), bytes.end(), buffer);
    return UINT(bytes.size());
}

HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* bytes) {
    if (!bytes || size < kMetaHeaderWords * 2u + 6)
        return nullptr;
    std::vector<BYTE> b(bytes, bytes + size);
    if (ReadWord(b, 0) != kMetaMemory || ReadWord(b, 2) != kMetaHeaderWords)
        return nullptr;
    auto* m = new OldMeta{std::move(b)};
    LiveOld().insert(m);
    return m;
}

UINT GetMetaFileBitsEx(HMETAFILE h, UINT size, LPVOID buffer) {
    OldMeta* m = Old(h);
    if (!m)
        return 0;
    if (!buffer)
        return UINT(m->bytes.size());
    if (size < m->bytes.size())
        return 0;
    std::copy(m->bytes.begin(), m->bytes.end(), static_cast<BYTE*>(buffer));
    return UINT(m->bytes.size());
}

BOOL DeleteMetaFile(HMETAFILE h) {
    OldMeta* m = Old(h);
    if (!m)
        return FALSE;
    LiveOld().erase(m);
    delete m;
    return TRUE;
}

BOOL PlayMetaFile(HDC hdc, HMETAFILE h) {
    OldMeta* m = Old(h);
    if (!m || !hdc)
        return FALSE;
    const std::vector<BYTE>& b = m->bytes;
    std::vector<HGDIOBJ> objects;
    HGDIOBJ oldPen = nullptr, oldBrush = nullptr;
    auto param = [&](size_t rec, int i) { return short(ReadWord(b, rec + 6 + size_t(i) * 2)); };
    auto points = [&](size_t rec, DWORD words) {
        std::vector<POINT> pts;
        const int count = param(rec, 0);
        if (count < 0 || DWORD(4 + 2 * count) > words)
            return pts;
        for (int i = 0; i < count; ++i)
            pts.push_back(POINT{param(rec, 1 + 2 * i), param(rec, 2 + 2 * i)});
        return pts;
    };
    size_t at = kMetaHeaderWords * 2u;
    while (at + 6 <= b.size()) {
        const DWORD words = ReadDword(b, at);
        const WORD fn = ReadWord(b, at + 4);
        // A record that runs past the end, or names no size, ends the playback.
        if (words < 3 || at + size_t(words) * 2 > b.size() || fn == META_EOF)
            break;
        switch (fn) {
        case META_SETROP2:
            SetROP2(hdc, param(at, 0));
            break;
        case META_SETBKMODE:
            SetBkMode(hdc, param(at, 0));
            break;
        case META_MOVETO:
            MoveToEx(hdc, param(at, 1), param(at, 0), nullptr);
            break;
        case META_LINETO:
            LineTo(hdc, param(at, 1), param(at, 0));
            break;
        case META_POLYLINE:
        case META_POLYGON: {
            const std::vector<POINT> pts = points(at, words);
            if (pts.size() >= 2)
                fn == META_POLYLINE ? Polyline(hdc, pts.data(), int(pts.size()))
                                    : Polygon(hdc, pts.data(), int(pts.size()));
            break;
        }
        case META_RECTANGLE:
        case META_ELLIPSE:
            (fn == META_RECTANGLE ? Rectangle : Ellipse)(hdc, param(at, 3), param(at, 2),
                                                         param(at, 1), param(at, 0));
            break;
        case META_CREATEPENINDIRECT:
        case META_CREATEBRUSHINDIRECT: {
            const COLORREF colour =
                fn == META_CREATEPENINDIRECT
                    ? COLORREF(WORD(param(at, 3))) | (COLORREF(WORD(param(at, 4))) << 16)
                    : COLORREF(WORD(param(at, 1))) | (COLORREF(WORD(param(at, 2))) << 16);
            HGDIOBJ obj = fn == META_CREATEPENINDIRECT
                              ? HGDIOBJ(CreatePen(param(at, 0), param(at, 1), colour))
                              : HGDIOBJ(param(at, 0) == BS_NULL ? HBRUSH(GetStockObject(NULL_BRUSH))
                                                                : CreateSolidBrush(colour));
            auto slot = std::find(objects.begin(), objects.end(), nullptr);
            if (slot == objects.end())
                objects.push_back(obj);
            else
                *slot = obj;
            break;
        }
        case META_SELECTOBJECT: {
            const int i = param(at, 0);
            if (i >= 0 && size_t(i) < objects.size() && objects[size_t(i)]) {
                HGDIOBJ prev = SelectObject(hdc, objects[size_t(i)]);
                const bool isPen = GetObjectType(objects[size_t(i)]) == OBJ_PEN;
                if (isPen && !oldPen)
                    oldPen = prev;
                if (!isPen && !oldBrush)
                    oldBrush = prev;
            }
            break;
        }
        case META_DELETEOBJECT: {
            const int i = param(at, 0);
            if (i >= 0 && size_t(i) < objects.size() && objects[size_t(i)]) {
                DeleteObject(objects[size_t(i)]); // freed once no context holds it
                objects[size_t(i)] = nullptr;
            }
            break;
        }
        default:
            break;
        }
        at += size_t(words) * 2;
    }
    if (oldPen)
        SelectObject(hdc, oldPen);
    if (oldBrush)
        SelectObject(hdc, oldBrush);
    for (HGDIOBJ o : objects)
        if (o)
            DeleteObject(o);
    return TRUE;
}

namespace platform {

const RecordingSurface* EnhMetaFileCalls(HENHMETAFILE h) {
    EnhMeta* e = Enh(h);
    return e ? &e->calls : nullptr;
}

bool EnhMetaFileFrame(HENHMETAFILE h, RECT* frame) {
    EnhMeta* e = Enh(h);
    if (!e || !frame)
        return false;
    *frame = e->frame;
    return true;
}

int MetaFileCount() {
    return int(LiveEnh().size() + LiveOld().size());
}

} // namespace platform
