// CJoxToolbar: the base of every toolbar: flat buttons as the parameter "Flat Toolbar
// Buttons" says, single buttons hidden, separators tidied, and re-layouts held back while its
// redraw is off.
#pragma once

#include "platform/framework/mfc_tool_bar.h"

class CJoxToolbar : public CMFCToolBar {
    DECLARE_SERIAL(CJoxToolbar)

public:
    CJoxToolbar() = default;
    ~CJoxToolbar() override = default;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT id = AFX_IDW_TOOLBAR) override;
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect borders = CRect(1, 1, 1, 1),
                  UINT id = AFX_IDW_TOOLBAR) override;

    // Redraw on lays out what changed while it was off.
    void SetRedraw(int redraw);
    // 1 when the button of that command changed visibility; 0 when there is none or it
    // already was as asked.
    int HideButton(UINT commandId, int hide);
    // No leading, doubled or trailing separators among the visible buttons; 1 when any
    // separator changed.
    int HideDuplicateSeparators();
    int IsLayoutPending() const { return m_bLayoutPending; }

protected:
    void Relayout();

    int m_bLayoutPending = 0;
};
