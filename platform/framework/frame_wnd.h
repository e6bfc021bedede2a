// CFrameWnd: a frame around a view (or the MDI client), with control bars along its edges,
// a menu, an accelerator table and a title built from its document. Commands that reach the
// frame go to the active view first (and its document), then to the frame, then to the
// application. The display realises the frame and listens for platform::NotifyUi.
#pragma once

#include "platform/framework/frame_messages.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/accelerator.h"
#include "platform/windowing/drop_files.h"

#include <vector>

class CControlBar;
class CDocument;
class CView;
struct CCreateContext;

constexpr UINT WM_INITMENUPOPUP = 0x0117;

class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)

public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Creates the frame with the menu, accelerators and title (string resource resourceId,
    // up to its first "\n") of the resource id, and its client from the context.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL Create(LPCWSTR className, LPCWSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = CRect(0, 0, 640, 480), CWnd* parent = nullptr,
                LPCWSTR menuName = nullptr, DWORD exStyle = 0, CCreateContext* context = nullptr);

    // Views and documents.
    CView* GetActiveView() const { return m_pViewActive; }
    // Makes view the active one and tells both views (OnActivateView) when notify.
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual CDocument* GetActiveDocument();
    // Makes the view the context asks for, as the pane child (AFX_IDW_PANE_FIRST).
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // Makes the first view active and sends it WM_INITIALUPDATE; shows the frame.
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void ActivateFrame(int cmdShow = -1);

    // Title.
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(LPCWSTR docName);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCWSTR title) { m_strTitle = title ? title : L""; }

    // Control bars and layout: top bars stack downwards, bottom bars upwards, the pane takes
    // the rest.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id) const;
    const std::vector<CControlBar*>& GetControlBars() const { return m_bars; }
    virtual void RecalcLayout(BOOL notify = TRUE);
    // The text of the status bar's first pane; the idle prompt for null.
    virtual void SetMessageText(LPCWSTR text);
    void SetMessageText(UINT id);
    CWnd* GetMessageBar();

    // Menus and accelerators.
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    // The active document's table when it has one, else the frame's own.
    virtual HACCEL GetDefaultAccelerator();
    // Runs the command updates over the items of a popup menu about to be shown.
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    // Opens each dropped file through the application, as if chosen in the open dialog.
    virtual void OnDropFiles(HDROP drop);
    void OnDestroy() override;
    // Frames are made on the heap and free themselves with their window.
    void PostNcDestroy() override { delete this; }
    // The frame's part of the idle update (its title).
    virtual void OnIdleUpdateCmdUI();
    virtual BOOL OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context);

protected:
    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    std::vector<CControlBar*> m_bars;
    CCreateContext* m_pCreateContext = nullptr;
    bool m_bTitleStale = true;
    friend class CView;
};
