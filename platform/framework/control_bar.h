// CControlBar: a bar docked along an edge of its frame (toolbars, the status bar). The frame
// lays its bars out and, at idle, asks each to update the state of its commands.
#pragma once

#include "platform/framework/wnd.h"

class CFrameWnd;

// Bar styles.
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0040;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0200;
constexpr DWORD CBRS_BORDER_TOP = 0x0800;
constexpr DWORD CBRS_ALIGN_TOP = 0x1000;
constexpr DWORD CBRS_ALIGN_LEFT = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_GRIPPER = 0x00400000;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    CControlBar() = default;
    ~CControlBar() override;

    // Updates the bar's commands with target as the first command target.
    virtual void OnUpdateCmdUI(CFrameWnd*, BOOL) {}
    // The size the bar takes along its edge of the frame.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    // The client size of the bar's window while it floats.
    virtual CSize CalcFloatingSize();
    // Asked before the docking manager floats the bar at rect (which the bar may change);
    // FALSE keeps it where it is.
    virtual BOOL OnBeforeFloat(CRect& /*rect*/, int /*method*/) { return TRUE; }

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    // Docked on the left or right edge the bar stands upright; anywhere else it lies.
    BOOL IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0; }
    // The frame that lays the bar out (its parent frame), null before creation.
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    // Where the bar's commands go: the owner set, else the docking frame.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_pOwner = owner; }

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    // Creates the bar's window as a child of parent and registers it with parent's frame.
    BOOL CreateBar(LPCWSTR name, DWORD style, CWnd* parent, UINT id);

    DWORD m_dwStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CWnd* m_pOwner = nullptr;
    int m_nHeight = 24;
    friend class CFrameWnd;
};
