// CMDIChildWndEx: a design window inside the main frame's tabs: a frame around one view of a
// document, titled after the document.
#pragma once

#include "platform/framework/frame_wnd.h"

class CMDIFrameWndEx;

class CMDIChildWndEx : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIChildWndEx)

public:
    CMDIChildWndEx() = default;
    ~CMDIChildWndEx() override;

    // Creates the child in the client area of parent's MDI frame (the main window for null).
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    CMDIFrameWndEx* GetMDIFrame() const { return m_pMDIFrame; }
    void MDIActivate();
    void MDIDestroy() { DestroyWindow(); }
    HMENU m_hMenuShared = nullptr;

    void ActivateFrame(int cmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnClose() override;

protected:
    void FreeSharedMenu();
    CMDIFrameWndEx* m_pMDIFrame = nullptr;
    friend class CMDIFrameWndEx;
};
