#include "pivora/framework/jox_client_dc.h"

#include "pivora/framework/jox_view.h"
#include "platform/core/exceptions.h"
#include "platform/framework/wnd.h"

IMPLEMENT_DYNAMIC(CJoxClientDC, CJoxDC)

CJoxClientDC::CJoxClientDC(const CWnd* wnd, ClientRegion region)
    : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        AfxThrowResourceException();
    Attach(hdc);
    if (auto* view = dynamic_cast<const CJoxView*>(wnd))
        view->ExcludeClipClient(this, region);
}

CJoxClientDC::~CJoxClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
