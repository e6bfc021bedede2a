// CJoxChildWnd: a design window. Its title carries "*" while its page is modified, and it
// ignores move and size requests that change nothing.
#pragma once

#include "platform/framework/mdi_child_wnd_ex.h"

class CJoxChildWnd : public CMDIChildWndEx {
    DECLARE_DYNCREATE(CJoxChildWnd)

public:
    CJoxChildWnd() = default;
    ~CJoxChildWnd() override = default;

    int ModifiedInTitle() const { return m_bModifiedInTitle; }
    HMENU GetSharedMenu() const { return m_hMenuShared; }

    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnWindowPosChanging(WINDOWPOS* pos);
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    int m_bModifiedInTitle = 0;
};
