// The sub tools' test host: the tools' host with what a zoom or a scroll is seen by.
#pragma once

#include "design/sub_tool.h"
#include "design/tests/tool_fixture.h"

class SubToolHost : public ToolHost {
protected:
    // The part of the design the document area shows, in data units (y up, normalised).
    CWindow Shown() {
        CRect client;
        view->GetClientRect(&client);
        CWindow w(client.left, client.bottom, client.right, client.top);
        view->ClientToDoc(w);
        return CWindow(std::min(w.x1, w.x2), std::min(w.y1, w.y2), std::max(w.x1, w.x2),
                       std::max(w.y1, w.y2));
    }
    static double Width(const CWindow& w) { return double(w.x2) - w.x1; }
    CPoint Middle() {
        CRect client;
        view->GetClientRect(&client);
        return client.CenterPoint();
    }
    CLpoint Data(CPoint client) {
        view->ClientToDoc(client);
        return CLpoint(client.x, client.y);
    }
    template <typename T> T* Sub() { return dynamic_cast<T*>(page->GetSubTool()); }
    void Press(CPoint p, UINT flags = 0) {
        SetKey(VK_LBUTTON, true);
        Mouse(WM_LBUTTONDOWN, p, flags | MK_LBUTTON);
    }
    void Release(CPoint p, UINT flags = 0) {
        SetKey(VK_LBUTTON, false);
        Mouse(WM_LBUTTONUP, p, flags);
    }
    void RightClick(CPoint p) {
        Mouse(WM_RBUTTONDOWN, p, MK_RBUTTON);
        Mouse(WM_RBUTTONUP, p, 0);
        Pump();
    }
};
