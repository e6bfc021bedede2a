// Drawing objects (pens, brushes, fonts, palettes, bitmaps) and the table of live handles.
#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <cstring>
#include <cwchar>
#include <unordered_set>

namespace platform::detail {

std::unordered_set<const GdiObjectImpl*>& LiveObjects() {
    static std::unordered_set<const GdiObjectImpl*> live;
    return live;
}

std::unordered_set<const DcImpl*>& LiveDCs() {
    static std::unordered_set<const DcImpl*> live;
    return live;
}

namespace {
// The context looked up last: drawing calls come in long runs on one context, and the set
// lookup costs more than a short line.
const DcImpl* g_recentDc = nullptr;
} // namespace

void ForgetDC(const DcImpl* dc) {
    if (g_recentDc == dc)
        g_recentDc = nullptr;
    LiveDCs().erase(dc);
}

ULONGLONG NextGeneration() {
    static ULONGLONG counter = 0;
    return ++counter;
}

RegionImpl* Rgn(HRGN h) {
    return As<RegionImpl>(h, OBJ_REGION);
}

void FreeObject(GdiObjectImpl* obj) {
    LiveObjects().erase(obj);
    delete obj;
}

void Retain(HGDIOBJ obj) {
    if (obj)
        ++obj->selected;
}

void Release(HGDIOBJ obj) {
    if (!obj)
        return;
    if (--obj->selected <= 0 && obj->deletePending && !obj->stock)
        FreeObject(obj);
}

DcImpl* Dc(HDC hdc) {
    if (hdc && hdc == g_recentDc)
        return hdc;
    if (!hdc || !LiveDCs().count(hdc))
        return nullptr;
    g_recentDc = hdc;
    return hdc;
}

void Touch(DcImpl* dc) {
    dc->generation = NextGeneration();
}

bool IsLiveObject(HGDIOBJ obj) {
    return obj && LiveObjects().count(obj);
}
bool IsLiveDC(HDC hdc) {
    return hdc && LiveDCs().count(hdc);
}

} // namespace platform::detail

using namespace platform::detail;

namespace {

LOGFONTW MakeFont(const wchar_t* face, int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

HGDIOBJ MakeStock(int id) {
    GdiObjectImpl* obj = nullptr;
    auto brush = [](UINT style, COLORREF c) {
        auto* b = new BrushImpl;
        b->style = style;
        b->colour = c;
        return b;
    };
    auto pen = [](int style, COLORREF c) {
        auto* p = new PenImpl;
        p->style = style;
        p->colour = c;
        return p;
    };
    switch (id) {
    case WHITE_BRUSH:
        obj = brush(BS_SOLID, 0xFFFFFF);
        break;
    case LTGRAY_BRUSH:
        obj = brush(BS_SOLID, 0xC0C0C0);
        break;
    case GRAY_BRUSH:
        obj = brush(BS_SOLID, 0x808080);
        break;
    case DKGRAY_BRUSH:
        obj = brush(BS_SOLID, 0x404040);
        break;
    case BLACK_BRUSH:
        obj = brush(BS_SOLID, 0);
        break;
    case NULL_BRUSH:
        obj = brush(BS_NULL, 0);
        break;
    case WHITE_PEN:
        obj = pen(PS_SOLID, 0xFFFFFF);
        break;
    case BLACK_PEN:
        obj = pen(PS_SOLID, 0);
        break;
    case NULL_PEN:
        obj = pen(PS_NULL, 0);
        break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: {
        auto* f = new FontImpl;
        f->lf = MakeFont(L"Courier New", 16, FW_NORMAL);
        obj = f;
        break;
    }
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT: {
        auto* f = new FontImpl;
        f->lf = MakeFont(L"MS Sans Serif", id == DEFAULT_GUI_FONT ? -11 : 16,
                         id == SYSTEM_FONT ? FW_BOLD : FW_NORMAL);
        obj = f;
        break;
    }
    case DEFAULT_PALETTE:
        obj = new PaletteImpl;
        break;
    default:
        return nullptr;
    }
    obj->stock = true;
    return Track(obj);
}

} // namespace

HGDIOBJ platform::detail::DefaultBitmap() {
    static HGDIOBJ bmp = [] {
        auto* b = new BitmapImpl;
        b->width = b->height = 1;
        b->stride = 4;
        b->bits.assign(4, 0);
        b->surface = std::make_unique<platform::RasterSurface>(b->bits.data(), 1, 1, 32, 4, true);
        b->stock = true;
        return static_cast<HGDIOBJ>(Track(b));
    }();
    return bmp;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    auto* p = new PenImpl;
    p->style = style;
    p->width = width < 0 ? 0 : width;
    p->colour = colour & 0xFFFFFF;
    return Track(p);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen ? CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*) {
    if (!brush)
        return nullptr;
    // A cosmetic pen is always one pixel wide.
    if ((style & PS_TYPE_MASK) == PS_COSMETIC && width != 1)
        return nullptr;
    auto* p = new PenImpl;
    p->type = OBJ_EXTPEN;
    p->style = int(style);
    p->width = int(width);
    p->colour = brush->lbColor & 0xFFFFFF;
    if (brush->lbStyle == BS_NULL)
        p->style = (p->style & ~PS_STYLE_MASK) | PS_NULL;
    return Track(p);
}

HPALETTE CreatePalette(const LOGPALETTE* lp) {
    if (!lp || lp->palVersion != 0x300 || lp->palNumEntries == 0)
        return nullptr;
    auto* p = new PaletteImpl;
    p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
    return Track(p);
}

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries) {
    auto* p = As<PaletteImpl>(pal, OBJ_PAL);
    if (!p)
        return 0;
    if (!entries)
        return UINT(p->entries.size());
    UINT n = 0;
    for (; n < count && start + n < p->entries.size(); ++n)
        entries[n] = p->entries[start + n];
    return n;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto* b = new BrushImpl;
    b->colour = colour & 0xFFFFFF;
    return Track(b);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto* b = new BrushImpl;
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->colour = colour & 0xFFFFFF;
    return Track(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_NULL: {
        auto* b = new BrushImpl;
        b->style = BS_NULL;
        return Track(b);
    }
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font)
        return nullptr;
    auto* f = new FontImpl;
    f->lf = *font;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return Track(f);
}

