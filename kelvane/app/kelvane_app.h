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

    CKelvaneApp();
    BOOL InitInstance() override;
    CMainFrame* MainFrame() const;
    CMultiDocTemplate* DesignTemplate() const { return m_pDesign; }

private:
    CMultiDocTemplate* m_pDesign = nullptr;
};
