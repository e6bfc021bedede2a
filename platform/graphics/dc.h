// The class library's device context: an output handle that is drawn on and an attribute
// handle that answers queries (current position, attributes). Usually the same handle.
#pragma once

#include "platform/core/crect.h"
#include "platform/core/object.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/gdi_objects.h"

// Device capabilities.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int RC_PALETTE = 0x0100;

int GetDeviceCaps(HDC hdc, int index);

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)

public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hdc);
    HDC Detach();
    virtual void SetAttribDC(HDC hdc) { m_hAttribDC = hdc; }
    virtual void SetOutputDC(HDC hdc) { m_hDC = hdc; }
    virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    virtual void ReleaseOutputDC() { m_hDC = nullptr; }
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_bPrinting; }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    static CDC* FromHandle(HDC hdc);
    static void DeleteTempMap();

    // Objects. A returned object is the one that owns the old handle, or a temporary wrapper.
    virtual CGdiObject* SelectStockObject(int index);
    CGdiObject* SelectObject(CGdiObject* obj);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* rgn);
    HGDIOBJ SelectObject(HGDIOBJ obj);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;

    // Attributes.
    int SetROP2(int rop);
    int GetROP2() const { return ::GetROP2(m_hAttribDC); }
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
    int SetBkMode(int mode);
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    UINT SetTextAlign(UINT align);
    UINT GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }

    // The text map mode's two origins; the context's own mapping, if any, is the deriver's.
    virtual int SetMapMode(int mode);
    int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    virtual CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CSize GetViewportExt() const { return CSize(1, 1); }
    virtual CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize GetWindowExt() const { return CSize(1, 1); }
    CPoint SetWindowOrg(int x, int y);
    CPoint GetWindowOrg() const;
    void LPtoDP(LPPOINT pts, int count = 1) const { ::LPtoDP(m_hAttribDC, pts, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<POINT*>(rect), 2); }
    void DPtoLP(LPPOINT pts, int count = 1) const { ::DPtoLP(m_hAttribDC, pts, count); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<POINT*>(rect), 2); }

    // Clipping.
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? rgn->m_hObject : nullptr); }
    int SelectClipRgn(CRgn* rgn, int mode) {
        return ::ExtSelectClipRgn(m_hDC, rgn ? rgn->m_hObject : nullptr, mode);
    }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int l, int t, int r, int b) {
        return ::IntersectClipRect(m_hDC, l, t, r, b);
    }
    int IntersectClipRect(LPCRECT r) {
        return IntersectClipRect(r->left, r->top, r->right, r->bottom);
    }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }

    // Drawing.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
    // Lines from the current position through each point in turn, as LineTo one at a time.
    BOOL PolylineTo(const POINT* pts, int count);
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    BOOL PolyBezier(const POINT* pts, int count) { return ::PolyBezier(m_hDC, pts, DWORD(count)); }
    BOOL PolyBezierTo(const POINT* pts, int count);
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) {
        return ::RoundRect(m_hDC, l, t, r, b, w, h);
    }
    BOOL RoundRect(LPCRECT r, POINT p) {
        return RoundRect(r->left, r->top, r->right, r->bottom, p.x, p.y);
    }
    BOOL Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
        return ::Arc(m_hDC, l, t, r, b, xs, ys, xe, ye);
    }
    BOOL Arc(LPCRECT r, POINT s, POINT e) {
        return Arc(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y);
    }
    void FillRect(LPCRECT rect, CBrush* brush) {
        ::FillRect(m_hDC, rect, brush ? brush->m_hObject : nullptr);
    }
    void FrameRect(LPCRECT rect, CBrush* brush) {
        ::FrameRect(m_hDC, rect, brush ? brush->m_hObject : nullptr);
    }
    void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
    void FillSolidRect(LPCRECT rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    BOOL FillRgn(CRgn* rgn, CBrush* brush) {
        return ::FillRgn(m_hDC, rgn ? rgn->m_hObject : nullptr, brush ? brush->m_hObject : nullptr);
    }
    void DrawFocusRect(LPCRECT rect);
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL TextOut(int x, int y, const wchar_t* text, int count) {
        return ::TextOutW(m_hDC, x, y, text, count);
    }
    BOOL TextOut(int x, int y, const wchar_t* text);
    CSize GetTextExtent(const wchar_t* text, int count) const;
    CSize GetTextExtent(const wchar_t* text) const;
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hAttribDC, tm); }
    BOOL BitBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, cx, cy, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL PatBlt(int x, int y, int cx, int cy, DWORD rop) {
        return ::PatBlt(m_hDC, x, y, cx, cy, rop);
    }

    // Paths.
    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }
    BOOL CloseFigure() { return ::CloseFigure(m_hDC); }
    BOOL StrokePath() { return ::StrokePath(m_hDC); }
    BOOL FillPath() { return ::FillPath(m_hDC); }
    BOOL StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
    BOOL FlattenPath() { return ::FlattenPath(m_hDC); }
    int GetPath(LPPOINT pts, BYTE* types, int count) const {
        return ::GetPath(m_hDC, pts, types, count);
    }
};
