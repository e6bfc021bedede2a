// The page's selections: the object selection (what the user picked), the article selection
// derived from it, hit testing, and the selection notices of the other observers.
#include "design/design_page.h"
#include "design/document/subtree_walk.h"
#include "pivora/framework/jox_view.h"
#include "pivora/select.h"
#include "pivora/selection_request.h"

#include <algorithm>
#include <cmath>

namespace {

bool OfClass(const CArticle* a, const CRuntimeClass* c) {
    return !c || a->IsKindOf(c);
}

bool EmptyExtents(const CWindow& w) {
    return w.x2 < w.x1 || w.y2 < w.y1;
}

} // namespace

// Object selection --------------------------------------------------------------------------

CSelect* CDesignPage::AddObjectSelection(CArticle* article, int mode, int add) {
    if (!article || EmptyExtents(article->Extents(0)))
        return nullptr;
    auto* select = new CSelect(article, mode);
    if (!AddObjectSelection(select, add)) {
        delete select;
        return nullptr;
    }
    return select;
}

int CDesignPage::AddObjectSelection(CSelect* select, int add) {
    if (!select)
        return 0;
    if (!add) {
        // An entry handed back in must survive the clearing.
        while (!m_ObjectSelection.IsEmpty())
            if (CSelect* s = m_ObjectSelection.RemoveHead(); s != select)
                delete s;
        m_ObjectIndex.clear();
    }
    ObjectSelectionChanged();
    if (m_ObjectIndex.count(select->Article()))
        return 0;
    m_ObjectIndex[select->Article()] = m_ObjectSelection.AddTail(select);
    return 1;
}

int CDesignPage::AddObjectSelection(CArticleList& list, int, int select) {
    CArticle* root = RootArticle();
    int handled = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CArticle* a = list.GetNext(pos);
        if (!a || !root || !a->IsChildOf(root))
            continue;
        if (select)
            AddObjectSelection(a, CSelect::kSelectArticle, 1);
        else
            RemoveObjectSelection(a, 1);
        ++handled;
    }
    return handled;
}

void CDesignPage::RemoveObjectSelectionAt(POSITION pos) {
    if (!pos)
        return;
    CSelect* s = m_ObjectSelection.GetAt(pos);
    m_ObjectIndex.erase(s->Article());
    m_ObjectSelection.RemoveAt(pos);
    delete s;
    ObjectSelectionChanged();
}

void CDesignPage::RemoveObjectSelection(CSelect* select) {
    if (!select)
        return;
    auto it = m_ObjectIndex.find(select->Article());
    if (it != m_ObjectIndex.end() && m_ObjectSelection.GetAt(it->second) == select)
        RemoveObjectSelectionAt(it->second);
    ObjectSelectionChanged();
}

void CDesignPage::RemoveObjectSelection(CArticle* article, int withChildren) {
    ObjectSelectionChanged();
    if (!article || m_ObjectIndex.empty())
        return;
    auto drop = [&](CArticle* a) {
        if (auto it = m_ObjectIndex.find(a); it != m_ObjectIndex.end())
            RemoveObjectSelectionAt(it->second);
    };
    if (withChildren)
        ForSubtree(article, drop);
    else
        drop(article);
}

void CDesignPage::RemoveAllObjectSelection() {
    while (!m_ObjectSelection.IsEmpty())
        delete m_ObjectSelection.RemoveHead();
    m_ObjectIndex.clear();
    ObjectSelectionChanged();
}

CSelect* CDesignPage::FindObjectSelection(CArticle* article, int mode) {
    auto it = m_ObjectIndex.find(article);
    if (it == m_ObjectIndex.end())
        return nullptr;
    CSelect* s = m_ObjectSelection.GetAt(it->second);
    return (!mode || s->SelectMode() == mode) ? s : nullptr;
}

int CDesignPage::IsObjectSelected(CArticle* article, int mode) {
    return FindObjectSelection(article, mode) ? 1 : 0;
}

bool CDesignPage::ChangeObjectSelection(eChangeObjectSelection change) {
    if (change == eClearSelection) {
        RemoveAllObjectSelection();
        return true;
    }
    if (change != eSelectAllObjects && change != eInvertSelection)
        return false;
    CArticleList list;
    if (!GetObjectList(&list, 0) || list.IsEmpty())
        return false;
    m_ObjectIndex.reserve(m_ObjectIndex.size() + size_t(list.GetCount()));
    bool changed = false;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CArticle* a = list.GetNext(pos);
        if (!IsObjectSelected(a, 0)) {
            changed |= AddObjectSelection(a, CSelect::kSelectArticle, 1) != nullptr;
        } else if (change == eInvertSelection) {
            RemoveObjectSelection(a, 0);
            changed = true;
        }
    }
    return changed;
}

