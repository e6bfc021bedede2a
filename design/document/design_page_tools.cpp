// The page's tools: one current design tool, at most one sub tool over it, and the pending ones
// that command 43083 installs.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/sub_tool.h"

CDesignTool* CDesignPage::GetDesignTool() {
    // A page starts with a plain tool that does only what the base does.
    if (!m_pDesignTool) {
        m_pDesignTool = new CDesignTool(0);
        m_pDesignTool->SetDocument(this);
    }
    return m_pDesignTool;
}

CDesignTool* CDesignPage::SelectDesignTool(CDesignTool* tool, CDesignView* view, int now) {
    if (tool)
        tool->SetDocument(this);
    delete m_pPendingSubTool;
    m_pPendingSubTool = nullptr;
    delete m_pPendingDesignTool;
    m_pPendingDesignTool = tool;
    if (view && ::IsWindow(view->m_hWnd)) {
        if (now)
            view->SendMessage(WM_COMMAND, CDesignView::ID_TOOL_CHANGE);
        else
            view->PostMessage(WM_COMMAND, CDesignView::ID_TOOL_CHANGE);
    }
    return GetDesignTool();
}

CSubTool* CDesignPage::SelectSubTool(CSubTool* tool, CDesignView* view, int now) {
    if (tool)
        tool->SetDocument(this);
    delete m_pPendingSubTool;
    m_pPendingSubTool = tool;
    if (view && ::IsWindow(view->m_hWnd)) {
        if (now)
            view->SendMessage(WM_COMMAND, CDesignView::ID_TOOL_CHANGE);
        else
            view->PostMessage(WM_COMMAND, CDesignView::ID_TOOL_CHANGE);
    }
    return m_pSubTool;
}

void CDesignPage::OnSelectTool(CDesignView* view) {
    if (m_pPendingDesignTool) {
        if (m_pSubTool) {
            CSubTool* sub = m_pSubTool;
            m_pSubTool = nullptr;
            sub->OnExit(view, 1);
            m_RetiredTools.push_back(sub);
        }
        if (CDesignTool* old = m_pDesignTool) {
            old->OnExit(view, 1);
            m_RetiredTools.push_back(old);
        }
        m_pDesignTool = m_pPendingDesignTool;
        m_pPendingDesignTool = nullptr;
        m_pDesignTool->OnInit(view, 1);
    }
    if (m_pPendingSubTool) {
        if (CSubTool* old = m_pSubTool) {
            m_pSubTool = nullptr;
            old->OnExit(view, 1);
            m_RetiredTools.push_back(old);
        }
        m_pSubTool = m_pPendingSubTool;
        m_pPendingSubTool = nullptr;
        m_pSubTool->OnInit(view, 1);
    }
}

void CDesignPage::OnSubToolExit(CDesignView* view) {
    CSubTool* sub = m_pSubTool;
    if (!sub)
        return;
    GetDesignTool()->OnSubToolExit(view, sub);
    m_pSubTool = nullptr;
    sub->OnExit(view, 1);
    m_RetiredTools.push_back(sub);
}

void CDesignPage::OnDrawTool(CDesignView* view, CJoxDC* dc) {
    CDesignTool* tool = GetDesignTool();
    tool->OnDraw(view, dc);
    if (m_pSubTool)
        m_pSubTool->OnDraw(view, dc);
    SyncSelection();
    for (POSITION pos = GetFirstSelection(nullptr); pos;) {
        CArticle* a = GetNextSelection(pos, nullptr);
        tool->OnDraw(view, dc, a, 0);
        if (m_pSubTool)
            m_pSubTool->OnDraw(view, dc, a, 0);
    }
}

void CDesignPage::DeleteDesignTool() {
    delete m_pPendingSubTool;
    m_pPendingSubTool = nullptr;
    delete m_pSubTool;
    m_pSubTool = nullptr;
    delete m_pPendingDesignTool;
    m_pPendingDesignTool = nullptr;
    delete m_pDesignTool;
    m_pDesignTool = nullptr;
    DeleteRetiredTools();
}

void CDesignPage::DeleteRetiredTools() {
    std::vector<CDesignTool*> retired;
    retired.swap(m_RetiredTools);
    for (CDesignTool* t : retired)
        delete t;
}
