#include "design/find_velm_marks.h"

#include "design/design_page.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Size {
    int64_t width = 0, height = 0;
};

int64_t Abs(int64_t v) {
    return v < 0 ? -v : v;
}

// Width and height of a closed rectangular path: four corners (a fifth point closing it), or
// the extents of a closed path of six points or more. False for anything else.
bool RectangleTest(CArticle* a, Size& size) {
    auto* item = a ? DynamicDowncast<CVectorItem>(a->GetItem()) : nullptr;
    if (!item || !item->IsClosed(0))
        return false;
    const int n = item->VectCount();
    if (n >= 4 && n <= 5) {
        CLpoint pt[4];
        for (int i = 0; i < 4; ++i)
            pt[i] = item->GetElementPos(i);
        const bool distinctFourth = n == 4 && !(pt[3] == pt[0]);
        if (distinctFourth || (n == 5 && item->GetElementPos(4) == pt[0])) {
            int p = 0;
            for (int i = 1; i < 4; ++i)
                if (pt[i].x < pt[p].x || pt[i].y < pt[p].y)
                    p = i;
            // The last point that is none of the excluded corners and matches; a corner that
            // no point matches is index 0 at (0, 0).
            auto last = [&](auto match, std::initializer_list<int> not_) {
                int found = -1;
                for (int i = 0; i < 4; ++i)
                    if (std::find(not_.begin(), not_.end(), i) == not_.end() && match(pt[i]))
                        found = i;
                return found;
            };
            auto at = [&](int i) { return i < 0 ? CLpoint(0, 0) : pt[i]; };
            const int q = last([&](const CLpoint& c) { return c.y == pt[p].y; }, {p});
            const int qi = std::max(q, 0);
            const int r = last([&](const CLpoint& c) { return c.x == pt[p].x; }, {p, qi});
            const int ri = std::max(r, 0);
            const CLpoint rp = at(r);
            const int s = last([&](const CLpoint& c) { return c.y == rp.y; }, {p, qi, ri});
            const int si = std::max(s, 0);
            const int ps = std::abs(p - si), qr = std::abs(qi - ri);
            if (p + qi + ri + si != 6 || ps == 1 || ps == 3 || qr == 1 || qr == 3)
                return false;
            size.width = Abs(int64_t(pt[p].x) - at(q).x);
            size.height = Abs(int64_t(pt[p].y) - rp.y);
            return true;
        }
    }
    if (n < 6)
        return false;
    const CWindow e = item->Extents();
    size.width = int64_t(e.x2) - e.x1;
    size.height = int64_t(e.y2) - e.y1;
    return true;
}

bool IsSquareMark(CArticle* a, int tolerance, Size& size) {
    return RectangleTest(a, size) && Abs(size.width - size.height) <= tolerance &&
           size.width <= tolerance + CFindVelmMarks::kMaxMarkSide &&
           size.height <= tolerance + CFindVelmMarks::kMaxMarkSide;
}

bool IsRectangleMark(CArticle* a, Size& size) {
    return RectangleTest(a, size) && size.width >= CFindVelmMarks::kCrossMinWidth &&
           size.height >= CFindVelmMarks::kCrossMinHeight;
}

CLpoint Centre(CArticle* a) {
    const CWindow e = a->Extents(0);
    return CLpoint(LONG((int64_t(e.x1) + e.x2) / 2), LONG((int64_t(e.y1) + e.y2) / 2));
}

} // namespace

CFindVelmMarks::CFindVelmMarks() = default;
CFindVelmMarks::~CFindVelmMarks() = default;

void CFindVelmMarks::Reset() {
    m_Xsize = m_Ysize = m_Xn = m_Xdist = m_Ydist = 0;
    m_pLowerRight = m_pLowerLeft = m_pCross = nullptr;
    m_LeftColumn.clear();
    m_RightColumn.clear();
}

void CFindVelmMarks::Tag(CArticle* a) {
    const auto it = std::find(m_Articles.begin(), m_Articles.end(), a);
    if (it != m_Articles.end())
        TagAt(size_t(it - m_Articles.begin()));
}

void CFindVelmMarks::TagAt(size_t i) {
    m_Tagged[i] = 1;
    m_Articles[i]->fnSetValue(kMarkerValue, 1, 0);
}

int CFindVelmMarks::Execute(CDesignPage* page, int fine) {
    Reset();
    m_Articles.clear();
    m_Tagged.clear();
    CArticle* root = page ? page->RootArticle() : nullptr;
    if (!root)
        return 0;
    CArticleList list;
    root->GetArticleList(&list, static_cast<const CRuntimeClass*>(nullptr));
    for (POSITION pos = list.GetHeadPosition(); pos;)
        m_Articles.push_back(list.GetNext(pos));
    m_Tagged.assign(m_Articles.size(), 0);
    m_Extents = root->Extents(0);
    for (CArticle* a : m_Articles)
        a->fnSetValue(kMarkerValue, 0, 0);
    if (Search(fine ? kFineTolerance : kCoarseTolerance))
        return 1;
    for (CArticle* a : m_Articles)
        a->fnSetValue(kMarkerValue, 0, 0);
    std::fill(m_Tagged.begin(), m_Tagged.end(), 0);
    Reset();
    return 0;
}

