// CJoxView: the base of every document view. It scrolls with 32-bit positions of its own,
// keeps its zoom as window and viewport extents that it hands to a CJoxDC, surrounds the
// document with a margin of half a client area on every side, shows rulers along the left and
// top edges, frames the page, and carries the paint context and the deferred paint region of
// the interruptible redraw. Document units are micrometres with y up; device units are pixels
// with y down.
#pragma once

#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/geometry_types.h"
#include "platform/framework/view.h"

class CJoxPage;

class CJoxView : public CView {
    DECLARE_DYNAMIC(CJoxView)

public:
    // Commands and resources.
    static constexpr UINT ID_VIEW_SIZE_TO_FIT = 15518;
    static constexpr UINT IDC_GUIDE_VERTICAL = 14508;
    static constexpr UINT IDC_GUIDE_OTHER = 14509;
    // Device sizes beyond this would wrap the scroll arithmetic: such zooms are refused.
    static constexpr int64_t kMaxDeviceSize = 0x7FFFFFF;
    // Scroll bars count to at most this; larger device sizes are scaled down.
    static constexpr int kMaxBarRange = 0x8000;

    ~CJoxView() override;

    CJoxPage* GetDocument() const;

    // Extents and zoom.
    CPoint GetOriginOffset() const { return m_ptOriginOffset; }
    void SetOriginOffset(const CPoint& p);
    const CWindow& GetScrollExtents() const { return m_ScrollExtents; }
    void SetScrollExtents(const CWindow& w) { m_ScrollExtents = w; }
    void SetMinimumScrollExtents(const CWindow& w);
    CSize GetViewportExtent() const { return m_sizeViewport; }
    CSize GetWindowExtent() const { return m_sizeWindow; }
    CSize GetTotalDeviceSize() const { return m_totalDev; }
    int GetScrollBarScale() const { return m_nBarScale; }
    int IsCentred() const { return m_bCentred; }
    // The visible area in document units.
    CWindow ViewExtents();
    // Grows window by half of the device size (cx, cy) on every side.
    void ExpandExtents(CWindow& window, int cx, int cy);
    int SetSizeToFit();
    void OnSizeToFit() { SetSizeToFit(); }
    int SetZoomToFit(CWindow docRect, int redraw);
    static void SetRedrawAll(int on) { s_bRedrawAll = on; }
    static int GetRedrawAll() { return s_bRedrawAll; }

    // The paint context now painting this view (set by CJoxPaintDC), and the region still to
    // repaint after an interrupted paint (owned by the view once set).
    CJoxDC* PaintDC() const { return m_pPaintDC; }
    void PaintDC(CJoxDC* dc) { m_pPaintDC = dc; }
    // True while the view paints: mouse moves dispatched from inside a paint run the view's
    // handlers re-entrantly, and tools must not change the design then.
    bool InPaint() const { return m_pPaintDC != nullptr; }
    CRgn* DeferredPaintRegion() const { return m_pDeferredRgn; }
    void DeferredPaintRegion(CRgn* rgn);
    int UpdateDeferredPaintRegion(CRgn* rgn, int combineMode);

    // Mapping.
    virtual void OnPrepareDC(CJoxDC* dc, CPrintInfo* info = nullptr);
    // The client rectangle less the ruler bands.
    virtual void GetClientRect(RECT* rect);
    virtual void ClientToDoc(CWindow& w);
    virtual void ClientToDoc(CRect& r);
    virtual void ClientToDoc(CPoint& p);
    virtual void DocToClient(CWindow& w);
    // Also normalises: left < right and top < bottom.
    virtual void DocToClient(CRect& r);
    virtual void DocToClient(CPoint& p);

