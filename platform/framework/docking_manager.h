// CDockingManager: where a frame's panes sit: on one of the four dock bars (one row each, in
// order from left to right or top to bottom) or floating in a mini-frame (CPaneFrameWnd) at a
// screen rectangle. Showing and hiding can hold the frame's layout back until RecalcLayout.
// The state can be saved to a settings section and loaded back. The display shows the rows
// through the frame's layout and each mini-frame as a window of its own.
#pragma once

#include "platform/core/crect.h"
#include "platform/framework/control_bar.h"

#include <vector>

// Dock bars of a frame.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 59419;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 59420;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 59421;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 59422;
constexpr UINT AFX_IDW_DOCKBAR_FLOAT = 59423;

// How a pane came to float.
constexpr int DM_UNKNOWN = 0;
constexpr int DM_MOUSE = 1;
constexpr int DM_DBL_CLICK = 2;
constexpr int DM_SHOW = 3;
constexpr int DM_RECT = 4;
constexpr int DM_STANDARD = 5;

class CDockingManager {
public:
    explicit CDockingManager(CFrameWnd* frame) : m_pFrame(frame) {}
    // Closes the mini-frames still open.
    ~CDockingManager();
    CDockingManager(const CDockingManager&) = delete;
    CDockingManager& operator=(const CDockingManager&) = delete;

    CFrameWnd* GetFrame() const { return m_pFrame; }
    void EnableDocking(CControlBar* pane, DWORD align);
    DWORD GetEnabledAlignment(const CControlBar* pane) const;

    // Docks at the end of the bar's row; FALSE for an id that names no dock bar.
    BOOL DockPane(CControlBar* pane, UINT dockBarId = AFX_IDW_DOCKBAR_TOP);
    // Docks just before neighbour on neighbour's bar; FALSE when neighbour is not docked.
    BOOL DockPaneLeftOf(CControlBar* pane, CControlBar* neighbour);
    // Floats the pane at rect (asking OnBeforeFloat first), shown or not.
    BOOL FloatPane(CControlBar* pane, const CRect& rect, int method = DM_SHOW, BOOL show = TRUE);
    // Shows or hides the pane; with delay the frame is laid out only at the next RecalcLayout.
    void ShowPane(CControlBar* pane, BOOL show, BOOL delay = FALSE);
    // The pane leaves its dock bar or mini-frame and the manager forgets it.
    void RemovePane(CControlBar* pane);

    BOOL IsDocked(const CControlBar* pane) const;
    BOOL IsFloating(const CControlBar* pane) const;
    // The dock bar of a docked pane, AFX_IDW_DOCKBAR_FLOAT for a floating one, 0 otherwise.
    UINT GetDockBarId(const CControlBar* pane) const;
    CRect GetFloatRect(const CControlBar* pane) const;
    // Docked panes of one bar, in order.
    std::vector<CControlBar*> GetDockedPanes(UINT dockBarId) const;
    std::vector<CControlBar*> GetFloatingPanes() const;
    // The mini-frame a floating pane sits in, or null.
    CWnd* GetMiniFrame(const CControlBar* pane) const;
    // Every pane the manager knows: docked bars top, left, right, bottom, then floating ones.
    std::vector<CControlBar*> GetPanes() const;

    // Where the pane was last docked, so that it can go back there; reset forgets it.
    UINT GetRecentDockBarId(const CControlBar* pane) const;
    void ResetRecentDockInfo(CControlBar* pane);

    BOOL IsLayoutPending() const { return m_bLayoutPending; }
    // Lays the frame out now.
    void RecalcLayout();

    // Stores which panes (by control id) sit where, under the section's key "DockState".
    BOOL SaveState(const wchar_t* section) const;
    // What is sound is applied; panes of unknown ids are skipped, damaged or off-screen
    // entries leave their pane hidden. FALSE when nothing readable was stored.
    BOOL LoadState(const wchar_t* section);

private:
    struct Entry {
        CControlBar* pane = nullptr;
        DWORD align = 0;
        UINT bar = 0; // dock bar, AFX_IDW_DOCKBAR_FLOAT or 0
        int order = 0;
        CRect floatRect;
        UINT recentBar = 0;
        HWND miniFrame = nullptr;
    };
    Entry* Find(const CControlBar* pane);
    const Entry* Find(const CControlBar* pane) const;
    Entry& Ensure(CControlBar* pane);
    void Renumber(UINT bar);
    void ApplyToFrame();
    // A floating pane into its mini-frame at its rectangle, shown as the pane is; any other
    // back into the frame, its mini-frame closed.
    void PlaceFloating(Entry& e);

    CFrameWnd* m_pFrame;
    std::vector<Entry> m_entries;
    int m_nextOrder = 0;
    BOOL m_bLayoutPending = FALSE;
};
