#include "outside/quintar/quintar.h"

#include "platform/graphics/dc.h"

IMPLEMENT_DYNCREATE(CQuintar, CView)

void CQuintar::OnDraw(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
}
