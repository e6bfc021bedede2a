#include "kelvane/app/kelvane_app.h"

#include "kelvane/app/main_frame.h"
#include "kelvane/app/sample_child.h"
#include "kelvane/app/sample_view.h"
#include "pivora/jox_page.h"
#include "platform/framework/multi_doc_template.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/menu.h"

CKelvaneApp::CKelvaneApp() : CWinApp(L"Kelvane") {}

BOOL CKelvaneApp::InitInstance() {
    platform::RegisterStrings({{IDR_DESIGN, L"\nDesign\nDesign"}});
    m_pDesign = new CMultiDocTemplate(IDR_DESIGN, RUNTIME_CLASS(CJoxPage),
                                      RUNTIME_CLASS(CSampleChild), RUNTIME_CLASS(CSampleView));
    AddDocTemplate(m_pDesign);
    auto* frame = new CMainFrame;
    if (!frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                       CRect(40, 40, 40 + 1024, 40 + 720))) {
        delete frame;
        return FALSE;
    }
    platform::RegisterMenuTemplate(
        {IDR_MAINFRAME,
         {{MF_POPUP, 0, L"&File", {{MF_STRING, ID_FILE_NEW, L"&New\tCtrl+N", {}}}},
          {MF_POPUP, 0, L"&Window", {{MF_STRING, ID_WINDOW_NEW_GROUP, L"New &Tab Group", {}}}}}});
    ::SetMenu(frame->m_hWnd, LoadMenuW(nullptr, IDR_MAINFRAME));
    m_pMainWnd = frame;
    AfxSetMainWnd(frame);
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    OnFileNew();
    return TRUE;
}

BOOL CKelvaneApp::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (id == ID_WINDOW_NEW_GROUP && code == CN_COMMAND) {
        if (!IsQuery(handlerInfo) && MainFrame())
            MainFrame()->MDITabNewGroup();
        return TRUE;
    }
    return CWinApp::OnCmdMsg(id, code, extra, handlerInfo);
}

CMainFrame* CKelvaneApp::MainFrame() const {
    return static_cast<CMainFrame*>(m_pMainWnd);
}
