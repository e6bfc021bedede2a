#include "maltrec/cutoutput/send_restore.h"

#include "vector/vector_article.h"

CSendRestore::~CSendRestore() {
    Restore();
}

bool CSendRestore::MoveStart(CVectorItem* item, int index) {
    if (!item || index <= 0 || index >= item->VectCount() || !item->fnCanMoveItemStart() ||
        !item->Vect())
        return false;
    Moved m{item, item->VectCount(), index, {}};
    const CSbArray& pts = *item->Vect();
    m.points.assign(pts.GetData(), pts.GetData() + pts.GetSize());
    item->DeselectAllElements();
    item->SelectElement(index);
    item->fnDoMoveItemStart();
    item->DeselectAllElements();
    m_moved.push_back(std::move(m));
    return true;
}

void CSendRestore::SetLineStyle(CArticle* article, int style) {
    // The named values go back whole, in their order.
    const CStringArray& effects = article->Effects();
    m_styled.push_back({article, {}});
    for (INT_PTR i = 0; i < effects.GetSize(); ++i)
        m_styled.back().effects.push_back(effects.GetAt(i));
    article->fnSaveValue(CVectorArticle::kLineStyle, style, 0);
}

void CSendRestore::RestoreStarts() {
    for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it) {
        CVectorItem* item = it->item;
        const int back = it->count - it->start - 1;
        item->DeselectAllElements();
        item->SelectElement(back);
        item->fnDoMoveItemStart();
        item->DeselectAllElements();
        // The rotation drops the old closing point: when the path does not come back point for
        // point, its own points are put back.
        CSbArray* now = item->Vect();
        bool same = now && size_t(now->GetSize()) == it->points.size();
        for (INT_PTR i = 0; same && i < now->GetSize(); ++i)
            same = now->GetAt(i) == it->points[size_t(i)];
        if (!same && now) {
            now->SetSize(INT_PTR(it->points.size()));
            for (size_t i = 0; i < it->points.size(); ++i)
                now->SetAt(INT_PTR(i), it->points[i]);
            item->MakeCurves();
            item->MakePktArray(4);
        }
        item->InvExtents(1);
    }
    m_moved.clear();
}

void CSendRestore::Finish() {
    for (const Styled& s : m_styled)
        s.article->fnSaveValue(CVectorArticle::kLineStyle, 0, 0);
    m_styled.clear();
    RestoreStarts();
}

void CSendRestore::Restore() {
    for (auto it = m_styled.rbegin(); it != m_styled.rend(); ++it) {
        CStringArray& effects = it->article->Effects();
        effects.SetSize(INT_PTR(it->effects.size()));
        for (size_t i = 0; i < it->effects.size(); ++i)
            effects.SetAt(INT_PTR(i), it->effects[i]);
    }
    m_styled.clear();
    RestoreStarts();
}
