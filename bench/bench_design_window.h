// One design window for the design benchmarks: the application, the template of the design
// page, a frame and the view of a new design, 1280 x 800 pixels; and rows of straight paths.
// Included by one source of each benchmark program.
#pragma once

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/geometry/sb.h"
#include "platform/windowing/message.h"
#include "platform/windowing/resources.h"
#include "spline/spline_item.h"
#include "toolbars/jox_toolbar_frame_wnd.h"
#include "vector/vector_article.h"

#include "bench_support.h"

namespace bench {

constexpr UINT kDesignTemplateId = 28200;

struct DesignWindow {
    CJoxWinAppEx app;
    CJoxDocTemplate* tmpl = nullptr;
    CJoxToolbarFrameWnd* frame = nullptr;
    CDesignPage* page = nullptr;
    CDesignView* view = nullptr;

    explicit DesignWindow(const char* subject) {
        PrivateFolder(subject);
        platform::RegisterStrings({{kDesignTemplateId, L"\nDesign\nDesign\n\n\nDesign\nDesign"}});
        app.SetContextCount(100);
        app.InitContextMenuManager();
        tmpl = new CJoxDocTemplate(kDesignTemplateId, RUNTIME_CLASS(CDesignPage),
                                   RUNTIME_CLASS(CJoxChildWnd), RUNTIME_CLASS(CDesignView),
                                   CDesignView::kContext);
        app.AddDocTemplate(CDesignView::kContext, tmpl, 1);
        frame = new CJoxToolbarFrameWnd;
        frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      CRect(0, 0, 1400, 1000));
        AfxSetMainWnd(frame);
        page = dynamic_cast<CDesignPage*>(tmpl->OpenDocumentFile(nullptr));
        POSITION pos = page->GetFirstViewPosition();
        view = dynamic_cast<CDesignView*>(page->GetNextView(pos));
        view->GetParent()->MoveWindow(0, 0, 1320, 860);
        view->MoveWindow(0, 0, 1280, 800);
        Pump();
    }
    ~DesignWindow() {
        frame->DestroyWindow();
        AfxSetMainWnd(nullptr);
    }
    DesignWindow(const DesignWindow&) = delete;
    DesignWindow& operator=(const DesignWindow&) = delete;

    void Pump() {
        MSG msg;
        for (int i = 0; i < 100000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    CSelectTool* Tool() { return dynamic_cast<CSelectTool*>(page->GetDesignTool()); }
    void Fit() {
        page->Extents(CWindow(0, 0, 2000000, 1000000));
        view->ZoomFirst();
        Pump();
    }
    LRESULT Command(UINT id) {
        const LRESULT r = view->SendMessage(WM_COMMAND, id, 0);
        Pump();
        return r;
    }
    LRESULT Mouse(UINT msg, CPoint p, UINT flags) {
        POINT s = p;
        ::ClientToScreen(view->m_hWnd, &s);
        ::SetCursorPos(s.x, s.y);
        return view->SendMessage(msg, flags, MAKELPARAM(WORD(p.x), WORD(p.y)));
    }
    CPoint Client(LONG x, LONG y) {
        CPoint p(x, y);
        view->DocToClient(p);
        return p;
    }
};

// A closed rectangular path of straight spline elements.
inline CArticle* StraightPath(const CWindow& w) {
    auto* item = new CSplineItem;
    const CSb pts[] = {{0x200, {w.x1, w.y1}},
                       {0x200, {w.x2, w.y1}},
                       {0x200, {w.x2, w.y2}},
                       {0x200, {w.x1, w.y2}},
                       {0x200, {w.x1, w.y1}}};
    item->InsertElement(-1, const_cast<CSb*>(pts), 5);
    auto* a = new CVectorArticle;
    a->Item(item);
    return a;
}

// n paths of 6 x 3 mm in rows over 2 x 1 m.
inline void FillPaths(CDesignPage* page, int n) {
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    const int perRow = 250;
    for (int i = 0; i < n; ++i) {
        const LONG x = (i % perRow) * 8000, y = (i / perRow) * 4000 % 1000000;
        CArticle* a = StraightPath(CWindow(x, y, x + 6000, y + 3000));
        if (last)
            last->InsertRsibling(a);
        else
            root->AddChild(a);
        last = a;
    }
    root->InvExtents(1);
}

} // namespace bench