CArticle* CFindVelmMarks::NearestTo(int64_t x, int64_t y) const {
    CArticle* best = nullptr;
    unsigned __int128 bestDist = 0;
    for (CArticle* a : m_Articles) {
        if (!a->HasItem())
            continue;
        const CLpoint c = Centre(a);
        const int64_t dx = Abs(c.x - x), dy = Abs(c.y - y);
        const unsigned __int128 d =
            (unsigned __int128)(dx)*uint64_t(dx) + (unsigned __int128)(dy)*uint64_t(dy);
        if (!best || d < bestDist) {
            best = a;
            bestDist = d;
        }
    }
    return best;
}

bool CFindVelmMarks::IsColumnMark(CArticle* a, CArticle* bottom, int tolerance) const {
    Size size;
    return IsSquareMark(a, tolerance, size) && Abs(size.width - m_Ysize) <= kMatch &&
           Abs(size.height - m_Xsize) <= kMatch &&
           Abs(int64_t(Centre(a).x) - Centre(bottom).x) < kMatch + 1;
}

bool CFindVelmMarks::Search(int tolerance) {
    Size size;
    // No article with an item means no lower-right mark at all.
    m_pLowerRight = NearestTo(m_Extents.x2, m_Extents.y1);
    if (!m_pLowerRight || !IsSquareMark(m_pLowerRight, tolerance, size))
        return false;
    m_Xsize = int(size.height);
    m_Ysize = int(size.width);
    Tag(m_pLowerRight);
    m_RightColumn.push_back(m_pLowerRight);

    m_pLowerLeft = NearestTo(m_Extents.x1, m_Extents.y1);
    if (!m_pLowerLeft || !IsSquareMark(m_pLowerLeft, tolerance, size) ||
        Abs(size.width - m_Ysize) > kMatch || Abs(size.height - m_Xsize) > kMatch ||
        Abs(int64_t(Centre(m_pLowerLeft).y) - Centre(m_pLowerRight).y) > kMatch)
        return false;
    Tag(m_pLowerLeft);
    m_LeftColumn.push_back(m_pLowerLeft);
    const int64_t ydist = Abs(int64_t(Centre(m_pLowerRight).x) - Centre(m_pLowerLeft).x);
    if (ydist > kMaxColumnDistance)
        return false;
    m_Ydist = int(ydist);

    for (auto* column : {&m_RightColumn, &m_LeftColumn}) {
        CArticle* bottom = column->front();
        for (size_t i = 0; i < m_Articles.size(); ++i)
            if (!m_Tagged[i] && IsColumnMark(m_Articles[i], bottom, tolerance)) {
                TagAt(i);
                column->push_back(m_Articles[i]);
            }
        std::stable_sort(column->begin(), column->end(), [](CArticle* a, CArticle* b) {
            return a->Extents(0).y1 < b->Extents(0).y1;
        });
    }
    return CheckColumns() && FindCross();
}

bool CFindVelmMarks::CheckColumns() {
    const size_t count = m_RightColumn.size();
    if (count != m_LeftColumn.size() || count < 2)
        return false;
    std::vector<int64_t> gaps;
    int64_t sum = 0;
    for (const auto* column : {&m_RightColumn, &m_LeftColumn})
        for (size_t i = 1; i < count; ++i) {
            gaps.push_back(
                Abs(int64_t((*column)[i]->Extents(0).y1) - (*column)[i - 1]->Extents(0).y1));
            sum += gaps.back();
        }
    const int64_t mean = int64_t(double(sum) / double(2 * count - 2) + 0.5);
    if (mean > kMaxMarkDistance)
        return false;
    for (int64_t g : gaps)
        if (Abs(g - mean) > kMatch)
            return false;
    m_Xdist = int(mean);
    m_Xn = int(count);
    return true;
}

bool CFindVelmMarks::FindCross() {
    CArticle* lowest = nullptr;
    for (size_t i = 0; i < m_Articles.size(); ++i)
        if (!m_Tagged[i] && m_Articles[i]->HasItem() &&
            (!lowest || m_Articles[i]->Extents(0).y1 < lowest->Extents(0).y1))
            lowest = m_Articles[i];
    Size size;
    if (!lowest || !IsRectangleMark(lowest, size) || size.width < 2 * int64_t(m_Ysize) - kMatch)
        return true;
    const CWindow c = lowest->Extents(0);
    const CWindow left = m_pLowerLeft->Extents(0), right = m_pLowerRight->Extents(0);
    const int64_t gapLeft = Abs(int64_t(c.x1) - left.x2);
    const int64_t gapRight = Abs(int64_t(right.x1) - c.x2);
    auto within = [](int64_t g) { return g >= kCrossGapMin && g <= kCrossGapMax; };
    if (Abs(int64_t(c.y1) - right.y1) > kCrossReach || !within(gapLeft) || !within(gapRight))
        return true;
    m_pCross = lowest;
    Tag(lowest);
    // Artwork must lie wholly above the cross mark.
    for (size_t i = 0; i < m_Articles.size(); ++i)
        if (!m_Tagged[i] && m_Articles[i]->HasItem() && m_Articles[i]->Extents(0).y1 < c.y2)
            return false;
    return true;
}
