// The design view's dialogs: the Rescale dialog and how its result is applied, and the
// screen's properties.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/document/rescale.h"
#include "design/document/screen_properties.h"
#include "pivora/article.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/item.h"
#include "pivora/select.h"

#include <cstdint>

namespace {

// The extents scaled about their integer centre, each end truncated.
CWindow ScaledAboutCentre(const CWindow& e, double sx, double sy) {
    const int64_t cx = (int64_t(e.x1) + e.x2) / 2, cy = (int64_t(e.y1) + e.y2) / 2;
    const double hw = (double(e.x2) - e.x1) * sx / 2, hh = (double(e.y2) - e.y1) * sy / 2;
    return CWindow(fnTruncLong(double(cx) - hw), fnTruncLong(double(cy) - hh),
                   fnTruncLong(double(cx) + hw), fnTruncLong(double(cy) + hh));
}

} // namespace

void CDesignView::OnRescaleDesign() {
    CRescale dlg(this);
    dlg.SetView(this);
    if (dlg.DoModal() == IDOK)
        DesignRescale(dlg, true);
}

void CDesignView::OnScreenWidth() {
    int32_t s = 0, p = 0;
    ScreenWidths(s, p);
    CScreenProperties dlg;
    dlg.SetDefaults(s, p);
    dlg.DoModal();
}

void CDesignView::DesignRescale(CRescaleData& data, bool notify) {
    CDesignPage* page = GetDocument();
    const CWindow& n = data.GetNewExtents();
    // Only a size CalculateNewExtents accepted: anything else would flatten or mirror the
    // design beyond what undo restores.
    if (!page || !data.HasOrigSize() || n.x2 <= n.x1 || n.y2 <= n.y1)
        return;
    double sx = 1, sy = 1;
    data.GetScaleFactors(sx, sy);
    CMat2d whole(data.GetOrigExtents(), data.GetNewExtents());
    page->StartUndoTransaction(-1);
    if (data.GetSelected()) {
        if (notify) {
            page->UpdateAllViews(nullptr, kHintSelection);
            NotifyProcessStart();
        }
        const CSelectList& list = page->GetObjectSelectionList();
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CSelect* s = list.GetNext(pos);
            CArticle* a = s ? s->Article() : nullptr;
            if (!a)
                continue;
            const int mode = s->SelectMode();
            CMat2d m = whole;
            if (mode == CSelect::kSelectItem) {
                if (data.GetCentreScale()) {
                    const CWindow e = a->Extents(0);
                    const CWindow t =
                        a->GetItem() ? ScaledAboutCentre(a->GetItem()->Extents(), sx, sy) : e;
                    m = CMat2d(e, t);
                }
                page->AddMoveUndo(a, m, 0, 0);
                a->DoTransform(m, 0);
            } else if (mode == CSelect::kSelectArticle || mode == CSelect::kSelectArticleToo) {
                if (data.GetCentreScale()) {
                    const CWindow e = a->Extents(0);
                    m = CMat2d(e, ScaledAboutCentre(e, sx, sy));
                }
                page->AddMoveUndo(a, m, 0, 1);
                a->DoTransform(m, 1);
            }
            a->InvExtents(1);
        }
        if (!notify)
            return;
        NotifyProcessEnd();
        page->UpdateAllViews(nullptr, kHintAll);
        page->ResizeAllViews(1);
    } else {
        if (notify)
            NotifyProcessStart();
        page->AddDesignSizeUndo(data.GetOrigExtents(), 1);
        page->Extents(data.GetNewExtents());
        if (CArticle* root = page->RootArticle()) {
            page->AddMoveUndo(root, whole, 0, 1);
            root->DoTransform(whole, 1);
            root->InvExtents(1);
        }
        if (!notify)
            return;
        NotifyProcessEnd();
        for (POSITION pos = page->GetFirstViewPosition(); pos;)
            if (auto* v = dynamic_cast<CDesignView*>(page->GetNextView(pos)))
                v->ZoomResize(0, 0);
    }
    page->SetModifiedFlag();
}
