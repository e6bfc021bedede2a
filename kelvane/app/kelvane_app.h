// The application object of the first start: the design template, the main frame and one
// design window.
#pragma once

#include "platform/framework/win_app.h"

class CMainFrame;
class CMultiDocTemplate;

class CKelvaneApp : public CWinApp {
public:
    // The resource id of the design template's strings.
    static constexpr UINT IDR_DESIGN = 128;
    // The main frame's menu.
    static constexpr UINT IDR_MAINFRAME = 129;
    // Puts the active design window into a tab group of its own.
    static constexpr UINT ID_WINDOW_NEW_GROUP = 0xE130;

    CKelvaneApp();
    BOOL InitInstance() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    CMainFrame* MainFrame() const;
    CMultiDocTemplate* DesignTemplate() const { return m_pDesign; }

private:
    CMultiDocTemplate* m_pDesign = nullptr;
};
