// CView: a window that shows a document. The document lists its views and tells each of them
// about changes through UpdateAllViews; the frame around the view activates it and routes
// commands to it first, then to its document.
#pragma once

#include "platform/framework/print_info.h"
#include "platform/framework/wnd.h"

class CDocument;
class CFrameWnd;
struct CCreateContext;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)

public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // The frame the view lives in: the nearest frame among its parents.
    CFrameWnd* GetParentFrame() const;

    // Creates the window and binds it to the context's document.
    BOOL Create(LPCWSTR className, LPCWSTR name, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context);
    using CWnd::Create;

    // The first update after the document is opened: OnUpdate(null, 0, null).
    virtual void OnInitialUpdate();
    // The document changed; the default repaints the whole view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    // Called when the view gains (activate) or loses activation within its frame.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    virtual void OnActivateFrame(UINT, CFrameWnd*) {}
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnDraw(CDC*) {}

    // Commands go to the view, then to its document.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnPaint() override;
    // Views are made on the heap by their frame and free themselves with their window.
    void PostNcDestroy() override { delete this; }

protected:
    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};
