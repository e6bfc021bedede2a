// The select tool's transforms: the drag echo, the drag transform and its application as one
// transaction, the key display, the repeat, the nudge and the move by values.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/item_echo.h"
#include "design/select_tool.h"
#include "design/tools/drag_transform.h"
#include "design/tools/tool_text.h"
#include "design/tools/tree_walk.h"
#include "pivora/framework/app_params.h"
#include "pivora/select.h"
#include "platform/framework/wait_cursor.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cmath>

namespace {

// The last point and flags SetTransform saw, across drags and tools.
constexpr LONG kNoPoint = CSelectTool::kDataLimit;
CPoint g_lastTransformPoint{kNoPoint, kNoPoint};
UINT g_lastTransformFlags = 0;

int PathElements(CArticle* a) {
    auto* path = a ? DynamicDowncast<CVectorItem>(a->GetItem()) : nullptr;
    return path ? std::max(0, path->ElementCount()) : 0;
}

template <class Fn> void ForEachEntry(CDesignPage* page, Fn fn) {
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        fn(list.GetNext(pos));
}

} // namespace

void CSelectTool::ForgetLastTransformPoint() {
    g_lastTransformPoint = CPoint(kNoPoint, kNoPoint);
    g_lastTransformFlags = 0;
}

CPoint CSelectTool::GetHandleCentre(CDesignView* view, HandleType handle) {
    if (QvGetStopRescaleOn())
        return HandleCentre(m_Extents, eHandleCentre);
    return CTransformTool::GetHandleCentre(view, handle);
}

void CSelectTool::DrawEcho(CDesignView* view) {
    EchoExtents(view);
    if (m_pEcho)
        m_pEcho->Draw(view, nullptr);
}

void CSelectTool::StartEcho(CDesignView* view, int keyDisplay) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    FeedbackScope scope(*this);
    DrawSelection(view, false);
    RecalcExtents(view);
    delete m_pEcho;
    m_pEcho = new CItemEcho;
    m_Transform = CMat2d();
    m_pEcho->XForm(m_Transform);
    m_nEchoSize = 0;
    ForEachEntry(page, [&](CSelect* s) {
        CArticle* a = s->Article();
        if (!a)
            return;
        if (s->SelectMode() == CSelect::kSelectItem) {
            m_pEcho->AddArticle(a);
            m_nEchoSize += PathElements(a);
            return;
        }
        if (a->GetItem()) {
            m_pEcho->AddArticle(a);
            m_nEchoSize += PathElements(a);
        }
        ForEachDescendant(a, [&](CArticle* d) {
            m_pEcho->AddArticle(d);
            m_nEchoSize += PathElements(d);
        });
    });
    int level = m_nEchoSize < 1 ? 0 : 100;
    if (!keyDisplay && m_nEchoSize > 0) {
        level = kEchoElementBudget / m_nEchoSize;
        if (level < 10)
            level = 0;
        else if (level > 100)
            level = 100;
    }
    m_pEcho->SetEchoPercent(level);
    m_bHadEcho = true;
    DrawEcho(view);
}

void CSelectTool::SetTransform(CDesignView* view, CPoint p, UINT flags) {
    if (!view || m_Extents.x2 < m_Extents.x1 || m_Extents.y2 < m_Extents.y1)
        return;
    if (p.x == kNoPoint) {
        if (g_lastTransformPoint.x == kNoPoint)
            return;
        p = g_lastTransformPoint;
        flags = (g_lastTransformFlags & ~UINT(MK_SHIFT)) | (flags & MK_SHIFT);
    }
    g_lastTransformPoint = p;
    g_lastTransformFlags = flags;
    CPoint data = p;
    view->ClientToDoc(data);
    CDragInput in;
    in.handle = m_HitHandle;
    in.extents = m_Extents;
    in.press = m_lpDown;
    in.pointer = CLpoint(data.x, data.y);
    in.symmetric = (flags & MK_SHIFT) != 0;
    in.free = (flags & MK_CONTROL) != 0;
    CMat2d m;
    if (!ComputeDragTransform(in, m))
        return; // keeps the last regular transform
    m_Transform = m;
    if (m_pEcho)
        m_pEcho->XForm(m_Transform);
}

void CSelectTool::ApplyTransformToSelectedObj(CDesignPage* page, const CSelect* entry, CMat2d& m) {
    CArticle* a = entry ? entry->Article() : nullptr;
    if (!page || !a)
        return;
    const int whole = entry->SelectMode() == CSelect::kSelectItem ? 0 : 1;
    page->AddMoveUndo(a, m, 0, whole);
    a->DoTransform(m, whole);
}

