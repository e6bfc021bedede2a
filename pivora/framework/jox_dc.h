// The drawing context of every view, item and the cutter output: a device context with a
// mapping of its own from data units to device units, done with MulDiv in integers so that
// 32-bit document coordinates never pass through the device's own mapping.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/graphics/dc.h"

class CArc;
class CArticle;
class CWnd;

// Which part of a view's client area a client context may draw on.
enum ClientRegion {
    eClientAll = 0,      // the whole client area
    eClientRulers = 1,   // only the ruler bands
    eClientDocument = 2, // the document area without the ruler bands
};

class CJoxDC;

class CJoxDC : public CDC {
    DECLARE_DYNAMIC(CJoxDC)

public:
    // Draw mode bit: pass the path operations to the device.
    static constexpr int DRAW_PATHS = 1;
    // Draw option bit: paint the background with the context's background colour.
    static constexpr int OPTION_BACKGROUND = 0x100;

    CJoxDC();
    ~CJoxDC() override;

    static COLORREF DefaultBackColour() { return 0x7D7D7D; }
    static COLORREF XorPenColour() { return 0xC0C0C0; }

    // Overrides of the device context.
    CGdiObject* SelectStockObject(int index) override;
    CFont* SelectObject(CFont* font) override;
    // The own map mode: 0 none (every conversion is the identity), 1 own mapping on.
    int SetMapMode(int mode) override;
    // The setters return the new value; the viewport extent after the aspect adjustment.
    CPoint SetViewportOrg(int x, int y) override;
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CSize SetViewportExt(int cx, int cy) override;
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CSize SetWindowExt(int cx, int cy) override;
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CPoint GetViewportOrg() const { return m_viewportOrg; }
    CSize GetViewportExt() const { return m_viewportExt; }
    CSize GetWindowExt() const { return m_windowExt; }
    int GetMapMode() const { return m_mapMode; }

    // Added operations, in their slot order.
    virtual int GetDrawCount() { return 1; }
    virtual BOOL AbortPath();
    virtual BOOL BeginPath();
    virtual BOOL EndPath();
    virtual BOOL FillPath();
    virtual BOOL StrokeAndFillPath();
    virtual BOOL StrokePath();
    virtual BOOL IsCurrentPosition(POINT p) { return IsCurrentPosition(p.x, p.y); }
    virtual BOOL IsCurrentPosition(int x, int y);
    virtual CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    virtual CPoint MoveTo(int x, int y);
    virtual int LineTo(POINT p) { return LineTo(p.x, p.y); }
    virtual int LineTo(int x, int y);
    virtual int ArcTo(CArc& arc);
    virtual BOOL Polyline(POINT* pts, int count);
    // Lines from the current position through each point in turn: the lines LineTo draws one
    // point at a time, handed to the device in runs unless a derived context draws its own.
    void PolylineTo(const POINT* pts, int count);
    virtual BOOL PolyBezier(const POINT* pts, int count);
    virtual BOOL PolyBezierTo(const POINT* pts, int count);
    virtual CGdiObject* SelectObject(CGdiObject* obj);
    virtual CBitmap* SelectObject(CBitmap* bitmap);
    virtual int SelectObject(CRgn* rgn);
    virtual CBrush* SelectObject(CBrush* brush);
    virtual CPen* SelectObject(CPen* pen);
    virtual void SetOrientation(CLpoint& from, CLpoint& to);
    virtual void fnSetClip(int clip) { m_clip = clip; }
    virtual int fnGetClip() { return m_clip; }

    // Conversions, in place; the identity while the own map mode is 0.
    void LPtoDP(POINT* pts, int count) const;
    void LPtoDP(CPoint& p) const { LPtoDP(&p, 1); }
    void LPtoDP(int& x, int& y) const;
    void LPtoDP(RECT* rect) const { LPtoDP(reinterpret_cast<POINT*>(rect), 2); }
    void LPtoDP(SIZE* size) const;
    void DPtoLP(POINT* pts, int count) const;
    void DPtoLP(CPoint& p) const { DPtoLP(&p, 1); }
    void DPtoLP(RECT* rect) const { DPtoLP(reinterpret_cast<POINT*>(rect), 2); }
    void DPtoLP(SIZE* size) const;
    // Sets the mapping so that the document window fills the device rectangle, centred.
    void ZoomExtents(CRect& deviceRect, CWindow& docWindow);

    // Drawing state read by the document model while it draws.
    void SetDrawMode(int mode) { m_drawMode = mode; }
    int GetDrawMode() const { return m_drawMode; }
    void SetDrawOptions(int options) { m_drawOptions = options; }
    int GetDrawOptions() const { return m_drawOptions; }
    void SetDrawOption(int on, int mask) {
        m_drawOptions = on ? (m_drawOptions | mask) : (m_drawOptions & ~mask);
    }
    int GetDrawOption(int mask) const { return m_drawOptions & mask; }
    void SetCurrentStatus(int status) { m_currentStatus = status; }
    int GetCurrentStatus() const { return m_currentStatus; }
    int IncLevelCount() { return ++m_levelCount; }
    int DecLevelCount() { return --m_levelCount; }
    int GetLevelCount() const { return m_levelCount; }
    // The article whose item is being drawn, null otherwise.
    void SetCurrentArticle(CArticle* article) { m_currentArticle = article; }
    CArticle* GetCurrentArticle() const { return m_currentArticle; }
    void fnSetBackColour(COLORREF colour) { m_backColour = colour; }

    // Drawing through the own mapping.
    BOOL Ellipse(int l, int t, int r, int b);
    BOOL Ellipse(const RECT* rect) {
        return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
    }
    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(const RECT* rect) {
        return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
    }
    // The corner ellipse's size is passed unmapped.
    BOOL RoundRect(int l, int t, int r, int b, int w, int h);
    BOOL RoundRect(const RECT* rect, POINT corner) {
        return RoundRect(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y);
    }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Arc(const RECT* rect, POINT start, POINT end);
    void FillRect(const RECT* rect, CBrush* brush);
    void FrameRect(const RECT* rect, CBrush* brush);
    void InvertRect(const RECT* rect);
    // A dotted XOR rectangle in device coordinates; drawing it twice restores the screen.
    void DrawFocusRect(const RECT* rect);
    // A 24-bit DIB section on the output context; null on failure.
    HBITMAP CreateBitmapHandle(int width, int height);

protected:
    int m_drawMode = 0;
    int m_drawOptions = 0;
    int m_currentStatus = 0;
    int m_levelCount = 0;
    CArticle* m_currentArticle = nullptr;
    int m_mapMode = 0;
    CPoint m_viewportOrg{0, 0};
    CSize m_viewportExt{640, 480};
    CSize m_windowExt{640, 480};
    int m_clip = 0;
    COLORREF m_backColour = DefaultBackColour();

private:
    void MapPoint(LONG& x, LONG& y) const;
    // LineTo after the mapping, in device units.
    int DeviceLineTo(int x, int y);
    // Whether LineTo is this class's own, so that runs of lines may bypass it.
    bool PlainLineTo() const;
};
