// CWinAppEx: the application object of tabbed frames.
#pragma once

#include "platform/framework/win_app.h"

class CWinAppEx : public CWinApp {
    DECLARE_DYNAMIC(CWinAppEx)

public:
    // Smart update keeps toolbars as their resources define them after a resource change.
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE, LPCWSTR appName = nullptr)
        : CWinApp(appName), m_bResourceSmartUpdate(resourceSmartUpdate) {}

    BOOL m_bResourceSmartUpdate;
};
