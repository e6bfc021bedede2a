#include "design/tests/rescan_sorter.h"

#include "design/design_page.h"
#include "design/find_velm_marks.h"
#include "pivora/select.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <list>
#include <set>

namespace {

struct stSortEntry {
    CArticle* article = nullptr;
    CVectorItem* item = nullptr;
    int start = -1;
    int64_t sx = -1, sy = -1;
    int64_t adx = -1, ady = -1, dist = -1;
    int containsOthers = 1;
};

int64_t Rounded(int64_t dx, int64_t dy) {
    return int64_t(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)) + 0.5);
}

class Rescan {
public:
    Rescan(EStartPointMode startMode, EOrderMode orderMode, int insideFirst, int maxDeviation,
           CLpoint pen)
        : m_start(startMode), m_order(orderMode), m_maxDev(maxDeviation), m_pen(pen) {
        m_flags = (insideFirst ? 1 : 0) | (orderMode == eOrderLeastMovement ? 2 : 0);
    }

    SortedOutput Run(const std::vector<CArticle*>& input) {
        for (CArticle* a : input) {
            auto* item = DynamicDowncast<CVectorItem>(a->GetItem());
            if (!item || item->ElementCount() <= 0)
                continue;
            stSortEntry e;
            e.article = a;
            e.item = item;
            m_remaining.push_back(e);
        }
        if (m_start != eStartClosestToPrevious)
            for (stSortEntry& e : m_remaining)
                ChooseStart(e);
        m_kind = m_order == eOrderClosestItem ? 1 : m_order == eOrderLeastMovement ? 6 : 0;
        bool toggle = false;
        m_bandLimit = int64_t(m_pen.y) - m_maxDev;
        SortedOutput out;
        while (!m_remaining.empty()) {
            Rebuild();
            if (m_order == eOrderLeastMovement && m_candidates.empty()) {
                m_kind = 5;
                m_flags &= ~2;
                Rebuild();
                const int c = Select();
                if (c < 0)
                    break;
                m_bandLimit = m_candidates[size_t(c)].sy + m_maxDev;
                m_kind = toggle ? 6 : 4;
                toggle = !toggle;
                m_flags |= 2;
                Rebuild();
            }
            const int c = Select();
            if (c < 0)
                break;
            const stSortEntry& e = m_candidates[size_t(c)];
            out.articles.push_back(e.article);
            out.starts.push_back(e.start);
            m_pen = e.item->fnCanMoveItemStart()
                        ? CLpoint(LONG(e.sx), LONG(e.sy))
                        : e.item->GetElementPos(e.item->ElementCount() - 1);
            for (auto it = m_remaining.begin(); it != m_remaining.end(); ++it)
                if (it->article == e.article) {
                    m_remaining.erase(it);
                    break;
                }
        }
        return out;
    }

private:
    void ChooseStart(stSortEntry& e) {
        if (e.start != -1)
            return;
        CVectorItem* item = e.item;
        int best = 0;
        if (m_start != eStartUnchanged && item->fnCanMoveItemStart() && item->VectCount() > 0) {
            const int n = item->VectCount();
            if (m_start == eStartClosestToPrevious) {
                double bestDist = -1;
                for (int i = 0; i < n; ++i) {
                    const CLpoint p = item->GetElementPos(i);
                    const double dx = std::fabs(double(p.x) - m_pen.x);
                    const double dy = std::fabs(double(p.y) - m_pen.y);
                    const double d = std::sqrt(dx * dx + dy * dy);
                    if (bestDist < 0 || d < bestDist) {
                        bestDist = d;
                        best = i;
                    }
                }
                const CLpoint p = item->GetElementPos(best);
                e.adx = std::llabs(int64_t(p.x) - m_pen.x);
                e.ady = std::llabs(int64_t(p.y) - m_pen.y);
                e.dist = Rounded(e.adx, e.ady);
            } else {
                CLpoint b = item->GetElementPos(0);
                for (int i = 1; i < n; ++i) {
                    const CLpoint p = item->GetElementPos(i);
                    const bool better = m_start == eStartAlwaysRight
                                            ? (p.x > b.x || (p.x == b.x && p.y < b.y))
                                            : (p.y < b.y || (p.y == b.y && p.x > b.x));
                    if (better) {
                        b = p;
                        best = i;
                    }
                }
            }
        }
        const CLpoint p = item->GetElementPos(best);
        e.start = best;
        e.sx = p.x;
        e.sy = p.y;
    }

