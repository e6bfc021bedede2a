// CChildFrame: the frame of each design window inside the main frame's tabs. When the active
// design window changes to one of another kind, its view is told to set up its toolbars (or,
// with none following, to take them down).
#pragma once

#include "pivora/framework/jox_child_wnd.h"

class CChildFrame : public CJoxChildWnd {
    DECLARE_DYNCREATE(CChildFrame)

public:
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void ActivateFrame(int cmdShow = -1) override;

private:
    void OnMDIActivate(HWND deactivated, HWND activated);
    void MarkTabForRefresh();

    int m_nActivating = 0;       // nesting of activations in progress
    bool m_bViewAwaited = false; // activated before its view was in place
    HWND m_hAwaitedFrom = nullptr;
};
