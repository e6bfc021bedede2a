// CStatusBar: the bar along the bottom of the main frame, a row of panes each showing a text.
// Pane 0 is the message pane (the frame's SetMessageText and the window text go there); the
// others follow their command's update. The display draws the panes from this model.
#pragma once

#include "platform/framework/control_bar.h"
#include "platform/framework/frame_messages.h"

#include <vector>

constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_OVR = 0xE704;

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)

public:
    static constexpr int kHeight = 20;

    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id; a pane's first text is the string of its id (none for ID_SEPARATOR).
    BOOL SetIndicators(const UINT* ids, int count);

    int GetCount() const { return int(m_panes.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    // FALSE for an index outside the panes.
    BOOL SetPaneText(int index, LPCWSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    struct Pane {
        UINT id = 0;
        UINT style = SBPS_NORMAL;
        int width = 0; // pixels; the message pane stretches
        CString text;
    };
    std::vector<Pane> m_panes;
};