POSITION CDesignPage::GetFirstObjectSelection(const CRuntimeClass* c) {
    POSITION pos = m_ObjectSelection.GetHeadPosition();
    while (pos && !OfClass(m_ObjectSelection.GetAt(pos)->Article(), c))
        m_ObjectSelection.GetNext(pos);
    return pos;
}

POSITION CDesignPage::GetLastObjectSelection(const CRuntimeClass* c) {
    POSITION pos = m_ObjectSelection.GetTailPosition();
    while (pos && !OfClass(m_ObjectSelection.GetAt(pos)->Article(), c))
        m_ObjectSelection.GetPrev(pos);
    return pos;
}

CSelect* CDesignPage::GetNextObjectSelection(POSITION& pos, const CRuntimeClass* c) {
    if (!pos)
        return nullptr;
    CSelect* s = m_ObjectSelection.GetNext(pos);
    while (pos && !OfClass(m_ObjectSelection.GetAt(pos)->Article(), c))
        m_ObjectSelection.GetNext(pos);
    return s;
}

CSelect* CDesignPage::GetPrevObjectSelection(POSITION& pos, const CRuntimeClass* c) {
    if (!pos)
        return nullptr;
    CSelect* s = m_ObjectSelection.GetPrev(pos);
    while (pos && !OfClass(m_ObjectSelection.GetAt(pos)->Article(), c))
        m_ObjectSelection.GetPrev(pos);
    return s;
}

int CDesignPage::GetObjectSelectionCount(const CRuntimeClass* c) const {
    if (!c)
        return int(m_ObjectSelection.GetCount());
    int n = 0;
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;)
        n += OfClass(m_ObjectSelection.GetNext(pos)->Article(), c);
    return n;
}

const CSelectList& CDesignPage::GetObjectSelectionList(CArticleList& list, const CRuntimeClass* c,
                                                       bool deep) {
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;) {
        CArticle* a = m_ObjectSelection.GetNext(pos)->Article();
        if (deep && a->GetProperty(kGluedBit)) {
            ForSubtree(a, [&](CArticle* d) {
                if (OfClass(d, c))
                    list.AddTail(d);
            });
        } else if (OfClass(a, c)) {
            list.AddTail(a);
        }
    }
    return m_ObjectSelection;
}

CWindow CDesignPage::ObjectSelectionExtents(CSelect* except) {
    CWindow all = CWindow::EmptyExtent();
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;) {
        CSelect* s = m_ObjectSelection.GetNext(pos);
        if (s == except)
            continue;
        CWindow w = CWindow::EmptyExtent();
        s->GetExtents(w);
        if (EmptyExtents(w))
            continue;
        all.x1 = std::min(all.x1, w.x1);
        all.y1 = std::min(all.y1, w.y1);
        all.x2 = std::max(all.x2, w.x2);
        all.y2 = std::max(all.y2, w.y2);
    }
    return all;
}

int CDesignPage::SelectedObjectsValid(const CRuntimeClass* c, int all, CArticle** out) {
    if (m_ObjectSelection.IsEmpty())
        return 0;
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;) {
        CSelect* s = m_ObjectSelection.GetNext(pos);
        if (s->SelectMode() != CSelect::kSelectArticle)
            return 0;
        const bool match = OfClass(s->Article(), c);
        if (!all && match) {
            if (out)
                *out = s->Article();
            return 1;
        }
        if (all && !match)
            return 0;
    }
    return all;
}

// Article selection -------------------------------------------------------------------------

void CDesignPage::AppendSelection(CArticle* a) {
    if (!m_SelectionIndex.count(a))
        m_SelectionIndex[a] = m_Selection.AddTail(a);
}

void CDesignPage::SyncVirtualSelection(const CRuntimeClass* c) {
    if (!m_bSelectionChanged)
        return;
    m_Selection.RemoveAll();
    m_SelectionIndex.clear();
    m_SelectionIndex.reserve(size_t(m_ObjectSelection.GetCount()));
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;) {
        CSelect* s = m_ObjectSelection.GetNext(pos);
        if (s->SelectMode() == CSelect::kSelectArticle) {
            ForSubtree(s->Article(), [&](CArticle* a) {
                if (a->HasItem() && OfClass(a, c))
                    AppendSelection(a);
            });
        } else if (s->SelectMode() == CSelect::kSelectItem && OfClass(s->Article(), c)) {
            AppendSelection(s->Article());
        }
    }
    m_bSelectionChanged = 0;
}

POSITION CDesignPage::GetFirstSelection(const CRuntimeClass* c) {
    SyncSelection();
    POSITION pos = m_Selection.GetHeadPosition();
    while (pos && !OfClass(m_Selection.GetAt(pos), c))
        m_Selection.GetNext(pos);
    return pos;
}