void CSelectTool::DoTransform(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    page->StartUndoTransaction(0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    CMat2d m = m_Transform;
    ForEachEntry(page, [&](CSelect* s) { ApplyTransformToSelectedObj(page, s, m); });
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    page->ResizeAllViews(1);
}

void CSelectTool::StopEcho(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    {
        FeedbackScope scope(*this);
        DrawEcho(view);
    }
    m_bHadEcho = m_pEcho != nullptr;
    if (m_pEcho) {
        if (m_nEchoSize > kWaitCursorElements) {
            CWaitCursor wait;
            DoTransform(view);
        } else {
            DoTransform(view);
        }
    }
    delete m_pEcho;
    m_pEcho = nullptr;
    OnInit(view, 0);
    page->SetModifiedFlag();
    view->UpdateWindow();
}

void CSelectTool::StartKeyDisplay(CDesignView* view) {
    if (!view || NumSelected(view) == 0 || CWnd::GetCapture() == view || m_bKeyDisplay)
        return;
    view->SetCapture();
    m_bKeyDisplay = 1;
    StartEcho(view, 1);
    RefreshCursor(view);
}

void CSelectTool::EndKeyDisplay(CDesignView* view) {
    if (!m_bKeyDisplay)
        return;
    FeedbackScope scope(*this);
    DrawEcho(view);
    delete m_pEcho;
    m_pEcho = nullptr;
    m_Transform = CMat2d();
    m_bKeyDisplay = 0;
    DrawSelection(view, true);
    if (view && CWnd::GetCapture() == view)
        ::ReleaseCapture();
}

void CSelectTool::RepeatTransform(CDesignView* view) {
    if (!view)
        return;
    const bool shown = m_bShown;
    DrawSelection(view, false);
    DoTransform(view);
    DrawSelection(view, shown);
    SelectionChanged(view, "Repeat");
}

BOOL CSelectTool::CanNudgeSelection(CDesignView* view, int warn) {
    if (NumSelected(view) > 0)
        return TRUE;
    if (warn)
        AfxMessageBox(IDS_NO_SELECTION);
    return FALSE;
}

void CSelectTool::NudgeSelection(CDesignView* view, UINT key) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !CanNudgeSelection(view, 1))
        return;
    const int64_t f = std::clamp<int64_t>(
        QvGetAppParam(L"Nudge Selection Factor", kDefaultNudgeFactor), 0, kDataLimit);
    int64_t dx = 0, dy = 0;
    switch (key) {
    case VK_LEFT:
        dx = -f;
        break;
    case VK_UP:
        dy = f;
        break;
    case VK_RIGHT:
        dx = f;
        break;
    case VK_DOWN:
        dy = -f;
        break;
    default:
        return;
    }
    if (page->FlagsOn(4)) {
        const CWindow pe = page->Extents();
        bool inside = true;
        ForEachEntry(page, [&](CSelect* s) {
            CWindow w = CWindow::EmptyExtent();
            s->GetExtents(w);
            inside = inside && int64_t(w.x1) + dx >= pe.x1 && int64_t(w.x2) + dx <= pe.x2 &&
                     int64_t(w.y1) + dy >= pe.y1 && int64_t(w.y2) + dy <= pe.y2;
        });
        if (!inside)
            return;
    }
    view->NotifyProcessStart();
    page->StartUndoTransaction(0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    CMat2d m{CDpoint(double(dx), double(dy))};
    ForEachEntry(page, [&](CSelect* s) { ApplyTransformToSelectedObj(page, s, m); });
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    view->NotifyProcessEnd();
}

void CSelectTool::MoveSelectionBy(CDesignView* view, double x, double y, bool absolute) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || NumSelected(view) == 0)
        return;
    // Typed values are not checked by the dialog: beyond the data range they stop at its edge.
    auto clamp = [](double v) {
        if (!(v == v))
            return 0.0;
        return std::clamp(std::trunc(v), -double(kDataLimit), double(kDataLimit));
    };
    double dx = clamp(x), dy = clamp(y);
    DrawSelection(view, false);
    if (absolute) {
        RecalcExtents(view);
        dx -= m_Extents.x1;
        dy -= m_Extents.y1;
    }
    page->StartUndoTransaction(0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    CMat2d m{CDpoint(dx, dy)};
    ForEachEntry(page, [&](CSelect* s) { ApplyTransformToSelectedObj(page, s, m); });
    OnInit(view, 0);
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
}

void CSelectTool::DisplayResize() {
    const CWindow& e = m_Extents;
    const CLpoint a = m_Transform * CLpoint(e.x1, e.y1);
    const CLpoint b = m_Transform * CLpoint(e.x2, e.y2);
    const double w = std::fabs(double(b.x) - a.x), h = std::fabs(double(b.y) - a.y);
    const double oldW = double(e.x2) - e.x1, oldH = double(e.y2) - e.y1;
    CString text, part;
    part.Format(ToolText(IDS_RESIZE_WIDTH), w * 0.001);
    text += part;
    if (HasCardinal(m_HitHandle, eHandleLeft) || HasCardinal(m_HitHandle, eHandleRight)) {
        part.Format(ToolText(IDS_RESIZE_CHANGE), (w - oldW) * 0.001);
        text += part;
    }
    part.Format(ToolText(IDS_RESIZE_HEIGHT), h * 0.001);
    text += part;
    if (HasCardinal(m_HitHandle, eHandleTop) || HasCardinal(m_HitHandle, eHandleBottom)) {
        part.Format(ToolText(IDS_RESIZE_CHANGE), (h - oldH) * 0.001);
        text += part;
    }
    text.TrimRight();
    if (QvGetInchDisplayOn())
        QvConvertDisplayPrompt(text);
    QvSetStatusText(1, text);
}
