#include "platform/graphics/dc.h"

#include "platform/graphics/gdi_internal.h"

#include <cwchar>
#include <map>
#include <memory>

namespace {

std::map<HDC, std::unique_ptr<CDC>>& TempDCs() {
    static std::map<HDC, std::unique_ptr<CDC>> map;
    return map;
}

} // namespace

IMPLEMENT_DYNAMIC(CDC, CObject)

int GetDeviceCaps(HDC hdc, int index) {
    platform::Surface* s = platform::GetDCSurface(hdc);
    switch (index) {
    case HORZRES:
        return s ? s->Width() : 1920;
    case VERTRES:
        return s ? s->Height() : 1080;
    case HORZSIZE:
        return (s ? s->Width() : 1920) * 254 / 960;
    case VERTSIZE:
        return (s ? s->Height() : 1080) * 254 / 960;
    case BITSPIXEL:
        return s ? s->BitsPerPixel() : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        return 0;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    default:
        return 0;
    }
}

CDC::~CDC() {
    // A context made by CreateCompatibleDC is ours to delete; attached ones are detached first.
    if (m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC hdc) {
    if (!hdc)
        return FALSE;
    m_hDC = m_hAttribDC = hdc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc) {
    if (!hdc)
        return nullptr;
    auto& m = TempDCs();
    auto it = m.find(hdc);
    if (it != m.end())
        return it->second.get();
    auto dc = std::make_unique<CDC>();
    dc->m_hDC = dc->m_hAttribDC = hdc;
    CDC* raw = dc.get();
    m[hdc] = std::move(dc);
    return raw;
}

void CDC::DeleteTempMap() {
    for (auto& [h, dc] : TempDCs())
        dc->Detach();
    TempDCs().clear();
}

HGDIOBJ CDC::SelectObject(HGDIOBJ obj) {
    HGDIOBJ old = nullptr;
    if (m_hDC && m_hDC != m_hAttribDC)
        old = ::SelectObject(m_hDC, obj);
    if (m_hAttribDC)
        old = ::SelectObject(m_hAttribDC, obj);
    return old;
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ obj = GetStockObject(index);
    return obj ? CGdiObject::FromHandle(SelectObject(obj)) : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* obj) {
    if (!obj)
        return nullptr;
    return CGdiObject::FromHandle(SelectObject(obj->m_hObject));
}

CPen* CDC::SelectObject(CPen* pen) {
    return static_cast<CPen*>(CGdiObject::FromHandle(SelectObject(pen ? pen->m_hObject : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return static_cast<CBrush*>(
        CGdiObject::FromHandle(SelectObject(brush ? brush->m_hObject : nullptr)));
}

CFont* CDC::SelectObject(CFont* font) {
    return static_cast<CFont*>(
        CGdiObject::FromHandle(SelectObject(font ? font->m_hObject : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return static_cast<CBitmap*>(
        CGdiObject::FromHandle(SelectObject(bitmap ? bitmap->m_hObject : nullptr)));
}

int CDC::SelectObject(CRgn* rgn) {
    return ::SelectClipRgn(m_hDC, rgn ? rgn->m_hObject : nullptr);
}

CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(::GetCurrentObject(m_hDC, OBJ_PEN));
}
CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(::GetCurrentObject(m_hDC, OBJ_BRUSH));
}
CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(::GetCurrentObject(m_hDC, OBJ_FONT));
}

#define BOTH_DCS(Type, call)                                                                       \
    Type old = 0;                                                                                  \
    if (m_hDC && m_hDC != m_hAttribDC)                                                             \
        old = call(m_hDC);                                                                         \
    if (m_hAttribDC)                                                                               \
        old = call(m_hAttribDC);                                                                   \
    return old

int CDC::SetROP2(int rop) {
    BOTH_DCS(int, [&](HDC h) { return ::SetROP2(h, rop); });
}
int CDC::SetPolyFillMode(int mode) {
    BOTH_DCS(int, [&](HDC h) { return ::SetPolyFillMode(h, mode); });
}
int CDC::SetBkMode(int mode) {
    BOTH_DCS(int, [&](HDC h) { return ::SetBkMode(h, mode); });
}
COLORREF CDC::SetBkColor(COLORREF c) {
    BOTH_DCS(COLORREF, [&](HDC h) { return ::SetBkColor(h, c); });
}
COLORREF CDC::SetTextColor(COLORREF c) {
    BOTH_DCS(COLORREF, [&](HDC h) { return ::SetTextColor(h, c); });
}
UINT CDC::SetTextAlign(UINT a) {
    BOTH_DCS(UINT, [&](HDC h) { return ::SetTextAlign(h, a); });
}
int CDC::SetMapMode(int mode) {
    BOTH_DCS(int, [&](HDC h) { return ::SetMapMode(h, mode); });
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{0, 0};
    if (m_hDC && m_hDC != m_hAttribDC)
        ::SetViewportOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetViewportOrg() const {
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old{0, 0};
    if (m_hDC && m_hDC != m_hAttribDC)
        ::SetWindowOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetWindowOrg() const {
    POINT p{0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}

// Only the text map mode exists underneath, so extents have no effect there.
CSize CDC::SetViewportExt(int, int) {
    return CSize(1, 1);
}
CSize CDC::SetWindowExt(int, int) {
    return CSize(1, 1);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old{0, 0};
    if (m_hDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::LineTo(int x, int y) {
    // The attribute context follows so that its current position stays the one drawn to.
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::PolylineTo(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return count == 0;
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, pts[count - 1].x, pts[count - 1].y, nullptr);
    return ::PolylineTo(m_hDC, pts, DWORD(count));
}

CPoint CDC::GetCurrentPosition() const {
    POINT p{0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &p);
    return CPoint(p);
}

BOOL CDC::PolyBezierTo(const POINT* pts, int count) {
    BOOL ok = ::PolyBezierTo(m_hDC, pts, DWORD(count));
    if (ok && count > 0 && m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, pts[count - 1].x, pts[count - 1].y, nullptr);
    return ok;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
    HBRUSH b = ::CreateSolidBrush(colour);
    ::FillRect(m_hDC, rect, b);
    ::DeleteObject(b);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, colour);
}

void CDC::DrawFocusRect(LPCRECT rect) {
    // Dotted XOR frame: a second call takes it away again.
    if (!rect)
        return;
    HPEN pen = ::CreatePen(PS_ALTERNATE, 1, 0xC0C0C0);
    HGDIOBJ oldPen = ::SelectObject(m_hDC, pen);
    int oldRop = ::SetROP2(m_hDC, R2_XORPEN);
    int oldBk = ::SetBkMode(m_hDC, TRANSPARENT);
    POINT keep;
    ::MoveToEx(m_hDC, rect->left, rect->top, &keep);
    ::LineTo(m_hDC, rect->right, rect->top);
    ::LineTo(m_hDC, rect->right, rect->bottom);
    ::LineTo(m_hDC, rect->left, rect->bottom);
    ::LineTo(m_hDC, rect->left, rect->top);
    ::MoveToEx(m_hDC, keep.x, keep.y, nullptr);
    ::SetBkMode(m_hDC, oldBk);
    ::SetROP2(m_hDC, oldRop);
    ::SelectObject(m_hDC, oldPen);
    ::DeleteObject(pen);
}

BOOL CDC::TextOut(int x, int y, const wchar_t* text) {
    return ::TextOutW(m_hDC, x, y, text, text ? int(wcslen(text)) : 0);
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const {
    SIZE s{0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, text, count, &s);
    return CSize(s);
}

CSize CDC::GetTextExtent(const wchar_t* text) const {
    return GetTextExtent(text, text ? int(wcslen(text)) : 0);
}
