// The class library's drawing objects: wrappers that own a drawing handle.
#pragma once

#include "platform/core/crect.h"
#include "platform/core/object.h"
#include "platform/graphics/gdi.h"

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)

public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ obj);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject() { return m_hObject != nullptr; }
    int GetObject(int size, void* out) const { return GetObjectW(m_hObject, size, out); }
    UINT GetObjectType() const { return UINT(::GetObjectType(m_hObject)); }

    // A wrapper for a handle: the object that owns it when there is one, else a temporary
    // wrapper that lives until DeleteTempMap.
    static CGdiObject* FromHandle(HGDIOBJ obj);
    static void DeleteTempMap();
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)

public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    CPen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
         const DWORD* styles = nullptr) {
        CreatePen(style, width, brush, styleCount, styles);
    }
    BOOL CreatePen(int style, int width, COLORREF colour) {
        return Attach(::CreatePen(style, width, colour));
    }
    BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
                   const DWORD* styles = nullptr) {
        return Attach(::ExtCreatePen(DWORD(style), DWORD(width), brush, DWORD(styleCount), styles));
    }
    BOOL CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
    int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof *pen, pen); }
    operator HPEN() const { return m_hObject; }
    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)

public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    CBrush(int hatch, COLORREF colour) { CreateHatchBrush(hatch, colour); }
    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
    BOOL CreateHatchBrush(int hatch, COLORREF colour) {
        return Attach(::CreateHatchBrush(hatch, colour));
    }
    BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
    BOOL CreateSysColorBrush(int index) { return Attach(::CreateSolidBrush(GetSysColor(index))); }
    int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof *brush, brush); }
    operator HBRUSH() const { return m_hObject; }
    static CBrush* FromHandle(HBRUSH brush) {
        return static_cast<CBrush*>(CGdiObject::FromHandle(brush));
    }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)

public:
    BOOL CreateFontIndirect(const LOGFONTW* font) { return Attach(::CreateFontIndirectW(font)); }
    // Point size in tenths of a point at 96 pixels per inch.
    BOOL CreatePointFont(int pointSize, const wchar_t* face, void* dc = nullptr);
    int GetLogFont(LOGFONTW* font) const { return GetObject(sizeof *font, font); }
    operator HFONT() const { return m_hObject; }
    static CFont* FromHandle(HFONT font) {
        return static_cast<CFont*>(CGdiObject::FromHandle(font));
    }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)

public:
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof *bm, bm); }
    operator HBITMAP() const { return m_hObject; }
    static CBitmap* FromHandle(HBITMAP bmp) {
        return static_cast<CBitmap*>(CGdiObject::FromHandle(bmp));
    }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)

public:
    operator HPALETTE() const { return m_hObject; }
    BOOL CreatePalette(const LOGPALETTE* lp) { return Attach(::CreatePalette(lp)); }
    int GetEntryCount() const { return int(::GetPaletteEntries(m_hObject, 0, 0, nullptr)); }
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const {
        return ::GetPaletteEntries(m_hObject, start, count, entries);
    }
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)

public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(m_hObject, l, t, r, b); }
    void SetRectRgn(LPCRECT r) { ::SetRectRgn(m_hObject, r->left, r->top, r->right, r->bottom); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn(m_hObject, a ? a->m_hObject : nullptr, b ? b->m_hObject : nullptr,
                            mode);
    }
    int CopyRgn(const CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* other) const { return ::EqualRgn(m_hObject, other->m_hObject); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(m_hObject, dx, dy); }
    int OffsetRgn(POINT p) { return ::OffsetRgn(m_hObject, p.x, p.y); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(m_hObject, rect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion(m_hObject, p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion(m_hObject, rect); }
    operator HRGN() const { return m_hObject; }
    static CRgn* FromHandle(HRGN rgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(rgn)); }
};
