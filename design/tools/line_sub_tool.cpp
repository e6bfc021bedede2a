#include "design/tools/line_sub_tool.h"

#include "design/design_view.h"
#include "design/tools/tool_text.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/geometry/plane_geometry.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CLineSubTool, CSubTool)

namespace {

// The full turn and the degrees in a radian, to the precision the read-out has always used.
constexpr double kFullTurn = 6.283185308;
constexpr double kDegreesPerRadian = 57.29577951;

// The system pointer in the view's client coordinates.
CPoint PointerInClient(CDesignView* view) {
    POINT p{0, 0};
    ::GetCursorPos(&p);
    ::ScreenToClient(view->GetSafeHwnd(), &p);
    return CPoint(p.x, p.y);
}

} // namespace

CLineSubTool::CLineSubTool(int toolId) : CSubTool(toolId, 1), m_Points(2, CLpoint(0, 0)) {}

template <typename Fn> void CLineSubTool::WithViewDC(CDesignView* view, Fn fn) {
    if (!view || !::IsWindow(view->GetSafeHwnd()))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    fn(&dc);
}

void CLineSubTool::PointsRequired(int n, bool restart, bool exit) {
    m_nRequired = n;
    if (n < 0)
        return;
    m_nRequired = (n + 1) / 2 * 2;
    m_Points.resize(size_t(std::max(m_nRequired, 1)), CLpoint(0, 0));
    m_nCount = std::min(m_nCount, m_nRequired);
    m_bRestartWhenComplete = restart ? 1 : 0;
    m_bExitWhenComplete = exit ? 1 : 0;
}

void CLineSubTool::StoreProvisionalEnd() {
    if (size_t(m_nCount) >= m_Points.size())
        m_Points.resize(size_t(m_nCount) + 1, CLpoint(0, 0));
    m_Points[size_t(m_nCount)] = m_lpCurrent;
}

void CLineSubTool::EchoLines(CJoxDC* dc, int from, int to) {
    if (!dc)
        return;
    if (!m_bDynamicDrawingAllowed && to == m_nCount)
        to -= 2;
    to = std::min(to, int(m_Points.size()) - 1);
    if (m_nCount < from || from >= to)
        return;
    CPen pen(m_nPenStyle, 1, CJoxDC::XorPenColour());
    CPen* old = dc->SelectObject(&pen);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    for (int i = std::max(from, 1) | 1; i <= to; i += 2) {
        const CLpoint& a = m_Points[size_t(i - 1)];
        if (a.x == kNoPoint && a.y == kNoPoint)
            continue;
        const CLpoint& b = m_Points[size_t(i)];
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
    }
    dc->SetROP2(oldRop);
    dc->SetBkMode(oldBk);
    dc->SelectObject(old);
}

void CLineSubTool::EchoLines(CDesignView* view) {
    WithViewDC(view, [&](CJoxDC* dc) { EchoLines(dc, 0, m_nCount); });
}

void CLineSubTool::EchoCurrentLine(CDesignView* view) {
    const int end = (m_nCount % 2 == 1) ? m_nCount : m_nCount - 1;
    WithViewDC(view, [&](CJoxDC* dc) { EchoLines(dc, std::max(end - 1, 0), std::max(end, 0)); });
}

void CLineSubTool::DisplayLengthAngle() {
    if (m_nCount % 2 == 1 && size_t(m_nCount) < m_Points.size()) {
        const CLpoint& s = m_Points[size_t(m_nCount - 1)];
        const CLpoint& e = m_Points[size_t(m_nCount)];
        double a = angle(CDpoint(s.x, s.y), CDpoint(e.x, e.y));
        if (a < 0)
            a += kFullTurn;
        m_dAngle = a * kDegreesPerRadian;
        m_dLength = std::hypot(double(e.x) - s.x, double(e.y) - s.y);
    }
    CString text(L" ");
    if (m_nCount > 0) {
        CString length, angleText;
        length.Format(ToolText(IDS_LENGTH), m_dLength * 0.001);
        angleText.Format(ToolText(IDS_ANGLE), m_dAngle);
        text = length + angleText;
        if (QvGetInchDisplayOn())
            QvConvertDisplayPrompt(text);
    }
    QvSetStatusText(1, text);
}

void CLineSubTool::AdjustSecondPointInPair(CDesignView* view, UINT& flags, CPoint& point) {
    if (!view || !(flags & kShiftFlag) || m_nCount < 1)
        return;
    const CLpoint& first = m_Points[size_t(m_nCount - 1)];
    view->OrthogonalPoint(point, CPoint(first.x, first.y));
    flags |= kExactPointFlag;
}

void CLineSubTool::OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view)
        return;
    CPoint p = point;
    if (m_nCount % 2 == 1)
        AdjustSecondPointInPair(view, flags, p);
    CSubTool::OnLButtonDown(view, flags, p);
    if (m_bRestartWhenComplete && m_nCount == m_nRequired) {
        EchoCurrentLine(view);
        m_nCount = 0;
    }
    if (size_t(m_nCount) >= m_Points.size())
        m_Points.resize(m_Points.size() + kGrowBy, CLpoint(0, 0));
    m_Points[size_t(m_nCount)] = m_lpDown;
    ++m_nCount;
    if (m_nCount % 2 == 0) {
        DisplayPrompt(view);
        if (m_nPairMsg)
            view->SendMessage(m_nPairMsg, kPairComplete, LPARAM(m_nCount - 2));
        CSubTool::OnLButtonUp(view, flags, p);
        if (m_bExitWhenComplete && m_nCount == m_nRequired)
            Exit(view);
        return;
    }
    if (m_ptLast.x == m_ptDown.x && m_ptLast.y == m_ptDown.y) {
        m_lpCurrent = m_lpDown;
    } else {
        UINT f = flags;
        CPoint q = m_ptLast;
        AdjustSecondPointInPair(view, f, q);
        m_lpCurrent = DataPoint(view, f | kExactPointFlag, q);
    }
    StoreProvisionalEnd();
    EchoCurrentLine(view);
    DisplayPrompt(view);
}

