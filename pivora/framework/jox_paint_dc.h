// The drawing context of one WM_PAINT: between BeginPaint and EndPaint, with the update region
// as it was before painting began and the part of it still to be erased.
#pragma once

#include "pivora/framework/jox_dc.h"
#include "platform/windowing/window.h"

class CJoxView;

class CJoxPaintDC : public CJoxDC {
    DECLARE_DYNAMIC(CJoxPaintDC)

public:
    // Throws CResourceException when painting cannot begin.
    explicit CJoxPaintDC(const CWnd* wnd);
    ~CJoxPaintDC() override;

    CRgn* GetClipRgn() { return &m_clipRgn; }
    // Takes a device rectangle out of the region still to erase.
    void ExcludeEraseRect(CRect& rect);
    // Fills what is still to erase, once: the context's background colour with draw option
    // 0x100, else the window colour. 0 when nothing was pending or no brush could be made.
    int EraseBackground();

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
    CJoxView* m_pView = nullptr; // the view this context paints, told when painting ends
    CRgn m_clipRgn;
    CRgn m_eraseRgn;
    bool m_erasePending = true;
};
