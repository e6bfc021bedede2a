// CWinAppEx: the application object of tabbed frames.
#pragma once

#include "platform/framework/win_app.h"

class CContextMenuManager;

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

    BOOL m_bResourceSmartUpdate;

private:
    CContextMenuManager* m_pContextMenuManager = nullptr; // owned
};