HGDIOBJ GetStockObject(int id) {
    static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
    if (id < 0 || id > DEFAULT_GUI_FONT)
        return nullptr;
    if (!stock[id])
        stock[id] = MakeStock(id);
    return stock[id];
}

BOOL DeleteObject(HGDIOBJ obj) {
    if (!platform::detail::IsLiveObject(obj))
        return FALSE;
    if (obj->stock)
        return TRUE;
    if (obj->selected > 0) {
        // Still selected somewhere: freed when the last context deselects it.
        obj->deletePending = true;
        return TRUE;
    }
    FreeObject(obj);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
    return platform::detail::IsLiveObject(obj) ? obj->type : 0;
}

int GetObjectW(HGDIOBJ obj, int size, void* out) {
    if (!platform::detail::IsLiveObject(obj))
        return 0;
    switch (obj->type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
        auto* p = static_cast<PenImpl*>(obj);
        LOGPEN lp{UINT(p->style), POINT{p->width, 0}, p->colour};
        if (!out)
            return sizeof lp;
        if (size < int(sizeof lp))
            return 0;
        std::memcpy(out, &lp, sizeof lp);
        return sizeof lp;
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<BrushImpl*>(obj);
        LOGBRUSH lb{b->style, b->colour, ULONG_PTR(b->hatch)};
        if (!out)
            return sizeof lb;
        if (size < int(sizeof lb))
            return 0;
        std::memcpy(out, &lb, sizeof lb);
        return sizeof lb;
    }
    case OBJ_FONT: {
        auto* f = static_cast<FontImpl*>(obj);
        if (!out)
            return sizeof f->lf;
        if (size < int(sizeof f->lf))
            return 0;
        std::memcpy(out, &f->lf, sizeof f->lf);
        return sizeof f->lf;
    }
    case OBJ_BITMAP: {
        auto* b = static_cast<BitmapImpl*>(obj);
        BITMAP bm{0, b->width, b->height, b->stride, 1, WORD(b->bpp), b->bits.data()};
        if (!out)
            return sizeof bm;
        if (size < int(sizeof bm))
            return 0;
        std::memcpy(out, &bm, sizeof bm);
        return sizeof bm;
    }
    default:
        return 0;
    }
}

COLORREF GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_BTNHIGHLIGHT:
        return 0xFFFFFF;
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_BACKGROUND:
    case COLOR_WINDOWFRAME:
        return 0x000000;
    case COLOR_BTNFACE:
        return 0xF0F0F0;
    case COLOR_HIGHLIGHT:
        return 0xD77800;
    case COLOR_BTNSHADOW:
        return 0xA0A0A0;
    case COLOR_GRAYTEXT:
        return 0x6D6D6D;
    case COLOR_SCROLLBAR:
        return 0xC8C8C8;
    default:
        return 0xC0C0C0;
    }
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[32] = {};
    if (index < 0 || index >= 32)
        return nullptr;
    if (!brushes[index]) {
        auto* b = new BrushImpl;
        b->colour = GetSysColor(index);
        b->stock = true;
        brushes[index] = Track(b);
    }
    return brushes[index];
}

// Bitmaps ----------------------------------------------------------------------------------------

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits)
        *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int bpp = h.biBitCount;
    if ((bpp != 24 && bpp != 32) || h.biCompression != BI_RGB || h.biWidth <= 0 ||
        h.biHeight == 0 || h.biPlanes != 1)
        return nullptr;
    int64_t width = h.biWidth, height = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
    int64_t stride = ((width * bpp + 31) / 32) * 4;
    // Refuse sizes no drawing of this program needs; they would only exhaust memory.
    if (width > 65536 || height > 65536 || stride * height > (int64_t(1) << 31))
        return nullptr;
    auto* b = new BitmapImpl;
    b->width = int(width);
    b->height = int(height);
    b->bpp = bpp;
    b->stride = int(stride);
    b->bottomUp = h.biHeight > 0;
    b->bits.assign(size_t(stride * height), 0);
    b->surface = std::make_unique<platform::RasterSurface>(b->bits.data(), b->width, b->height, bpp,
                                                           b->stride, b->bottomUp);
    if (bits)
        *bits = b->bits.data();
    return Track(b);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
}