POSITION CDesignPage::GetLastSelection(const CRuntimeClass* c) {
    SyncSelection();
    POSITION pos = m_Selection.GetTailPosition();
    while (pos && !OfClass(m_Selection.GetAt(pos), c))
        m_Selection.GetPrev(pos);
    return pos;
}

CArticle* CDesignPage::GetNextSelection(POSITION& pos, const CRuntimeClass* c) {
    if (!pos)
        return nullptr;
    CArticle* a = m_Selection.GetNext(pos);
    while (pos && !OfClass(m_Selection.GetAt(pos), c))
        m_Selection.GetNext(pos);
    return a;
}

CArticle* CDesignPage::GetPrevSelection(POSITION& pos, const CRuntimeClass* c) {
    if (!pos)
        return nullptr;
    CArticle* a = m_Selection.GetPrev(pos);
    while (pos && !OfClass(m_Selection.GetAt(pos), c))
        m_Selection.GetPrev(pos);
    return a;
}

int CDesignPage::GetSelectionCount(const CRuntimeClass* c) {
    SyncSelection();
    if (!c)
        return int(m_Selection.GetCount());
    int n = 0;
    for (POSITION pos = m_Selection.GetHeadPosition(); pos;)
        n += OfClass(m_Selection.GetNext(pos), c);
    return n;
}

CArticleList& CDesignPage::GetSelectionList(CArticleList& list, const CRuntimeClass* c, bool) {
    SyncSelection();
    for (POSITION pos = m_Selection.GetHeadPosition(); pos;)
        if (CArticle* a = m_Selection.GetNext(pos); OfClass(a, c))
            list.AddTail(a);
    return list;
}

int CDesignPage::IsSelected(CArticle* a) {
    SyncSelection();
    return m_SelectionIndex.count(a) ? 1 : 0;
}

void CDesignPage::AddSelection(CArticle* a, int add) {
    if (!add) {
        m_Selection.RemoveAll();
        m_SelectionIndex.clear();
    }
    if (a)
        AppendSelection(a);
}

void CDesignPage::RemoveSelectionAt(POSITION pos) {
    if (!pos)
        return;
    m_SelectionIndex.erase(m_Selection.GetAt(pos));
    m_Selection.RemoveAt(pos);
}

void CDesignPage::RemoveSelection(CArticle* a, int withChildren) {
    if (a && !m_SelectionIndex.empty()) {
        auto drop = [&](CArticle* d) {
            if (auto it = m_SelectionIndex.find(d); it != m_SelectionIndex.end())
                RemoveSelectionAt(it->second);
        };
        if (withChildren)
            ForSubtree(a, drop);
        else
            drop(a);
    }
    m_bSelectionChanged = 0;
}

POSITION CDesignPage::FindSelection(CArticle* a) {
    SyncSelection();
    auto it = m_SelectionIndex.find(a);
    return it == m_SelectionIndex.end() ? nullptr : it->second;
}

void CDesignPage::RemoveAllSelection() {
    RemoveAllObjectSelection();
    m_Selection.RemoveAll();
    m_SelectionIndex.clear();
}

int CDesignPage::SelectionValid(const CRuntimeClass* c, int all) {
    SyncSelection();
    if (m_Selection.IsEmpty() || !c)
        return 0;
    const bool itemClass = c->IsDerivedFrom(RUNTIME_CLASS(CItem));
    if (!itemClass && !c->IsDerivedFrom(RUNTIME_CLASS(CArticle)))
        return 0;
    for (POSITION pos = m_Selection.GetHeadPosition(); pos;) {
        CArticle* a = m_Selection.GetNext(pos);
        const CObject* tested = itemClass ? static_cast<const CObject*>(a->GetItem()) : a;
        const bool match = tested && tested->IsKindOf(c);
        if (!all && match)
            return 1;
        if (all && !match)
            return 0;
    }
    return all;
}

// Lists and hit testing ---------------------------------------------------------------------

CArticleList* CDesignPage::GetObjectList(CArticleList* list, int all) {
    CArticle* root = RootArticle();
    if (!list || !root || !root->GetFirstChild())
        return nullptr;
    if (all) {
        ForSubtree(root, [&](CArticle* a) {
            if (a != root && CArticle::IsArticleValidForSelection(a))
                list->AddTail(a);
        });
        return list;
    }
    for (CTree* t = root->GetFirstChild(); t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CArticle>(t);
        if (!a)
            continue;
        const bool unfixed = a->fnHasUnfixedData();
        const bool shown = !a->IsInActive() && !a->IsHidden();
        const CItem* item = a->GetItem();
        const bool itemShown = !item || (!item->IsInActive() && !item->IsHidden());
        if ((shown || unfixed) && (itemShown || unfixed))
            list->AddTail(a);
    }
    return list;
}

