// A drawing context on the whole of a window (the view's scrolling uses it).
#pragma once

#include "pivora/framework/jox_dc.h"
#include "platform/windowing/window.h"

class CJoxWindowDC : public CJoxDC {
    DECLARE_DYNAMIC(CJoxWindowDC)

public:
    // Throws CResourceException when no context can be had.
    explicit CJoxWindowDC(const CWnd* wnd);
    ~CJoxWindowDC() override;

protected:
    HWND m_hWnd;
};
