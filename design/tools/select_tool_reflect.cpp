// The select tool's reflections: each selected entry gets a mirrored copy, or, when an open
// path ends on the mirror line, is extended by its mirror image into one symmetric path.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "design/tools/tree_walk.h"
#include "pivora/select.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <cmath>
#include <vector>

namespace {

// The article, then with its subtree its descendants in tree order.
std::vector<CArticle*> Listed(CArticle* a, bool subtree) {
    std::vector<CArticle*> out{a};
    if (subtree)
        ForEachDescendant(a, [&](CArticle* d) { out.push_back(d); });
    return out;
}

CVectorItem* PathOf(CArticle* a) {
    return a ? DynamicDowncast<CVectorItem>(a->GetItem()) : nullptr;
}

double PathLength(CVectorItem* p) {
    double length = 0;
    const int n = p->VectCount();
    for (int i = 1; i < n; ++i) {
        const CLpoint a = p->Vect(i - 1).pt, b = p->Vect(i).pt;
        length += std::hypot(double(b.x) - a.x, double(b.y) - a.y);
    }
    return length;
}

// The mirror on the line through a and b; null when the line has no length.
bool MirrorOn(const CLpoint& a, const CLpoint& b, CMat2d& m) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0)
        return false;
    const double c = (dx * dx - dy * dy) / len2, s = 2 * dx * dy / len2;
    m = CMat2d();
    m.m0 = c, m.m1 = s, m.m3 = s, m.m4 = -c;
    m.m6 = a.x - (c * a.x + s * a.y);
    m.m7 = a.y - (s * a.x - c * a.y);
    return true;
}

// The angled reflection's line: element 0 to the last element of the first long path.
bool AngledLine(const std::vector<CArticle*>& copy, CLpoint& from, CLpoint& to) {
    for (CArticle* a : copy) {
        CVectorItem* p = PathOf(a);
        if (!DynamicDowncast<CVectorArticle>(a) || !p || p->VectCount() <= 1 ||
            PathLength(p) <= CSelectTool::kReflectLineLength)
            continue;
        const int n = p->VectCount() - 1 - (p->IsClosed(0) ? 1 : 0);
        if (n <= 0)
            return false;
        from = p->Vect(0).pt;
        to = p->Vect(n).pt;
        return true;
    }
    return false;
}

bool Joins(const std::vector<CArticle*>& source, const std::vector<CArticle*>& copy) {
    if (source.size() != copy.size())
        return false;
    for (size_t i = 0; i < source.size(); ++i) {
        CVectorItem* a = PathOf(source[i]);
        CVectorItem* b = PathOf(copy[i]);
        if (!a && !b)
            continue;
        if (!a || !b || a->IsClosed(CSelectTool::kReflectJoinDistance) ||
            b->IsClosed(CSelectTool::kReflectJoinDistance) || a->VectCount() != b->VectCount() ||
            a->VectCount() == 0)
            return false;
        const CLpoint p = a->Vect(a->VectCount() - 1).pt, q = b->Vect(b->VectCount() - 1).pt;
        if (std::hypot(double(p.x) - q.x, double(p.y) - q.y) > CSelectTool::kReflectJoinDistance)
            return false;
    }
    return true;
}

} // namespace

void CSelectTool::ReflectSelection(CDesignView* view, UINT id) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !CanReflectSelection(view, 1))
        return;
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    CLpoint from(e.x2, e.y1), to(e.x2, e.y2); // the right edge
    switch (id) {
    case ID_NUDGE_UP:
        from = CLpoint(e.x2, e.y2), to = CLpoint(e.x1, e.y2);
        break;
    case ID_NUDGE_DOWN:
        from = CLpoint(e.x1, e.y1), to = CLpoint(e.x2, e.y1);
        break;
    case ID_NUDGE_LEFT:
        from = CLpoint(e.x1, e.y1), to = CLpoint(e.x1, e.y2);
        break;
    default:
        break;
    }
    std::vector<CSelect*> entries;
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        entries.push_back(list.GetNext(pos));
    CArticle* root = page->RootArticle();
    if (!root)
        return;
    OnExit(view, 0);
    bool first = true;
    for (CSelect* s : entries) {
        CArticle* source = s->Article();
        const bool subtree = s->SelectMode() == CSelect::kSelectArticle;
        auto* copy = DynamicDowncast<CArticle>(subtree ? source->CopyTreeObject()
                                                       : source->CopyObject(nullptr));
        if (!copy)
            continue;
        const std::vector<CArticle*> sourceList = Listed(source, subtree);
        const std::vector<CArticle*> copyList = Listed(copy, subtree);
        CLpoint a = from, b = to;
        CMat2d m;
        // An angled line of no length gives way to the right edge; a flat selection leaves
        // an edge of no length, taken as upright through its point.
        if (id == ID_NUDGE_DIVIDE && !(AngledLine(copyList, a, b) && MirrorOn(a, b, m)))
            a = CLpoint(e.x2, e.y1), b = CLpoint(e.x2, e.y2);
        if (!MirrorOn(a, b, m))
            MirrorOn(a, CLpoint(a.x, a.y + 1), m);
        for (CArticle* c : copyList)
            if (CItem* item = c->GetItem())
                item->DoTransform(m);
        if (first)
            page->StartUndoTransaction(0);
        first = false;
        if (Joins(sourceList, copyList)) {
            page->AddEditUndo(source, 0, subtree ? 1 : 0);
            for (size_t i = 0; i < sourceList.size(); ++i) {
                CVectorItem* p = PathOf(sourceList[i]);
                CVectorItem* q = PathOf(copyList[i]);
                if (!p || !q)
                    continue;
                for (int k = q->VectCount() - 2; k >= 0; --k)
                    p->Vect(q->Vect(k));
                p->MakeCurves();
                p->InvExtents(1);
                sourceList[i]->InvExtents(1);
            }
            source->InvExtents(1);
            delete copy;
        } else {
            root->AddChild(copy);
            page->AddNewUndo(copy, 0);
        }
        root->InvExtents(1);
        page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, root);
    }
    page->SetModifiedFlag();
    OnInit(view, 0);
}
