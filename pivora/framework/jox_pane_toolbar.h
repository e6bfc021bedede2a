// CJoxPaneToolbar: a toolbar created with its resource in one call, whose buttons follow the
// command updates of its owner window rather than of the frame.
#pragma once

#include "pivora/framework/jox_toolbar.h"

class CJoxPaneToolbar : public CJoxToolbar {
    DECLARE_SERIAL(CJoxPaneToolbar)

public:
    CJoxPaneToolbar() = default;
    ~CJoxPaneToolbar() override = default;

    using CJoxToolbar::Create;
    // 1 only when both the toolbar and its resource were made.
    virtual BOOL Create(CWnd* parent, DWORD style, UINT id, UINT toolbarResourceId);
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
};
