#include "maltrec/cutoutput/job_frames.h"

#include "pivora/framework/app_params.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

namespace {

constexpr int kFramePoints = 5;
constexpr int kCurveLevel = 4;

CVectorArticle* FrameArticle(int points) {
    auto* a = new CVectorArticle;
    a->SetPaletteIndex(0);
    auto* s = new CSplineItem(points);
    s->DrawLine(0);
    a->Item(s);
    return a;
}

void SetPoints(CSplineItem* s, std::initializer_list<CLpoint> pts) {
    int i = 0;
    for (const CLpoint& p : pts)
        s->Vect(CSb(CSplineItem::kBreak, p), i++);
    s->MakeCurves();
    s->InvExtents(1);
}

} // namespace

void FnAddWeedBox(CArticle* job, const CWindow& r) {
    CVectorArticle* a = FrameArticle(3);
    CVectorArticle* b = FrameArticle(3);
    SetPoints(static_cast<CSplineItem*>(a->GetItem()),
              {CLpoint(r.x1, r.y2), CLpoint(r.x1, r.y1), CLpoint(r.x2, r.y1)});
    SetPoints(static_cast<CSplineItem*>(b->GetItem()),
              {CLpoint(r.x2, r.y1), CLpoint(r.x2, r.y2), CLpoint(r.x1, r.y2)});
    job->AddChild(a);
    job->AddChild(b);
    job->InvExtents(1);
}

CVectorArticle* FnAddTileFrame(CArticle* job) {
    CVectorArticle* a = FrameArticle(kFramePoints);
    job->AddChild(a);
    return a;
}

void FnSetTileFrame(CVectorArticle* frame, const CWindow& t) {
    auto* s = static_cast<CSplineItem*>(frame->GetItem());
    s->DelVect();
    s->InitSplineItem(kFramePoints);
    SetPoints(s, {CLpoint(t.x1, t.y2), CLpoint(t.x1, t.y1), CLpoint(t.x2, t.y1),
                  CLpoint(t.x2, t.y2), CLpoint(t.x1, t.y2)});
    frame->InvExtents(1);
}

void FnApplyCurveFilter(CArticle* job) {
    const int length = QvGetSetAppParam(L"Filter Length", 100);
    const int deviation = QvGetSetAppParam(L"Filter Deviation", 10);
    QvGetSetAppParam(L"Filter Resolution", 200); // kept for the settings, not used
    CArticleList list;
    list.AddTail(job);
    job->GetArticleList(&list, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* item = dynamic_cast<CVectorItem*>(list.GetNext(pos)->GetItem());
        if (!item)
            continue;
        int removed = 0;
        if (length > 0 && deviation > 0)
            removed = item->ApplySimpleFilter(length, deviation, 0);
        // A copy whose points the filter left alone and whose curves and path elements are
        // still the fit and flattening of those points would be rebuilt into the same arrays.
        auto* spline = DynamicDowncast<CSplineItem>(item);
        if (removed > 0 || !spline || !spline->FlattenedFromPoints(kCurveLevel)) {
            item->MakeCurves();
            item->MakePktArray(kCurveLevel);
        }
        item->InvExtents(1);
    }
    job->InvExtents(1);
}
