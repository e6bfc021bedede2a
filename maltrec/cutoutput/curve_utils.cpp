#include "maltrec/curve_utils.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <cmath>
#include <cstdlib>
#include <unordered_set>

namespace {

// Ends closer than this on both axes make a closed path.
constexpr int kClosedTolerance = 100;
// A Bezier circle: four anchors' worth of points, two cubic halves.
constexpr int kCirclePoints = 7;
constexpr double kRoundness = 0.01;

CSplineItem* ClosedSpline(CTree* t) {
    auto* a = DynamicDowncast<CArticle>(t);
    if (!a || !IsCSplineItem(a->GetItem()))
        return nullptr;
    auto* s = static_cast<CSplineItem*>(a->GetItem());
    return s->IsClosed(kClosedTolerance) ? s : nullptr;
}

int PaletteOf(CTree* t) {
    auto* v = DynamicDowncast<CVectorArticle>(t);
    return v ? v->PaletteIndex() : 1;
}

// Nests b under a, taking a's pen and colour.
void Nest(CArticle* a, CArticle* b, int palette, int drawLine) {
    b->Detach();
    a->AddChild(b);
    static_cast<CSplineItem*>(b->GetItem())->DrawLine(drawLine);
    if (auto* v = DynamicDowncast<CVectorArticle>(b))
        v->SetPaletteIndex(palette);
    b->InvExtents(1);
}

bool Nests(int flags, CTree* b, int palette) {
    return flags == 0 || ((flags & kOrderSameColour) && PaletteOf(b) == palette);
}

using MovedSet = std::unordered_set<CTree*>;

void FirstPass(CArticle* group, int flags, MovedSet& moved) {
    for (CTree* t = group->GetFirstChild(); t;) {
        CTree* const nextOuter = t->GetRsibling();
        CArticle* role = static_cast<CArticle*>(t);
        CSplineItem* roleItem = ClosedSpline(role);
        if (roleItem) {
            const int palette = PaletteOf(role);
            const int drawLine = roleItem->DrawLine();
            for (CTree* c = t->GetRsibling(); c;) {
                CTree* const next = c->GetRsibling();
                CSplineItem* item = ClosedSpline(c);
                auto* b = static_cast<CArticle*>(c);
                if (item && !moved.count(c) && item->InsideOf(roleItem)) {
                    if (Nests(flags, c, palette)) {
                        moved.insert(c);
                        Nest(role, b, palette, drawLine);
                    } else if (flags & kOrderInsideBefore) {
                        moved.insert(c);
                        b->Detach();
                        role->InsertLsibling(b);
                        role = b;
                        roleItem = item;
                    }
                }
                c = next;
            }
        }
        t = nextOuter;
    }
}

void SecondPass(CArticle* group, int flags, MovedSet& moved) {
    for (CTree* t = group->GetFirstChild() ? group->GetFirstChild()->Rightmost() : nullptr; t;) {
        CArticle* role = static_cast<CArticle*>(t);
        CSplineItem* roleItem = ClosedSpline(role);
        if (roleItem) {
            const int palette = PaletteOf(role);
            const int drawLine = roleItem->DrawLine();
            for (CTree* c = group->GetFirstChild(); c && c != role;) {
                CTree* next = c->GetRsibling();
                CSplineItem* item = ClosedSpline(c);
                auto* b = static_cast<CArticle*>(c);
                if (item && !moved.count(c) && item->InsideOf(roleItem)) {
                    if (Nests(flags, c, palette)) {
                        moved.insert(c);
                        Nest(role, b, palette, drawLine);
                    } else if (flags & kOrderInsideBehind) {
                        moved.insert(c);
                        b->Detach();
                        role->InsertRsibling(b);
                        role = b;
                        roleItem = item;
                        next = group->GetFirstChild();
                    }
                }
                c = next;
            }
        }
        t = t->GetLsibling();
    }
}

} // namespace

void FnReplaceBezierCircles(CDesignPage* page) {
    if (!page || !page->RootArticle())
        return;
    CArticleList list;
    page->RootArticle()->GetArticleList(&list, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CArticle* a = list.GetNext(pos);
        if (!IsCBezierItem(a->GetItem()))
            continue;
        auto* b = static_cast<CBezierItem*>(a->GetItem());
        if (!b->IsClosed(kClosedTolerance) || b->VectCount() != kCirclePoints)
            continue;
        const CWindow e = b->Extents();
        const double w = double(e.x2) - double(e.x1), h = double(e.y2) - double(e.y1);
        // A path of one point has no size to compare.
        if (w + h <= 0.0 || std::fabs(w - h) / ((w + h) / 2.0) > kRoundness)
            continue;
        CSb p0 = b->Vect(0), p3 = b->Vect(3);
        p0.flags = CSplineItem::kBreak;
        p3.flags = CSplineItem::kSmooth;
        auto* s = new CSplineItem;
        s->DrawLine(b->DrawLine());
        s->Vect(p0);
        s->Vect(p3);
        s->Vect(p0);
        s->MakeCurves();
        a->Item(s);
        s->InvExtents(1);
        a->InvExtents(1);
    }
}

void OrderSegment(CArticle* group, int flags) {
    if (!group)
        return;
    MovedSet moved;
    FirstPass(group, flags, moved);
    moved.clear();
    SecondPass(group, flags, moved);
    for (CTree* t = group->GetFirstChild(); t; t = t->GetRsibling())
        if (t->GetFirstChild() && t->GetFirstChild()->GetRsibling())
            OrderSegment(static_cast<CArticle*>(t), flags);
}

void MoveSegmentToRoot(CDesignPage* page, CArticle* group, int undo) {
    if (!page || !group || !page->RootArticle() || group == page->RootArticle())
        return;
    CArticle* root = page->RootArticle();
    for (CTree* t = group->GetFirstChild(); t;) {
        CTree* next = t->GetRsibling();
        auto* a = static_cast<CArticle*>(t);
        a->Detach();
        root->AddChild(a);
        if (undo)
            page->AddNewUndo(a, 0);
        a->InvExtents(1);
        t = next;
    }
}