CArticle* CDesignPage::ArticleAt(CJoxView* view, CPoint point) {
    CArticle* root = RootArticle();
    CArticleList hits;
    if (!view || !root || !root->HitTest(view, point, hits)) {
        m_HitList.RemoveAll();
        m_HitPos = nullptr;
        return nullptr;
    }
    // Nearest first: the sum of the distances to the four corners, in 64 bits since the
    // corners of a crafted design can lie anywhere in the 32-bit plane.
    CPoint p = point;
    view->ClientToDoc(p);
    struct Hit {
        CArticle* article;
        int64_t key;
    };
    std::vector<Hit> order;
    order.reserve(size_t(hits.GetCount()));
    for (POSITION pos = hits.GetHeadPosition(); pos;) {
        CArticle* a = hits.GetNext(pos);
        const CWindow w = a->Extents(0);
        auto dist = [&](LONG x, LONG y) { return std::hypot(double(x) - p.x, double(y) - p.y); };
        const double sum = double(int64_t(dist(w.x1, w.y1))) + dist(w.x2, w.y1) + dist(w.x2, w.y2) +
                           dist(w.x1, w.y2);
        order.push_back({a, int64_t(sum)});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Hit& l, const Hit& r) { return l.key < r.key; });

    bool same = size_t(m_HitList.GetCount()) == order.size();
    POSITION at = m_HitList.GetHeadPosition();
    for (size_t i = 0; same && i < order.size(); ++i)
        same = m_HitList.GetNext(at) == order[i].article;
    if (same && m_HitPos) {
        m_HitList.GetNext(m_HitPos);
        if (!m_HitPos)
            m_HitPos = m_HitList.GetHeadPosition();
        return m_HitList.GetAt(m_HitPos);
    }
    m_HitList.RemoveAll();
    for (const Hit& h : order)
        m_HitList.AddTail(h.article);
    m_HitPos = m_HitList.GetHeadPosition();
    return m_HitList.GetHead();
}

// Notices of the other observers ------------------------------------------------------------

void CDesignPage::NotifySelection(bool draw) {
    BYTE flag = 1;
    ChangeSelection(kNotifySelectionChanged, draw ? &flag : nullptr);
}

void CDesignPage::SelectFromRequest(CSelectionRequest* request) {
    RemoveAllObjectSelection();
    const int add = request->GetBool(kReqAdd) ? 1 : 0;
    if (request->GetUINT(kReqListKind) != kListKindArray) {
        if (auto* list = static_cast<CArticleList*>(request->GetVoid(kReqList)))
            AddObjectSelection(*list, 1, add);
    } else if (auto* array = static_cast<CPtrArray*>(request->GetVoid(kReqArray))) {
        // Without add each article replaces the one before: the last one stays selected.
        for (INT_PTR i = 0; i < array->GetSize(); ++i)
            AddObjectSelection(static_cast<CArticle*>(array->GetAt(i)), CSelect::kSelectArticle,
                               add);
    }
    ReOrderSelectionBefore(request->GetBool(kReqTopLevel),
                           static_cast<CArticle*>(request->GetVoid(kReqTarget)));
}

void CDesignPage::UpdateSelection(UINT hint, void* data) {
    auto* request = static_cast<CSelectionRequest*>(data);
    switch (hint) {
    case kSelectionHintSelect:
        if (request && request->GetInt(kReqReplace) >= 0) {
            SelectFromRequest(request);
            break;
        }
        if (request && request->GetBool(kReqNotifyFirst))
            NotifySelection(false);
        if (request)
            if (auto* list = static_cast<CArticleList*>(request->GetVoid(kReqList));
                list && !list->IsEmpty())
                AddObjectSelection(*list, 1, request->GetBool(kReqAdd) ? 1 : 0);
        if (request && request->GetBool(kReqReorder))
            ReOrderSelectionBefore(request->GetBool(kReqTopLevel), nullptr);
        SyncSelection();
        NotifySelection(true);
        break;
    case kSelectionHintAll: {
        NotifySelection(false);
        if (!request || request->GetBool(kReqClear)) {
            RemoveAllObjectSelection();
            break;
        }
        CArticleList list;
        if (GetObjectList(&list, 0))
            for (POSITION pos = list.GetHeadPosition(); pos;)
                AddObjectSelection(list.GetNext(pos), CSelect::kSelectArticle, 1);
        SyncSelection();
        NotifySelection(true);
        break;
    }
    case kSelectionHintOrder:
        if (request)
            ReOrderSelection(request->GetUINT(kReqOrderCommand), false);
        break;
    default:
        break;
    }
}
