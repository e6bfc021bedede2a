// Internal records behind the drawing handles; shared by graphics and windowing only.
#pragma once

#include "platform/graphics/gdi.h"
#include "platform/graphics/surface.h"

#include <memory>
#include <unordered_set>
#include <vector>

struct HWND__;

struct GdiObjectImpl {
    explicit GdiObjectImpl(DWORD t) : type(t) {}
    virtual ~GdiObjectImpl() = default;
    DWORD type;
    bool stock = false;
    int selected = 0;           // number of contexts that have it selected
    bool deletePending = false; // deleted while selected: freed when the last context lets go
};

struct PenImpl : GdiObjectImpl {
    PenImpl() : GdiObjectImpl(OBJ_PEN) {}
    int style = PS_SOLID;
    int width = 0;
    COLORREF colour = 0;
};

struct BrushImpl : GdiObjectImpl {
    BrushImpl() : GdiObjectImpl(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF colour = 0;
    int hatch = 0;
};

struct FontImpl : GdiObjectImpl {
    FontImpl() : GdiObjectImpl(OBJ_FONT) {}
    LOGFONTW lf{};
};

struct PaletteImpl : GdiObjectImpl {
    PaletteImpl() : GdiObjectImpl(OBJ_PAL) {}
    std::vector<PALETTEENTRY> entries;
};

// Non-overlapping rectangles, banded: sorted by top, then left.
struct RegionImpl : GdiObjectImpl {
    RegionImpl() : GdiObjectImpl(OBJ_REGION) {}
    std::vector<RECT> rects;
};

struct BitmapImpl : GdiObjectImpl {
    BitmapImpl() : GdiObjectImpl(OBJ_BITMAP) {}
    int width = 0, height = 0, bpp = 32, stride = 0;
    bool bottomUp = true;
    std::vector<uint8_t> bits;
    std::unique_ptr<platform::RasterSurface> surface;
};

struct PathState {
    bool open = false;   // between BeginPath and EndPath
    bool closed = false; // EndPath done, ready to stroke, fill or read
    std::vector<POINT> pts;
    std::vector<BYTE> types;
    bool figureOpen = false;
};

struct DcAttributes {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    int rop = R2_COPYPEN;
    int bkMode = OPAQUE;
    int polyFillMode = ALTERNATE;
    COLORREF bkColour = 0xFFFFFF;
    COLORREF textColour = 0;
    UINT textAlign = 0;
    POINT cur{0, 0};
    bool hasClip = false;
    std::vector<RECT> clip; // device units
    int mapMode = MM_TEXT;
    POINT vpOrg{0, 0};
    POINT winOrg{0, 0};
};

struct DcImpl {
    platform::Surface* surface = nullptr;
    bool memoryDc = false;
    HWND__* window = nullptr;
    bool windowDc = false; // whole window rather than client area
    DcAttributes a;
    std::vector<DcAttributes> saved;
    PathState path;
    ULONGLONG generation = 1;
    // Called with the device rectangle of every drawing call (marks a window's buffer dirty).
    void (*onDraw)(DcImpl* dc, const RECT& area) = nullptr;
};

namespace platform::detail {
bool IsLiveObject(HGDIOBJ obj);
bool IsLiveDC(HDC hdc);

// The table of live handles, shared by the object, region, context and drawing sources.
std::unordered_set<const GdiObjectImpl*>& LiveObjects();
std::unordered_set<const DcImpl*>& LiveDCs();
// Takes a context out of the live set (and out of the lookup's memory of it).
void ForgetDC(const DcImpl* dc);
ULONGLONG NextGeneration();

template <class T> T* Track(T* obj) {
    LiveObjects().insert(obj);
    return obj;
}

template <class T> T* As(HGDIOBJ h, DWORD type) {
    if (!h || !LiveObjects().count(h) || h->type != type)
        return nullptr;
    return static_cast<T*>(h);
}

RegionImpl* Rgn(HRGN h);
void FreeObject(GdiObjectImpl* obj);
// Selection counts: an object deleted while selected is freed when the last context lets go.
void Retain(HGDIOBJ obj);
void Release(HGDIOBJ obj);
DcImpl* Dc(HDC hdc);
void Touch(DcImpl* dc);
// The 1x1 bitmap a new memory context starts with.
HGDIOBJ DefaultBitmap();

// Logical to device under the text map mode.
inline POINT ToDevice(const DcImpl* dc, int x, int y) {
    return POINT{x - dc->a.winOrg.x + dc->a.vpOrg.x, y - dc->a.winOrg.y + dc->a.vpOrg.y};
}

inline POINT ToLogical(const DcImpl* dc, POINT p) {
    return POINT{p.x - dc->a.vpOrg.x + dc->a.winOrg.x, p.y - dc->a.vpOrg.y + dc->a.winOrg.y};
}

inline RECT ToDevice(const DcImpl* dc, const RECT& r) {
    POINT a = ToDevice(dc, r.left, r.top), b = ToDevice(dc, r.right, r.bottom);
    return RECT{a.x, a.y, b.x, b.y};
}

// Hands one call to the context's surface with its current state.
void Emit(DcImpl* dc, const GdiCall& call);
void EmitSimple(DcImpl* dc, GdiOp op);

// Path recording, in device units.
void PathAdd(DcImpl* dc, POINT device, BYTE type);
void PathStartFigure(DcImpl* dc);
void PathCloseFigure(DcImpl* dc);
void PathAddClosed(DcImpl* dc, const POINT* pts, const BYTE* types, int n);
int EllipseBeziers(const RECT& r, POINT* out, BYTE* types);
void AddRectToPath(DcImpl* dc, const RECT& r);

// Text measures through the system's fonts (the faces the deliverables name are mapped).
SIZE MeasureText(const LOGFONTW* font, const wchar_t* text, int count);
TEXTMETRICW FontMetrics(const LOGFONTW* font);
std::vector<RECT> CombineRects(const std::vector<RECT>& a, const std::vector<RECT>& b, int mode);
RECT BoundingBox(const std::vector<RECT>& rects);
} // namespace platform::detail