void CLineSubTool::OnLButtonUp(CDesignView*, UINT, const CPoint&) {}
void CLineSubTool::OnRButtonDown(CDesignView*, UINT, const CPoint&) {}

void CLineSubTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    if (m_nCount % 2 == 1) {
        EchoCurrentLine(view);
        CPoint p = point;
        AdjustSecondPointInPair(view, flags, p);
        CSubTool::OnMouseMove(view, flags, p);
        StoreProvisionalEnd();
        EchoCurrentLine(view);
    } else {
        CSubTool::OnMouseMove(view, flags, point);
    }
    DisplayPrompt(view);
}

void CLineSubTool::OnRButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (m_nCount % 2 == 1) {
        EchoCurrentLine(view);
        --m_nCount;
    }
    CSubTool::OnLButtonUp(view, flags, point);
    Exit(view);
}

void CLineSubTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    // At the pointer, not the last point: that one may be snapped already.
    if (key == VK_SHIFT && !(flags & kKeyRepeatFlag) && view) {
        OnMouseMove(view, kShiftFlag, PointerInClient(view));
        return;
    }
    // Space marks the point with guides, as "X" does.
    CSubTool::OnKeyDown(view, key == VK_SPACE ? UINT('X') : key, repeat, flags);
}

void CLineSubTool::OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    if (key == VK_SHIFT && view) {
        OnMouseMove(view, 0, PointerInClient(view));
        return;
    }
    CSubTool::OnKeyUp(view, key, repeat, flags);
}

void CLineSubTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    EchoLines(dc, 0, m_nCount);
    CSubTool::OnDraw(view, dc);
}

void CLineSubTool::OnInit(CDesignView* view, int) {
    CSubTool::OnInit(view, 0);
    DisplayPrompt(view);
}

void CLineSubTool::OnExit(CDesignView* view, int reason) {
    CSubTool::OnExit(view, reason);
    if (reason)
        EchoLines(view);
    QvSetStatusText(1, L" ");
}

void CLineSubTool::OnActivate(CDesignView* view, BOOL active, CView*, CView*) {
    if (active && m_nCount % 2 == 0)
        DisplayPrompt(view);
}

BOOL CLineSubTool::OnSetCursor(CDesignView*, CWnd*, UINT, UINT) {
    const UINT id = m_nCursor == -1 ? UINT(IDC_CROSS) : UINT(m_nCursor);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
    return TRUE;
}

void CLineSubTool::DisplayPrompt(CDesignView*) {
    UINT id = IDS_NEXT_POINT;
    if (m_nCount == 0)
        id = IDS_FIRST_POINT;
    else if (m_nCount + 1 == m_nRequired)
        id = IDS_LAST_POINT;
    QvSetStatusText(0, ToolText(id));
    DisplayLengthAngle();
}

void CLineSubTool::PanToPoint(CDesignView* view, const CLpoint& point) {
    if (!view)
        return;
    const int autoPan = m_bAutoPanEnabled;
    m_bAutoPanEnabled = 0;
    CPoint c(point.x, point.y);
    view->DocToClient(c);
    CRect client;
    view->GetClientRect(&client);
    if (!client.PtInRect(c)) {
        CWindow w(client.left, client.bottom, client.right, client.top);
        view->ClientToDoc(w);
        const LONG x = point.x, y = point.y;
        const LONG width = std::abs(w.x2 - w.x1), height = std::abs(w.y2 - w.y1);
        CWindow n(std::min(w.x1, w.x2), std::min(w.y1, w.y2), std::max(w.x1, w.x2),
                  std::max(w.y1, w.y2));
        // Data y runs up: above the top is a larger y.
        if (c.y < client.top) {
            n.y1 = y - 7 * height / 8;
            n.y2 = y + height / 8;
        } else if (c.y >= client.bottom) {
            n.y1 = y - height / 8;
            n.y2 = y + 7 * height / 8;
        }
        if (c.x < client.left) {
            n.x1 = x - width / 8;
            n.x2 = x + 7 * width / 8;
        } else if (c.x >= client.right) {
            n.x1 = x - 7 * width / 8;
            n.x2 = x + width / 8;
        }
        CPoint centre((n.x1 + n.x2) / 2, (n.y1 + n.y2) / 2);
        view->DocToClient(centre);
        if (!client.PtInRect(centre))
            n = CWindow(x - width / 2, y - height / 2, x + width / 2, y + height / 2);
        view->Zoom(n);
        view->UpdateWindow();
        c = CPoint(point.x, point.y);
        view->DocToClient(c);
    }
    OnMouseMove(view, 0, c);
    POINT screen{c.x, c.y};
    ::ClientToScreen(view->GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    m_bAutoPanEnabled = autoPan;
}