    // Scrolling; positions are device units of the whole margin-expanded document.
    void SetScrollSizes(SIZE total, const SIZE& page = sizeDefault, const SIZE& line = sizeDefault);
    void ScrollToPosition(POINT docPoint, int scroll = 1);
    void ScrollToDevicePosition(POINT devicePoint, int scroll = 1);
    CPoint GetDeviceScrollPosition() const;
    void GetDeviceScrollSizes(int& mapMode, SIZE& total, SIZE& page, SIZE& line) const;
    void GetScrollBarSizes(CSize& bars);
    int GetTrueClientSize(CSize& client, CSize& bars);
    // For a client of that size: the bars needed (always both), the scroll range and the
    // positions clamped to it.
    void GetScrollBarState(CSize client, CSize& needBars, CSize& range, CPoint& move,
                           BOOL insideClient);
    void UpdateBars();
    virtual int OnScroll(UINT code, UINT pos, int scroll = 1);
    virtual int OnScrollBy(CSize delta, int scroll = 1);
    void DoScrollWindow(int dx, int dy);
    void OnHScroll(UINT code, UINT pos);
    void OnVScroll(UINT code, UINT pos);
    void OnSize(UINT type, int cx, int cy) override;
    virtual void CalcWindowRect(RECT* rect, UINT adjustType);
    int GetScrollMax(int bar) const { return bar ? m_nVMax : m_nHMax; }

    // Drawing.
    virtual void OnDraw(CJoxDC* dc);
    void DrawExtents(CJoxDC* dc);
    void DrawGrid(CJoxDC* dc);
    void DrawGuides(CJoxDC* dc);
    void DrawGuidesPos(CJoxDC* dc);
    // Invalidates the document rectangle and 7 pixels around it.
    void InvalidateDocRect(const CWindow& w, int erase);

    // Rulers.
    int Ruler() const { return m_bRuler; }
    CSize GetRulerSize() const { return m_sizeRuler; }
    void SetRuler(int on, int redraw);
    void SetRelativeRulers(int on) { m_bRelativeRulers = on; }
    int RelativeRulers() const { return m_bRelativeRulers; }
    void ExcludeClipClient(CJoxDC* dc, ClientRegion region) const;
    void DrawRuler(CJoxDC* dc);
    void DrawRulerText(CJoxDC* dc);
    void DrawRulerPos(CJoxDC* dc, const CPoint& clientPoint);
    void DrawRulerPos(const CPoint& clientPoint);
    int RulerMarksShown() const { return m_bRulerMarks; }
    // The rulers' part of mouse moves and cursors, which derived views call from their own
    // handlers: 1 when the move is over a ruler band where guides can be grabbed (the marks
    // follow the mouse either way); 1 when a cursor was set.
    int OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

    // Background colour, kept in the application parameters.
    static int fnGetBackColourOn();
    static COLORREF fnGetBackColour();
    static void fnSetBackColourOn(int on);
    static void fnSetBackColour(COLORREF colour);
    static int fnChooseBackColour();
    static void fnPrepareRenderBackground(CJoxDC* dc);
    static void fnRenderBackground(CJoxDC* dc, int left, int top, int right, int bottom);

    virtual LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);

    // The framework's parts.
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnDraw(CDC* dc) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    using CView::OnPrepareDC;

    static const SIZE sizeDefault;

protected:
    CJoxView();

    CWindow m_ScrollExtents{0, 0, 640, 480};
    CPoint m_ptOriginOffset{0, 0};
    CSize m_sizeViewport{640, 480};
    CSize m_sizeWindow{640, 480};
    CSize m_totalDev{0, 0};
    CSize m_pageDev{0, 0};
    CSize m_lineDev{0, 0};
    int m_nBarScale = 1;
    int m_nVPos = 0;
    int m_nHPos = 0;
    int m_nVMax = 1;
    int m_nHMax = 1;
    int m_bCentred = 0;
    int m_bRuler = 0;
    CSize m_sizeRuler{0, 0};
    int m_bRulerMarks = 0;
    int m_bRelativeRulers = 0;
    CPoint m_ptRulerMark{0, 0};
    int m_bInsideUpdate = 0;
    CJoxDC* m_pPaintDC = nullptr;
    CRgn* m_pDeferredRgn = nullptr;

    static int s_bRedrawAll;
    static int m_bBackColourLoaded;
    static int m_bBackColourOn;
    static COLORREF m_BackColour;

private:
    // The mapping of the view's extents only (no origin), on dc.
    void PrepareExtents(CJoxDC& dc);
    void DrawMarks(CJoxDC& dc, const CPoint& p);
};
