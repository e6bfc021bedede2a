// The rotate and shear tool: the rotation centre, the drag transforms of its handles, its
// handle look, cursors and read-outs, typed and precise rotations.
#include "design/rotate_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/document/rotate_dlg.h"
#include "design/item_echo.h"
#include "design/tools/tool_text.h"
#include "pivora/framework/jox_dc.h"
#include "platform/framework/status_bar.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"

#include <cmath>

IMPLEMENT_DYNCREATE(CRotateTool, CSelectTool)

namespace {

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kRadiansPerDegree = 0.017453292;
// Half the side of the rounded handle squares and the reach of the centre cross, in pixels.
constexpr int kSquareLow = 4, kSquareHigh = 5, kRounding = 4;

const bool kRegistered = [] {
    platform::RegisterStrings({
        {CRotateTool::IDS_ROTATE_SHEAR, L"Rotate/Shear\nRotate/Shear"},
        {CRotateTool::IDS_SHEAR_PROMPT, L"Shear: %.2f°"},
        {CRotateTool::IDS_ROTATION_PROMPT, L"Rotation: %.2f°"},
        {CRotateTool::IDS_SELECT_FIRST,
         L"You must select an object before trying to use the rotate facility."},
    });
    for (UINT id = CRotateTool::IDC_ROTATE_BOTTOM_LEFT; id <= CRotateTool::IDC_SHEAR_HORIZONTAL;
         ++id)
        platform::RegisterCursor(id);
    return true;
}();

bool Holds(CDesignView* view) {
    return view && CWnd::GetCapture() == view;
}

CMat2d Translation(double x, double y) {
    return CMat2d(CDpoint(x, y));
}

void RepaintStatus() {
    if (CStatusBar* bar = CDesignTool::GetStatusBar())
        bar->UpdateWindow();
}

} // namespace

CRotateTool::CRotateTool() {
    (void)kRegistered;
}

void CRotateTool::RecalcExtents(CDesignView* view) {
    const CWindow before = m_Extents;
    CSelectTool::RecalcExtents(view);
    // The centre stays where the operator put it until the extents change.
    if (!(m_Extents == before))
        m_ptCentre = m_Extents.fnCentre();
}

CPoint CRotateTool::GetHandleCentre(CDesignView* view, HandleType handle) {
    if (handle == eHandleCentre)
        return CPoint(m_ptCentre.x, m_ptCentre.y);
    return CSelectTool::GetHandleCentre(view, handle);
}

void CRotateTool::SetHandleCursor(HandleType handle, int flag) {
    if (flag) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_CROSS)));
        return;
    }
    UINT id = 0;
    switch (handle) {
    case eHandleCentre:
        id = IDC_ROTATE_CENTRE;
        break;
    case eHandleLeft:
    case eHandleRight:
        id = IDC_SHEAR_VERTICAL;
        break;
    case eHandleTop:
    case eHandleBottom:
        id = IDC_SHEAR_HORIZONTAL;
        break;
    case eHandleTopLeft:
        id = IDC_ROTATE_TOP_LEFT;
        break;
    case eHandleTopRight:
        id = IDC_ROTATE_TOP_RIGHT;
        break;
    case eHandleBottomLeft:
        id = IDC_ROTATE_BOTTOM_LEFT;
        break;
    case eHandleBottomRight:
        id = IDC_ROTATE_BOTTOM_RIGHT;
        break;
    default:
        return;
    }
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
}

void CRotateTool::OnDrawHandlesRect(CJoxDC* dc, CRect& rect) {
    if (!dc)
        return;
    CPen pen(PS_SOLID, 1, CJoxDC::XorPenColour());
    CBrush brush(RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->CDC::SelectObject(&brush);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    // The rectangle is in device pixels already: the context's own calls would map it again.
    auto square = [&](int x, int y) {
        dc->CDC::RoundRect(x - kSquareLow, y - kSquareLow, x + kSquareHigh, y + kSquareHigh,
                           kRounding, kRounding);
    };
    const int mx = int((int64_t(rect.left) + rect.right) / 2);
    const int my = int((int64_t(rect.top) + rect.bottom) / 2);
    square(rect.left, rect.top);
    square(rect.right, rect.top);
    square(rect.left, rect.bottom);
    square(rect.right, rect.bottom);
    square(mx, rect.top);
    square(mx, rect.bottom);
    square(rect.right, my);
    square(rect.left, my);
    CPoint c(m_ptCentre.x, m_ptCentre.y);
    dc->LPtoDP(c);
    square(c.x, c.y);
    const int reach = 2 * nHandleSize;
    dc->CDC::MoveTo(c.x - reach, c.y);
    dc->CDC::LineTo(c.x + reach + 1, c.y);
    dc->CDC::MoveTo(c.x, c.y - reach);
    dc->CDC::LineTo(c.x, c.y + reach + 1);
    dc->SetROP2(oldRop);
    dc->SetBkMode(oldBk);
    dc->CDC::SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CRotateTool::OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view || Holds(view))
        return;
    if (NumSelected(view) > 0) {
        RecalcExtents(view);
        if (HitTestHandles(view, point) == eHandleCentre) {
            m_ptSavedCentre = m_ptCentre;
            m_bMovingCentre = 1;
            m_HitHandle = eHandleCentre;
            CDesignTool::OnLButtonDown(view, flags, point);
            return;
        }
    }
    CSelectTool::OnLButtonDown(view, flags, point);
}

void CRotateTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    if (!(Holds(view) && m_bMovingCentre)) {
        CSelectTool::OnMouseMove(view, flags, point);
        return;
    }
    FeedbackScope scope(*this);
    CDesignTool::OnMouseMove(view, flags, point);
    HideHandles(view);
    m_ptCentre = m_lpCurrent;
    ShowHandles(view);
    DisplayPrompt(view);
}

void CRotateTool::OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (Holds(view) && m_bMovingCentre) {
        m_bMovingCentre = 0;
        m_HitHandle = eHandleNone;
        CDesignTool::OnLButtonUp(view, flags, point);
        return;
    }
    CSelectTool::OnLButtonUp(view, flags, point);
}

void CRotateTool::OnLButtonDblClk(CDesignView*, UINT, const CPoint&) {}

void CRotateTool::OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view)
        return;
    if (!Holds(view)) {
        view->SelectDefaultTool(0);
        return;
    }
    if (m_bMovingCentre) {
        FeedbackScope scope(*this);
        m_bMovingCentre = 0;
        m_HitHandle = eHandleNone;
        HideHandles(view);
        m_ptCentre = m_ptSavedCentre;
        ShowHandles(view);
        CDesignTool::OnLButtonUp(view, flags, point);
        return;
    }
    CSelectTool::OnRButtonDown(view, flags, point);
}

void CRotateTool::OnTimer(CDesignView* view, UINT id) {
    if (id == kTimerDragStart) {
        // Dragging the body does nothing here.
        if (view)
            view->KillTimer(kTimerDragStart);
        return;
    }
    CDesignTool::OnTimer(view, id);
}

void CRotateTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    if (!view)
        return;
    if (key == VK_ESCAPE) {
        CPoint p;
        ::GetCursorPos(&p);
        ::ScreenToClient(view->GetSafeHwnd(), &p);
        OnMouseMove(view, 0, p);
        OnRButtonDown(view, MK_RBUTTON, p);
    } else if (key == 'T') {
        CSelectTool::OnKeyDown(view, key, repeat, flags);
    } else {
        CDesignTool::OnKeyDown(view, key, repeat, flags);
    }
}

void CRotateTool::OnKeyUp(CDesignView* view, UINT key, UINT, UINT) {
    if (!view || key != 'N')
        return;
    if (NumSelected(view) == 0) {
        AfxMessageBox(IDS_SELECT_FIRST, MB_OK);
        return;
    }
    // The selection is not empty here, so each preview step opens its own transaction and
    // Cancel never undoes an older one.
    CRotateDlg dlg(view);
    dlg.SetRotator(this, [this](CDesignView* v, double degrees, int undoName) {
        SetTransformPrecise(v, degrees, undoName);
    });
    dlg.DoModal();
}

void CRotateTool::OnTypedNumber(CDesignView* view, int number) {
    if (number > 0 && number < 360)
        SetTransformPrecise(view, number, int(IDS_ROTATE_SHEAR));
}

void CRotateTool::SetTransformPrecise(CDesignView* view, double degrees, int undoNameId) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    const CLpoint c = e.fnCentre();
    const CDpoint pivot(c.x, c.y);
    m_dAngle = std::round(degrees * 10.0) / 10.0 * kRadiansPerDegree;
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    CMat2d m(pivot, 1, 1, m_dAngle, pivot);
    if (page->GetObjectSelectionCount() > 0 && undoNameId > 0)
        page->StartUndoTransaction(undoNameId);
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        ApplyTransformToSelectedObj(page, list.GetNext(pos), m);
    OnInit(view, 0);
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
}