    void Rebuild() {
        m_candidates.clear();
        for (stSortEntry& e : m_remaining) {
            if ((m_flags & 1) && e.containsOthers == 1) {
                e.containsOthers = 0;
                for (const stSortEntry& o : m_remaining)
                    if (o.article != e.article && o.item->InsideOf(e.item)) {
                        e.containsOthers = 1;
                        break;
                    }
                if (e.containsOthers)
                    continue;
            }
            if (m_flags & 2) {
                ChooseStart(e);
                if (e.sy > m_bandLimit)
                    continue;
            }
            m_candidates.push_back(e);
        }
    }

    bool Better(const stSortEntry& a, const stSortEntry& b) const {
        switch (m_kind) {
        case 1:
            return a.dist < b.dist || (a.dist == b.dist && a.ady < b.ady);
        case 4:
            return a.sx > b.sx || (a.sx == b.sx && a.sy < b.sy);
        case 5:
            return a.sy < b.sy || (a.sy == b.sy && a.sx > b.sx);
        case 6:
            return a.sx < b.sx || (a.sx == b.sx && a.sy < b.sy);
        default:
            return false;
        }
    }

    int Select() {
        int best = -1;
        for (size_t i = 0; i < m_candidates.size(); ++i) {
            stSortEntry& c = m_candidates[i];
            ChooseStart(c);
            if (m_kind == 1) {
                if (c.adx == -1)
                    c.adx = std::llabs(c.sx - m_pen.x);
                if (c.ady == -1)
                    c.ady = std::llabs(c.sy - m_pen.y);
                if (c.dist == -1)
                    c.dist = Rounded(c.adx, c.ady);
            }
            if (best < 0 || Better(c, m_candidates[size_t(best)]))
                best = int(i);
        }
        return best;
    }

    EStartPointMode m_start;
    EOrderMode m_order;
    int64_t m_maxDev;
    CLpoint m_pen;
    int m_flags = 0;
    int m_kind = 0;
    int64_t m_bandLimit = 0;
    std::list<stSortEntry> m_remaining;
    std::vector<stSortEntry> m_candidates;
};

void Descendants(CArticle* a, std::vector<CArticle*>& out) {
    CArticleList list;
    a->GetArticleList(&list, static_cast<const CRuntimeClass*>(nullptr));
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
}

bool LineColour(CArticle* a, COLORREF& c) {
    auto* va = DynamicDowncast<CVectorArticle>(a);
    return va && va->GetLineColour(c);
}

std::vector<CArticle*> Collect(CDesignPage& page, int scope, int excludeMarks) {
    std::vector<CArticle*> all, out;
    CArticle* root = page.RootArticle();
    if (scope == 0) {
        Descendants(root, all);
    } else {
        std::vector<CArticle*> chosen;
        for (POSITION pos = page.GetFirstObjectSelection(nullptr); pos;) {
            CArticle* s = page.GetNextObjectSelection(pos, nullptr)->Article();
            if (s->HasItem())
                chosen.push_back(s);
            else
                Descendants(s, chosen);
        }
        if (scope == 1) {
            all = chosen;
        } else {
            std::vector<COLORREF> colours;
            for (CArticle* a : chosen) {
                COLORREF c;
                if (a->HasItem() && LineColour(a, c) &&
                    std::find(colours.begin(), colours.end(), c) == colours.end())
                    colours.push_back(c);
            }
            std::vector<CArticle*> every;
            Descendants(root, every);
            for (CArticle* a : every) {
                COLORREF c;
                if (LineColour(a, c) &&
                    std::find(colours.begin(), colours.end(), c) != colours.end())
                    all.push_back(a);
            }
        }
    }
    std::set<CArticle*> seen;
    for (CArticle* a : all)
        if (a->HasItem() && seen.insert(a).second &&
            !(excludeMarks && a->fnGetValue(CFindVelmMarks::kMarkerValue, 0) == 1))
            out.push_back(a);
    return out;
}

} // namespace

SortedOutput RescanSortedOutput(CDesignPage& page, int scope, EStartPointMode startMode,
                                EOrderMode orderMode, int insideFirst, int maxDeviation,
                                int excludeMarks) {
    const CWindow e = page.RootArticle()->Extents(0);
    if (startMode < eStartUnchanged || startMode > eStartAlwaysBottom)
        startMode = eStartUnchanged;
    Rescan sorter(startMode, orderMode, insideFirst, std::max(0, maxDeviation),
                  CLpoint(e.x2, e.y1));
    return sorter.Run(Collect(page, scope, excludeMarks));
}

SortedOutput PageSortedOutput(CDesignPage& page) {
    SortedOutput out;
    if (CArticleList* list = page.GetSortedOutput())
        for (POSITION pos = list->GetHeadPosition(); pos;)
            out.articles.push_back(list->GetNext(pos));
    if (CList<int, int&>* starts = page.GetSortedOutputStartPoints())
        for (POSITION pos = starts->GetHeadPosition(); pos;)
            out.starts.push_back(starts->GetNext(pos));
    return out;
}
