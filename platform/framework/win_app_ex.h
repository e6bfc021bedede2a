// CWinAppEx: the application object of tabbed frames.
#pragma once

#include "platform/framework/win_app.h"

class CContextMenuManager;
class CTooltipManager;

class CWinAppEx : public CWinApp {
    DECLARE_DYNAMIC(CWinAppEx)

public:
    // Smart update keeps toolbars as their resources define them after a resource change.
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE, LPCWSTR appName = nullptr)
        : CWinApp(appName), m_bResourceSmartUpdate(resourceSmartUpdate) {}
    ~CWinAppEx() override;

    // The right-click menu manager: made once by InitContextMenuManager, null before.
    BOOL InitContextMenuManager();
    CContextMenuManager* GetContextMenuManager() const { return m_pContextMenuManager; }
    // The tooltips' looks: made once by InitTooltipManager, null before.
    BOOL InitTooltipManager();
    CTooltipManager* GetTooltipManager() const { return m_pTooltipManager; }

    BOOL m_bResourceSmartUpdate;

private:
    CContextMenuManager* m_pContextMenuManager = nullptr; // owned
    CTooltipManager* m_pTooltipManager = nullptr;         // owned
};
