#include "maltrec/curve_utils.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <cmath>
#include <cstdlib>
#include <unordered_map>

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

// What the passes ask of each child again and again, worked out once: its closed path (or
// null), that path's extents, and whether the pass has moved it.
struct PathInfo {
    CSplineItem* item = nullptr;
    CWindow extents;
    bool moved = false;
};
using PathInfos = std::unordered_map<CTree*, PathInfo>;

PathInfos Infos(CArticle* group) {
    PathInfos infos;
    for (CTree* t = group->GetFirstChild(); t; t = t->GetRsibling()) {
        PathInfo& i = infos[t];
        i.item = ClosedSpline(t);
        if (i.item)
            i.extents = i.item->Extents();
    }
    return infos;
}

bool StrictlyInside(const CWindow& in, const CWindow& out) {
    return out.x1 < in.x1 && out.y1 < in.y1 && in.x2 < out.x2 && in.y2 < out.y2;
}

// A path not yet moved in this pass whose path lies inside container's.
PathInfo* Candidate(PathInfos& infos, CTree* c, const PathInfo& container) {
    auto it = infos.find(c);
    if (it == infos.end() || !it->second.item || it->second.moved)
        return nullptr;
    PathInfo& b = it->second;
    // Inside is never true of a path whose extents are not inside.
    if (!StrictlyInside(b.extents, container.extents) || !b.item->InsideOf(container.item))
        return nullptr;
    return &b;
}

void FirstPass(CArticle* group, int flags, PathInfos& infos) {
    for (CTree* t = group->GetFirstChild(); t;) {
        CTree* const nextOuter = t->GetRsibling();
        auto* role = static_cast<CArticle*>(t);
        PathInfo roleInfo = infos[t];
        if (roleInfo.item) {
            const int palette = PaletteOf(role);
            const int drawLine = roleInfo.item->DrawLine();
            for (CTree* c = t->GetRsibling(); c;) {
                CTree* const next = c->GetRsibling();
                auto* b = static_cast<CArticle*>(c);
                if (PathInfo* bi = Candidate(infos, c, roleInfo)) {
                    if (Nests(flags, c, palette)) {
                        bi->moved = true;
                        Nest(role, b, palette, drawLine);
                    } else if (flags & kOrderInsideBefore) {
                        bi->moved = true;
                        b->Detach();
                        role->InsertLsibling(b);
                        role = b;
                        roleInfo = *bi;
                    }
                }
                c = next;
            }
        }
        t = nextOuter;
    }
}

void SecondPass(CArticle* group, int flags, PathInfos& infos) {
    for (CTree* t = group->GetFirstChild() ? group->GetFirstChild()->Rightmost() : nullptr; t;) {
        auto* role = static_cast<CArticle*>(t);
        PathInfo roleInfo = infos[t];
        if (roleInfo.item) {
            const int palette = PaletteOf(role);
            const int drawLine = roleInfo.item->DrawLine();
            for (CTree* c = group->GetFirstChild(); c && c != role;) {
                CTree* next = c->GetRsibling();
                auto* b = static_cast<CArticle*>(c);
                if (PathInfo* bi = Candidate(infos, c, roleInfo)) {
                    if (Nests(flags, c, palette)) {
                        bi->moved = true;
                        Nest(role, b, palette, drawLine);
                    } else if (flags & kOrderInsideBehind) {
                        bi->moved = true;
                        b->Detach();
                        role->InsertRsibling(b);
                        role = b;
                        roleInfo = *bi;
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
    PathInfos infos = Infos(group);
    FirstPass(group, flags, infos);
    for (auto& [t, info] : infos)
        info.moved = false;
    SecondPass(group, flags, infos);
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
