#include "pivora/framework/jox_window_dc.h"

#include "platform/core/exceptions.h"
#include "platform/framework/wnd.h"

IMPLEMENT_DYNAMIC(CJoxWindowDC, CJoxDC)

CJoxWindowDC::CJoxWindowDC(const CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        AfxThrowResourceException();
    Attach(hdc);
}

CJoxWindowDC::~CJoxWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