void CRotateTool::SetTransform(CDesignView* view, CPoint p, UINT flags) {
    if (!view || m_Extents.x2 < m_Extents.x1 || m_Extents.y2 < m_Extents.y1 || p.x == kDataLimit)
        return;
    CPoint data = p;
    view->ClientToDoc(data);
    const CWindow& e = m_Extents;
    const double cx = double((int64_t(e.x1) + e.x2) / 2), cy = double((int64_t(e.y1) + e.y2) / 2);
    const double dx = double(data.x) - m_lpDown.x, dy = double(data.y) - m_lpDown.y;
    const bool shift = (flags & MK_SHIFT) != 0;
    double px = m_ptCentre.x, py = m_ptCentre.y;
    switch (m_HitHandle) {
    case eHandleLeft:
    case eHandleRight:
    case eHandleTop:
    case eHandleBottom: {
        const HandleType h = m_HitHandle;
        if (shift) {
            if (h == eHandleLeft)
                px = e.x2;
            else if (h == eHandleRight)
                px = e.x1;
            else if (h == eHandleTop)
                py = e.y1;
            else
                py = e.y2;
        }
        const bool vertical = h == eHandleLeft || h == eHandleRight;
        const double edge = h == eHandleLeft    ? e.x1
                            : h == eHandleRight ? e.x2
                            : h == eHandleTop   ? e.y2
                                                : e.y1;
        const double distance = edge - (vertical ? px : py);
        // The dragged edge on the pivot's line has no factor: the last one stays.
        if (distance == 0)
            return;
        m_dShearX = vertical ? 0 : dx / distance;
        m_dShearY = vertical ? dy / distance : 0;
        const double tx = vertical ? px : cx, ty = vertical ? cy : py;
        m_Transform =
            Translation(-tx, -ty) * CMat2d(CShear(m_dShearX, m_dShearY)) * Translation(tx, ty);
        break;
    }
    case eHandleTopLeft:
    case eHandleTopRight:
    case eHandleBottomLeft:
    case eHandleBottomRight: {
        const HandleType h = m_HitHandle;
        const bool left = h == eHandleTopLeft || h == eHandleBottomLeft;
        const bool top = h == eHandleTopLeft || h == eHandleTopRight;
        if (shift) {
            px = left ? e.x2 : e.x1;
            py = top ? e.y1 : e.y2;
        }
        const double kx = (left ? e.x1 : e.x2) - px, ky = (top ? e.y2 : e.y1) - py;
        const double ux = double(data.x) - px, uy = double(data.y) - py;
        double angle = std::atan2(kx, ky) - std::atan2(ux, uy);
        if (flags & MK_CONTROL) {
            const int n = int(angle * kDegreesPerRadian / kSnapDegrees + 0.5);
            angle = n * kSnapDegrees * kRadiansPerDegree;
        }
        m_dAngle = angle;
        const CDpoint pivot(px, py);
        m_Transform = CMat2d(pivot, 1, 1, angle, pivot);
        break;
    }
    default:
        return;
    }
    if (m_pEcho)
        m_pEcho->XForm(m_Transform);
}

void CRotateTool::StopEcho(CDesignView* view) {
    const CLpoint keep = m_ptCentre;
    CSelectTool::StopEcho(view);
    FeedbackScope scope(*this);
    HideHandles(view);
    m_ptCentre = keep;
    ShowHandles(view);
}

void CRotateTool::DisplayShear() {
    const double f = m_dShearX != 0 ? m_dShearX : m_dShearY;
    CString text;
    text.Format(ToolText(IDS_SHEAR_PROMPT), double(float(std::atan(f) * kDegreesPerRadian)));
    QvSetStatusText(1, text);
}

void CRotateTool::DisplayRotation() {
    CString text;
    text.Format(ToolText(IDS_ROTATION_PROMPT), double(float(m_dAngle * kDegreesPerRadian)));
    QvSetStatusText(1, text);
}

void CRotateTool::DisplayPrompt(CDesignView* view) {
    if (!view)
        return;
    CString ready;
    view->fnGetReadyPrompt(ready);
    QvSetStatusText(0, ready);
    if (Holds(view) && m_HitHandle != eHandleNone) {
        if (m_HitHandle == eHandleCentre)
            DisplayMove();
        else if (m_HitHandle >= eHandleLeft && m_HitHandle <= eHandleBottom)
            DisplayShear();
        else
            DisplayRotation();
    } else {
        QvSetStatusText(1, L" ");
    }
    RepaintStatus();
}
