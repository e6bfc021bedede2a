#include "pivora/framework/jox_client_dc.h"

#include "platform/core/exceptions.h"
#include "platform/framework/wnd.h"

IMPLEMENT_DYNAMIC(CJoxClientDC, CJoxDC)

CJoxClientDC::CJoxClientDC(const CWnd* wnd, ClientRegion region)
    : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        AfxThrowResourceException();
    Attach(hdc);
    if (wnd && CJoxViewHooks::ExcludeClipClient)
        CJoxViewHooks::ExcludeClipClient(wnd, this, region);
}

CJoxClientDC::~CJoxClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
