#include "design/item_echo.h"

#include "design/design_view.h"
#include "pivora/framework/jox_echo_dc.h"
#include "pivora/framework/jox_paint_dc.h"

IMPLEMENT_DYNAMIC(CItemEcho, CObject)

CItemEcho::~CItemEcho() {
    m_Articles.RemoveAll();
}

void CItemEcho::Draw(CDesignView* view, CJoxDC* dc) {
    DrawOn(view, dc);
}

void CItemEcho::DrawOn(CJoxView* view, CJoxDC* dc) {
    if (m_nEchoPercent < 1 || !view || !::IsWindow(view->GetSafeHwnd()))
        return;
    CJoxEchoDC echo(view);
    view->OnPrepareDC(&echo);
    if (auto* paint = dynamic_cast<CJoxPaintDC*>(dc))
        echo.SelectObject(paint->GetClipRgn());
    CMat2d m = m_Transform;
    echo.XForm(m);
    echo.SetEchoPercent(m_nEchoPercent);
    POSITION pos = m_Articles.GetHeadPosition();
    while (pos) {
        CArticle* a = m_Articles.GetNext(pos);
        if (a && a->GetItem())
            a->GetItem()->OnDraw(view, &echo);
    }
}
