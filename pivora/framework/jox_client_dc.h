// A drawing context on a window's client area (its back buffer), optionally limited to the
// rulers or the document area of a view.
#pragma once

#include "pivora/framework/jox_dc.h"
#include "platform/windowing/window.h"

class CJoxClientDC : public CJoxDC {
    DECLARE_DYNAMIC(CJoxClientDC)

public:
    // A null window gives the screen. Throws CResourceException when no context can be had.
    CJoxClientDC(const CWnd* wnd, ClientRegion region = eClientAll);
    ~CJoxClientDC() override;

protected:
    HWND m_hWnd;
};
