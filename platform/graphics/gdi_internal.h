// Internal records behind the drawing handles; shared by graphics and windowing only.
#pragma once

#include "platform/graphics/gdi.h"
#include "platform/graphics/surface.h"

#include <memory>
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
// Text measures through the system's fonts (the faces the deliverables name are mapped).
SIZE MeasureText(const LOGFONTW* font, const wchar_t* text, int count);
TEXTMETRICW FontMetrics(const LOGFONTW* font);
std::vector<RECT> CombineRects(const std::vector<RECT>& a, const std::vector<RECT>& b, int mode);
RECT BoundingBox(const std::vector<RECT>& rects);
} // namespace platform::detail
