#include "design/frame_tool.h"

#include "design/design_view.h"
#include "design/tools/tool_text.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/geometry/plane_geometry.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CFrameTool, CSubTool)

namespace {

bool Holds(CDesignView* view) {
    return view && CWnd::GetCapture() == view;
}

} // namespace

CFrameTool::CFrameTool(int toolId, int autoPanEnabled) : CSubTool(toolId, autoPanEnabled) {}

CRect CFrameTool::Extents() const {
    CSize size(m_ptLast.x - m_ptDown.x, m_ptLast.y - m_ptDown.y);
    if (m_FramedObjSize.cx != 0 || m_FramedObjSize.cy != 0)
        fnMakeSizeSimilar(size, m_FramedObjSize, true);
    CRect r(m_ptDown.x, m_ptDown.y, m_ptDown.x + size.cx, m_ptDown.y + size.cy);
    r.NormalizeRect();
    return r;
}

void CFrameTool::DrawFrame(CDesignView* view, CJoxDC* dc) {
    const CRect r = Extents();
    if (dc) {
        dc->DrawFocusRect(&r);
        return;
    }
    if (!view || !::IsWindow(view->GetSafeHwnd()))
        return;
    CJoxClientDC client(view, eClientDocument);
    view->OnPrepareDC(&client);
    client.DrawFocusRect(&r);
}

void CFrameTool::OnInit(CDesignView* view, int) {
    CSubTool::OnInit(view, 0);
    if (std::strcmp(GetRuntimeClass()->m_lpszClassName, "CFrameTool") == 0)
        QvSetStatusText(0, m_strPrompt);
}

void CFrameTool::OnExit(CDesignView* view, int reason) {
    CSubTool::OnExit(view, reason);
    if (reason && m_bFraming) {
        DrawFrame(view);
        m_bFraming = 0;
    }
}

void CFrameTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    if (m_bFraming && dc)
        DrawFrame(view, dc);
    CSubTool::OnDraw(view, dc);
}

void CFrameTool::OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (Holds(view))
        return;
    CSubTool::OnLButtonDown(view, flags, point);
    if (!m_bFraming) {
        m_bFraming = 1;
        DrawFrame(view);
        m_bHaveFrame = 0;
        DisplayPrompt(view);
    }
}

void CFrameTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    if (Holds(view) && m_bFraming) {
        DrawFrame(view);
        CSubTool::OnMouseMove(view, flags, point);
        DrawFrame(view);
    } else {
        CSubTool::OnMouseMove(view, flags, point);
    }
    DisplayPrompt(view);
}

void CFrameTool::OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (!Holds(view))
        return;
    if (m_bFraming) {
        DrawFrame(view);
        m_bFraming = 0;
        m_bHaveFrame = 1;
        DisplayPrompt(view);
    }
    CSubTool::OnLButtonUp(view, flags, point);
    if (m_bExitOnRelease)
        Exit(view);
}

void CFrameTool::OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (m_bFraming) {
        DrawFrame(view);
        m_bFraming = 0;
        DisplayPrompt(view);
    }
    CSubTool::OnLButtonUp(view, flags, point);
    Exit(view);
}

BOOL CFrameTool::OnSetCursor(CDesignView*, CWnd*, UINT, UINT) {
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_CROSS)));
    return TRUE;
}

void CFrameTool::DisplayPrompt(CDesignView* view) {
    if (!m_strPrompt.IsEmpty())
        QvSetStatusText(0, m_strPrompt);
    CString text(L" ");
    if (m_bFraming && view) {
        CRect r = Extents();
        view->ClientToDoc(r);
        // Data y runs up: the read-out gives sizes, never a negative height.
        r.NormalizeRect();
        text.Format(ToolText(IDS_FRAME_SIZE), (double(r.right) - r.left) / 1000,
                    (double(r.bottom) - r.top) / 1000);
        if (QvGetInchDisplayOn())
            QvConvertDisplayPrompt(text);
    }
    QvSetStatusText(1, text);
}

void CFrameTool::OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar* bar) {
    const bool moveFrame = m_bFraming && m_bDynamicDrawingAllowed && view;
    if (moveFrame)
        DrawFrame(view);
    // The anchor stays on the same place of the design.
    CPoint down = m_ptDown;
    if (view)
        view->ClientToDoc(down);
    CSubTool::OnScroll(view, vertical, code, pos, bar);
    if (view)
        view->DocToClient(down);
    m_ptDown = down;
    if (moveFrame)
        DrawFrame(view);
}
