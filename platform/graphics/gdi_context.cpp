// Device contexts: creation, saved states, selected objects, clipping, attributes, origins.
#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <cstdint>
#include <vector>

using namespace platform::detail;
using platform::DrawState;
using platform::GdiCall;
using platform::GdiOp;

namespace platform {

HDC CreateSurfaceDC(Surface* surface) {
    auto* dc = new DcImpl;
    dc->surface = surface;
    dc->a.pen = GetStockObject(BLACK_PEN);
    dc->a.brush = GetStockObject(WHITE_BRUSH);
    dc->a.font = GetStockObject(SYSTEM_FONT);
    dc->a.palette = GetStockObject(DEFAULT_PALETTE);
    Retain(dc->a.pen);
    Retain(dc->a.brush);
    Retain(dc->a.font);
    Retain(dc->a.palette);
    dc->generation = NextGeneration();
    LiveDCs().insert(dc);
    return dc;
}

Surface* GetDCSurface(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->surface : nullptr;
}

} // namespace platform

HDC CreateCompatibleDC(HDC) {
    HDC dc = platform::CreateSurfaceDC(nullptr);
    dc->memoryDc = true;
    dc->a.bitmap = DefaultBitmap();
    Retain(dc->a.bitmap);
    dc->surface = static_cast<BitmapImpl*>(dc->a.bitmap)->surface.get();
    return dc;
}

static void ReleaseAttributes(DcAttributes& a) {
    Release(a.pen);
    Release(a.brush);
    Release(a.font);
    Release(a.bitmap);
    Release(a.palette);
}

static void RetainAttributes(DcAttributes& a) {
    Retain(a.pen);
    Retain(a.brush);
    Retain(a.font);
    Retain(a.bitmap);
    Retain(a.palette);
}

BOOL DeleteDC(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    ReleaseAttributes(dc->a);
    for (auto& s : dc->saved)
        ReleaseAttributes(s);
    ForgetDC(dc);
    delete dc;
    return TRUE;
}

int SaveDC(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->a);
    RetainAttributes(dc->saved.back());
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    int n = int(dc->saved.size());
    int index = saved < 0 ? n + saved : saved - 1;
    if (index < 0 || index >= n)
        return FALSE;
    ReleaseAttributes(dc->a);
    dc->a = dc->saved[size_t(index)];
    for (int i = n - 1; i > index; --i)
        ReleaseAttributes(dc->saved[size_t(i)]);
    dc->saved.resize(size_t(index));
    if (dc->memoryDc)
        dc->surface = static_cast<BitmapImpl*>(dc->a.bitmap)->surface.get();
    Touch(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !platform::detail::IsLiveObject(obj) || obj->deletePending)
        return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (obj->type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        slot = &dc->a.pen;
        break;
    case OBJ_BRUSH:
        slot = &dc->a.brush;
        break;
    case OBJ_FONT:
        slot = &dc->a.font;
        break;
    case OBJ_PAL:
        slot = &dc->a.palette;
        break;
    case OBJ_BITMAP: {
        if (!dc->memoryDc)
            return nullptr;
        auto* bmp = static_cast<BitmapImpl*>(obj);
        // A bitmap lives in one memory context at a time.
        if (bmp->selected > 0 && obj != dc->a.bitmap)
            return nullptr;
        slot = &dc->a.bitmap;
        dc->surface = bmp->surface.get();
        break;
    }
    case OBJ_REGION:
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(hdc, obj)));
    default:
        return nullptr;
    }
    HGDIOBJ old = *slot;
    if (old == obj)
        return old;
    Retain(obj);
    *slot = obj;
    Touch(dc);
    Release(old);
    // The caller may delete the old object now; if it was pending and freed, its pointer is
    // still a useful token for re-selection only when it is alive, so return it as is.
    return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return dc->a.pen;
    case OBJ_BRUSH:
        return dc->a.brush;
    case OBJ_FONT:
        return dc->a.font;
    case OBJ_BITMAP:
        return dc->a.bitmap;
    case OBJ_PAL:
        return dc->a.palette;
    default:
        return nullptr;
    }
}

static std::vector<RECT> WholeSurface(DcImpl* dc) {
    if (!dc->surface)
        return {};
    return {RECT{0, 0, dc->surface->Width(), dc->surface->Height()}};
}

