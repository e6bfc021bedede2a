// CPaneFrameWnd: the small captioned window a floating pane sits in. The docking manager makes
// one when a pane floats and closes it when the pane docks again; the pane's owner stays the
// frame, so its commands still reach the frame. Closing the window hides the pane. The object
// deletes itself with its window.
#pragma once

#include "platform/framework/wnd.h"

class CControlBar;
class CFrameWnd;

class CPaneFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CPaneFrameWnd)

public:
    static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

    // Makes the hidden window with its top-left corner at topLeft on the screen, owned by
    // frame, and puts pane in it at its floating size.
    BOOL Create(CFrameWnd* frame, CControlBar* pane, CPoint topLeft);
    // Moves the window and fits it to the pane's floating size.
    void Place(CPoint topLeft);
    // Gives the pane back to frame (when both still exist) and closes the window.
    void ReleasePane(CFrameWnd* frame);
    HWND GetPaneWnd() const { return m_hPane; }
    // Sends the idle command update to the panes floating for owner: they are no children of
    // the main window, which the update reaches otherwise.
    static void UpdateFloatingPanes(CWnd* owner, BOOL disableIfNoHandler);

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    void PostNcDestroy() override;

    HWND m_hPane = nullptr;
    HWND m_hSelf = nullptr; // kept for the list of open ones: the handle is gone at the end
};
