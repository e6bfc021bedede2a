// Joining open spline paths that meet tip to tail under an article.
#include "spline/spline_item.h"

#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/geometry/plane_geometry.h"
#include "vector/vector_article.h"

#include "platform/core/ptr_array.h"
#include "platform/system/clock.h"

namespace {

constexpr const wchar_t* kMergedValue = L".MERGED";
constexpr const wchar_t* kTimeoutParam = L"Spline Compress Timeout";
constexpr const wchar_t* kMaxSortParam = L"Spline Compress Max Sort";
constexpr int kDefaultTimeout = 20;
constexpr int kDefaultMaxSort = 3000;
// Ends this close count as closed: such paths are not joined.
constexpr int kClosedTolerance = 50;
// The time limit is looked at on visits whose index is not a multiple of this.
constexpr int kTimeCheckSkip = 10;
constexpr int kReverseFirst = 1;
constexpr int kReverseSecond = 2;
constexpr int kAppend = 4;

CSplineItem* SplineOf(void* article) {
    CArticle* a = static_cast<CArticle*>(article);
    return a ? DynamicDowncast<CSplineItem>(a->GetItem()) : nullptr;
}

int PaletteOf(CSplineItem* item) {
    CVectorArticle* a = item ? item->GetArticle() : nullptr;
    int index = -1;
    if (a)
        a->GetPaletteIndex(index);
    return index;
}

bool IsBelow(CTree* node, CTree* ancestor) {
    for (CTree* t = node ? node->GetParent() : nullptr; t; t = t->GetParent())
        if (t == ancestor)
            return true;
    return false;
}

} // namespace

void CSplineItem::fnCollateSplineItems(CArticle* parent, CPtrArray& out, int recurse) {
    if (!parent)
        return;
    for (CTree* t = parent->GetFirstChild(); t; t = t->GetRsibling()) {
        if (!IsCArticle(t, false))
            continue;
        CArticle* a = static_cast<CArticle*>(t);
        a->fnSaveValue(kMergedValue, 0, 0);
        CItem* item = a->GetItem();
        if (IsCSplineItem(item)) {
            CSplineItem* s = static_cast<CSplineItem*>(item);
            if (!s->IsClosed(kClosedTolerance) && s->VectCount() > 1)
                out.Add(a);
        }
        if (recurse)
            fnCollateSplineItems(a, out, 1);
    }
}

int CSplineItem::fnGetJoinMode(CSplineItem* a, CSplineItem* b, int tolerance) {
    if (!a || !b || a == b || a->VectCount() < 1 || b->VectCount() < 1)
        return 0;
    const CLpoint a0 = a->Vect(0).pt, an = a->Vect(a->VectCount() - 1).pt;
    const CLpoint b0 = b->Vect(0).pt, bn = b->Vect(b->VectCount() - 1).pt;
    if (length(an, b0) < tolerance)
        return kAppend;
    if (length(a0, b0) < tolerance)
        return kAppend | kReverseFirst;
    if (length(an, bn) < tolerance)
        return kAppend | kReverseSecond;
    if (length(a0, bn) < tolerance)
        return kAppend | kReverseFirst | kReverseSecond;
    return 0;
}

int CSplineItem::fnFindMergeItem(CSplineItem* item, CPtrArray& articles, int tolerance, int& mode) {
    mode = 0;
    const int palette = PaletteOf(item);
    for (INT_PTR i = 0; i < articles.GetSize(); ++i) {
        CSplineItem* other = SplineOf(articles.GetAt(i));
        mode = other && PaletteOf(other) == palette ? fnGetJoinMode(item, other, tolerance) : 0;
        if (mode)
            return int(i);
    }
    return -1;
}

// The reversed copy takes over the item's properties (hidden, inactive, keep-open) and its
// transform permissions, which a bare copy would lose.
CSplineItem* CSplineItem::ReplaceByReversed(CSplineItem* item) {
    CArticle* article = item->CItem::GetArticle();
    CSplineItem* copy = item->Copy(1);
    copy->SetProperties(item->GetProperties());
    copy->SetXformProperties(item->GetXformProperties());
    if (!copy->m_Beziers.GetSize() && copy->VectCount() > 1)
        copy->MakeCurves();
    if (article)
        article->Item(copy);
    else
        delete item;
    return copy;
}

void CSplineItem::fnMerge(CSplineItem*& a, CSplineItem*& b, int mode) {
    if (!a || !b)
        return;
    if (mode & kReverseFirst)
        a = ReplaceByReversed(a);
    if (mode & kReverseSecond)
        b = ReplaceByReversed(b);
    if (!(mode & kAppend))
        return;
    for (int i = 1; i < b->VectCount(); ++i)
        a->Vect(b->Vect(i));
    a->MakeCurves();
    a->InvExtents(1);
}

int CSplineItem::fnTipToTailCompress(CArticle* root, int tolerance, int recurse, int deleteMerged) {
    const ULONGLONG t0 = platform::GetClock().NowMs();
    const int timeout = QvGetAppParam(kTimeoutParam, kDefaultTimeout);
    const int maxSort = QvGetAppParam(kMaxSortParam, kDefaultMaxSort);
    CPtrArray list;
    fnCollateSplineItems(root, list, recurse);
    if (list.GetSize() < 2 || list.GetSize() > maxSort)
        return 0;
    int joins = 0;
    for (bool joinedInPass = true; joinedInPass;) {
        joinedInPass = false;
        for (INT_PTR i = 0; i < list.GetSize(); ++i) {
            int mode = 0;
            CSplineItem* item = SplineOf(list.GetAt(i));
            const int j = fnFindMergeItem(item, list, tolerance, mode);
            if (j < 0)
                continue;
            CArticle* partner = static_cast<CArticle*>(list.GetAt(j));
            list.RemoveAt(j);
            if (j < i)
                --i;
            CSplineItem* other = SplineOf(partner);
            fnMerge(item, other, mode);
            if (deleteMerged) {
                CArticle* survivor = static_cast<CArticle*>(list.GetAt(i));
                if (partner->GetFirstChild() || IsBelow(survivor, partner)) {
                    // Its children are other paths, some still in the list: only the merged
                    // path goes.
                    partner->Item(nullptr);
                } else {
                    partner->Detach();
                    delete partner;
                }
            } else {
                partner->fnSaveValue(kMergedValue, 1, 0);
            }
            ++joins;
            joinedInPass = true;
            if (i % kTimeCheckSkip != 0 &&
                (platform::GetClock().NowMs() - t0) / 1000 > ULONGLONG(timeout > 0 ? timeout : 0))
                return joins;
        }
    }
    return joins;
}