static int ClipType(DcImpl* dc) {
    if (!dc->a.hasClip)
        return SIMPLEREGION;
    return dc->a.clip.empty() ? NULLREGION : dc->a.clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return ERROR;
    RegionImpl* r = Rgn(rgn);
    if (!r) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->a.hasClip = false;
        dc->a.clip.clear();
        Touch(dc);
        return SIMPLEREGION;
    }
    if (mode == RGN_COPY) {
        dc->a.clip = r->rects;
    } else {
        std::vector<RECT> current = dc->a.hasClip ? dc->a.clip : WholeSurface(dc);
        dc->a.clip = CombineRects(current, r->rects, mode);
    }
    dc->a.hasClip = true;
    Touch(dc);
    return ClipType(dc);
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
    return ExtSelectClipRgn(hdc, rgn, RGN_COPY);
}

static int CombineClipRect(HDC hdc, int l, int t, int r, int b, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return ERROR;
    RECT dev = ToDevice(dc, RECT{l, t, r, b});
    std::vector<RECT> current = dc->a.hasClip ? dc->a.clip : WholeSurface(dc);
    std::vector<RECT> rect;
    if (dev.right > dev.left && dev.bottom > dev.top)
        rect.push_back(dev);
    dc->a.clip = CombineRects(current, rect, mode);
    dc->a.hasClip = true;
    Touch(dc);
    return ClipType(dc);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
    return CombineClipRect(hdc, l, t, r, b, RGN_DIFF);
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
    return CombineClipRect(hdc, l, t, r, b, RGN_AND);
}

int GetClipBox(HDC hdc, RECT* rect) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !rect)
        return ERROR;
    RECT box = dc->a.hasClip ? BoundingBox(dc->a.clip) : BoundingBox(WholeSurface(dc));
    POINT a = ToLogical(dc, POINT{box.left, box.top}),
          b = ToLogical(dc, POINT{box.right, box.bottom});
    *rect = RECT{a.x, a.y, b.x, b.y};
    return ClipType(dc);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
    DcImpl* dc = Dc(hdc);
    RegionImpl* r = Rgn(rgn);
    if (!dc || !r)
        return -1;
    if (!dc->a.hasClip)
        return 0;
    r->rects = dc->a.clip;
    return 1;
}

#define DC_SETTER(Name, field, Type)                                                               \
    Type Set##Name(HDC hdc, Type v) {                                                              \
        DcImpl* dc = Dc(hdc);                                                                      \
        if (!dc)                                                                                   \
            return 0;                                                                              \
        Type old = dc->a.field;                                                                    \
        if (old != v) {                                                                            \
            dc->a.field = v;                                                                       \
            Touch(dc);                                                                             \
        }                                                                                          \
        return old;                                                                                \
    }                                                                                              \
    Type Get##Name(HDC hdc) {                                                                      \
        DcImpl* dc = Dc(hdc);                                                                      \
        return dc ? dc->a.field : 0;                                                               \
    }

int SetROP2(HDC hdc, int rop) {
    DcImpl* dc = Dc(hdc);
    if (!dc || rop < R2_BLACK || rop > R2_WHITE)
        return 0;
    int old = dc->a.rop;
    if (old != rop) {
        dc->a.rop = rop;
        Touch(dc);
    }
    return old;
}

int GetROP2(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.rop : 0;
}

int SetPolyFillMode(HDC hdc, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (mode != ALTERNATE && mode != WINDING))
        return 0;
    int old = dc->a.polyFillMode;
    if (old != mode) {
        dc->a.polyFillMode = mode;
        Touch(dc);
    }
    return old;
}

int GetPolyFillMode(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.polyFillMode : 0;
}

int SetBkMode(HDC hdc, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int old = dc->a.bkMode;
    if (old != mode) {
        dc->a.bkMode = mode;
        Touch(dc);
    }
    return old;
}

int GetBkMode(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.bkMode : 0;
}

DC_SETTER(BkColor, bkColour, COLORREF)
DC_SETTER(TextColor, textColour, COLORREF)
DC_SETTER(TextAlign, textAlign, UINT)

int SetMapMode(HDC hdc, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc || mode != MM_TEXT)
        return 0;
    int old = dc->a.mapMode;
    dc->a.mapMode = mode;
    return old;
}

int GetMapMode(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.mapMode : 0;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->a.vpOrg;
    dc->a.vpOrg = POINT{x, y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, POINT* org) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !org)
        return FALSE;
    *org = dc->a.vpOrg;
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->a.winOrg;
    dc->a.winOrg = POINT{x, y};
    return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, POINT* org) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !org)
        return FALSE;
    *org = dc->a.winOrg;
    return TRUE;
}

BOOL LPtoDP(HDC hdc, POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToDevice(dc, pts[i].x, pts[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToLogical(dc, pts[i]);
    return TRUE;
}
