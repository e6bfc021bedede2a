// CViewToolbar: the design view's toolbar. Whenever its buttons are made from the resource,
// its Zoom In button becomes a button with the zoom menu as its drop-down.
#pragma once

#include "toolbars/custom_tool_bar.h"

#include <vector>

class CViewToolbar : public CCustomToolBar {
    DECLARE_DYNCREATE(CViewToolbar)

public:
    CViewToolbar() = default;
    // Destroys the drop-down menus it made.
    ~CViewToolbar() override;

    void OnReset() override;

private:
    // The menus the drop-downs show: the buttons share them, the toolbar owns them.
    std::vector<HMENU> m_menus;
};
