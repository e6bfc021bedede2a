#include "hobrand/sheet_nester.h"

#include "hobrand/hobrand_strings.h"
#include "hobrand/media_manager_blk.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/output_dc.h"
#include "pivora/article.h"
#include "pivora/document/record_fields.h"
#include "pivora/framework/area_hint.h"
#include "pivora/jox_page.h"
#include "pivora/rec_archive.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include "platform/windowing/message_box.h"

#include <algorithm>
#include <memory>
#include <utility>

IMPLEMENT_SERIAL(CSheetNester, CObject, 0)

namespace {

int64_t Width(const CWindow& w) {
    return int64_t(w.x2) - w.x1;
}
int64_t Height(const CWindow& w) {
    return int64_t(w.y2) - w.y1;
}

// Odd whole quotient; a divisor of 0 counts as even instead of dividing by zero.
bool OddQuotient(LONG v, int64_t d) {
    return d != 0 && (int64_t(v) / d) % 2 != 0;
}

bool Sound(const CWindow& w) {
    return w.x1 <= w.x2 && w.y1 <= w.y2 && Width(w) <= INT32_MAX && Height(w) <= INT32_MAX;
}

bool Inside(const CWindow& in, const CWindow& out) {
    return in.x1 >= out.x1 && in.x2 <= out.x2 && in.y1 >= out.y1 && in.y2 <= out.y2;
}

bool InRange(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

// A footprint that leaves the coordinate range fits no sheet: it counts as the whole range.
const CWindow kBeyondRange(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);

// Designs lie anywhere in the coordinate range; one near its ends is first moved next to the
// origin, so that its spacing and the moves onto the sheet are sums that stay in range. Where
// it started does not change where it is placed.
constexpr int64_t kNearOrigin = int64_t(1) << 30;

void MoveNearOrigin(CTileRepos& rec) {
    const CWindow b = rec.fnGetBounds();
    if (b.x1 < -kNearOrigin || b.y1 < -kNearOrigin || b.x2 > kNearOrigin || b.y2 > kNearOrigin)
        rec.fnTranslate(-int64_t(b.x1), -int64_t(b.y1));
}

} // namespace

CSheetNester::CSheetNester() {
    m_free.SetOrder(m_nTileMode);
    m_free.Assign({m_sheet});
}

void CSheetNester::fnSetSheetExtents(const CWindow* w) {
    if (w)
        m_sheet = *w;
    m_free.Assign({m_sheet});
}

void CSheetNester::fnSetSheetMode(int mode) {
    m_nTileMode = mode;
    m_free.SetOrder(mode);
}

int CSheetNester::fnIsEmptySheet() const {
    return m_free.Empty() || (m_free.Size() == 1 && CFreeAreas::Value(m_free.First()) == m_sheet);
}

int CSheetNester::fnEmpty_page(const CWindow* w) const {
    return w && !m_free.Empty() && CFreeAreas::Value(m_free.First()) == *w;
}

void CSheetNester::fnChangeSpacingToFit(const CWindow* design) {
    if (!design)
        return;
    const int64_t gap = Width(m_sheet) - Width(*design);
    if (gap > 0 && gap < kSpacingDropGap)
        m_nSpacingX = 0;
}

void CSheetNester::fnSetSpace(const CLpoint& spacing, int pitchX, int pitchY) {
    m_nSpacingX = spacing.x;
    m_nSpacingY = spacing.y;
    m_nPitchX = pitchX;
    m_nPitchY = pitchY;
}

CJoxPage* CSheetNester::__fnGetDocument() const {
    return m_pMediaMan ? m_pMediaMan->GetDocument() : nullptr;
}

COutputDC* CSheetNester::__fnGetOutputDC() const {
    return m_pMediaMan ? m_pMediaMan->GetOutputDC() : nullptr;
}

void CSheetNester::fnClearData() {
    fnSetSheetExtents(nullptr);
    if (CJoxPage* page = __fnGetDocument())
        page->SetModifiedFlag(0);
}

int CSheetNester::fnTileExtents(CWindow* design, unsigned long, CArticle* article, int* copies,
                                int autoRotate) {
    return __fnTile(design, article, copies, autoRotate, nullptr);
}

int CSheetNester::fnTileScannerExtents(CWindow* design, unsigned long, CArticle* article,
                                       int* copies, int autoRotate, const CMat2d* mat) {
    return __fnTile(design, article, copies, autoRotate, mat);
}

int CSheetNester::__fnTile(CWindow* design, CArticle* article, int* copies, int autoRotate,
                           const CMat2d* mat) {
    if (!design || !copies)
        return 0;
    const bool asManyAsFit = *copies == 0 || *copies == kAsManyAsFit;
    int count = *copies == 0 ? kAsManyAsFit : *copies;
    CTileRepos rec;
    if (mat)
        rec.fnSetWindow(*design, *mat);
    else
        rec.fnSetWindow(*design);
    MoveNearOrigin(rec);
    CCutterInstance* cutter = m_pMediaMan ? m_pMediaMan->fnGetCutter() : nullptr;
    COutputDC* dc = __fnGetOutputDC();
    std::unique_ptr<COutputDC> temporary;
    if (!dc && cutter) {
        temporary = std::make_unique<COutputDC>(cutter, 1, 1);
        dc = temporary.get();
    }
    CJoxPage* page = __fnGetDocument();
    CArticle* root = page ? page->RootArticle(m_lRootID) : nullptr;
    int last = 1;
    while (last > 0 && count > 0) {
        const CTileRepos saved = rec;
        last = fn_AutoTile(rec, saved, count - 1, 0, autoRotate, 0);
        if (last <= 0)
            break;
        CArticle* copy = nullptr;
        CWindow foot = fnGetTransArea(rec, kFootPlaced);
        if (article && root) {
            copy = dynamic_cast<CArticle*>(article->CopyTreeObject());
            if (copy) {
                copy->DoTransform(rec.m_mat, 1);
                root->AddChild(copy);
                copy->InvExtents(1);
            }
        }
        if (root)
            __fnAddOutline(root, copy, foot);
        if (cutter && dc) {
            cutter->fnSetDesignExtents(&foot);
            dc->fnStartDesign();
            cutter->fnPreload(*design);
            if (copy)
                copy->OnDraw(nullptr, dc);
            if (dc->GetCurrentStatus() < 0)
                last = -1;
            dc->fnEndDesign();
            if (cutter->fnCutCancelled())
                return -1;
        }
        if (page) {
            page->SetModifiedFlag(1);
            if (copy && m_lRootID == page->ActiveRootArticleID()) {
                CAreaHint area(copy->Extents(0));
                page->UpdateAllViews(nullptr, 0, &area);
            }
        }
        if (last > 0)
            --count;
    }
    *copies = count;
    if (asManyAsFit && count < kAsManyAsFit) {
        CString text;
        if (last < 0) {
            text.Format(HobrandLoadString(IDS_JOB_CANCELLED_AT_COPY), kAsManyAsFit + 1 - count);
            HobrandMessageBox(IDS_JOB_CANCELLED_AT_COPY, text, MB_OK);
        } else {
            text.Format(HobrandLoadString(IDS_COPIES_FITTED), kAsManyAsFit - count);
            HobrandMessageBox(IDS_COPIES_FITTED, text, MB_OK);
        }
        *copies = 0;
    }
    // A failed output is no placement: the caller stops as on a cancel.
    if (last < 0) {
        *copies = 0;
        return -1;
    }
    return *copies == 0 ? 1 : 0;
}

int CSheetNester::fnTestExtents(const CWindow* design, int autoRotate) {
    return fnTestScannerExtents(design, autoRotate, nullptr);
}

int CSheetNester::fnTestScannerExtents(const CWindow* design, int autoRotate, const CMat2d* mat) {
    if (!design)
        return 0;
    CTileRepos rec;
    if (mat)
        rec.fnSetWindow(*design, *mat);
    else
        rec.fnSetWindow(*design);
    MoveNearOrigin(rec);
    const CTileRepos saved = rec;
    return fn_AutoTile(rec, saved, 0, 0, autoRotate, 1);
}

int CSheetNester::fnCheckUtilisation() const {
    const double sheet = double(Width(m_sheet)) / 1000.0 * (double(Height(m_sheet)) / 1000.0);
    double free = 0;
    for (Area h = m_free.First(); h; h = m_free.Next(h)) {
        const CWindow& w = CFreeAreas::Value(h);
        free += double(Width(w)) / 1000.0 * (double(Height(w)) / 1000.0);
    }
    const int64_t sheetMm2 = int64_t(sheet);
    if (sheetMm2 <= 0)
        return 0;
    return int(int64_t(free) * 100 / sheetMm2);
}

void CSheetNester::__fnAddOutline(CArticle* root, CArticle* copy, const CWindow& f) {
    // The footprint drawn round each copy on the sheet, corner to corner.
    auto* outline = new CVectorArticle;
    auto* item = new CSplineItem(kOutlinePoints);
    const CLpoint corners[kOutlinePoints] = {CLpoint(f.x1, f.y2), CLpoint(f.x1, f.y1),
                                             CLpoint(f.x2, f.y1), CLpoint(f.x2, f.y2),
                                             CLpoint(f.x1, f.y2)};
    for (int i = 0; i < kOutlinePoints; ++i)
        item->Vect(CSb(CSplineItem::kBreak, corners[i]), i);
    item->DrawLine(kOutlineDrawLine);
    item->MakeCurves();
    outline->Item(item);
    // Right after the copy just appended: no walk along the root's children again.
    if (copy && copy->GetParent() == root && !copy->GetRsibling())
        copy->InsertRsibling(outline);
    else
        root->AddChild(outline);
    outline->InvExtents(1);
}

void CSheetNester::__fnSpacing(LONG& dx, LONG& dy) const {
    dx = m_nSpacingX;
    dy = m_nSpacingY;
    if (!m_nSheetVinyl && !m_nBiteFeed) {
        dx = std::max<LONG>(dx, 4);
        dy = std::max<LONG>(dy, 4);
    }
}

CWindow CSheetNester::fnGetTransArea(const CTileRepos& rec, int mode) const {
    const CWindow b = rec.fnGetBounds();
    if (mode == kFootBare)
        return b;
    LONG dx, dy;
    __fnSpacing(dx, dy);
    if (mode == kFootTurned)
        std::swap(dx, dy);
    int64_t x1 = b.x1, y1 = b.y1, x2 = b.x2, y2 = b.y2;
    if (m_nSheetVinyl)
        x1 -= dx;
    else
        x2 += dx;
    y2 += dy;
    if (m_nPitchX) {
        if (m_nSheetVinyl)
            x1 = x2 - dx;
        else
            x2 = x1 + dx;
    }
    if (m_nPitchY)
        y2 = y1 + dy;
    if (!InRange(x1) || !InRange(y1) || !InRange(x2) || !InRange(y2))
        return kBeyondRange;
    return CWindow(LONG(x1), LONG(y1), LONG(x2), LONG(y2));
}

int64_t CSheetNester::__fnGetFitWaste(int64_t w, int64_t h, int64_t a, int64_t b, int64_t n) const {
    if (a == 0)
        a = 1;
    if (b == 0)
        b = 1;
    if (m_nTileMode & (kTileBit1 | kTileBit2)) {
        std::swap(w, h);
        std::swap(a, b);
    }
    if (h < a || w < b)
        return w * h;
    const int64_t g = std::min(h / a, n);
    int64_t l = n / std::max<int64_t>(g, 1);
    if (b * l > w)
        l = w / b;
    const int64_t strip = n < g * l ? 0 : (w - b * l) * h / 5;
    return strip + (h - a * g) * std::max<int64_t>(l, 1) * b;
}

int CSheetNester::__fnAnchorType(const CWindow& area, const CWindow& foot, bool alternate) const {
    const int m = m_nTileMode;
    if (alternate && (m & kAlternate)) {
        const int64_t h = Height(foot), w = Width(foot);
        if ((m & kTileBit1) && (m & kOrderY1Asc))
            return OddQuotient(area.y1, h) ? 3 : 1;
        if ((m & kTileBit1) && (m & kOrderY2Desc))
            return OddQuotient(area.y2, h) ? 0 : 2;
        if ((m & kTileBit2) && (m & kOrderY1Asc))
            return OddQuotient(area.y1, h) ? 1 : 3;
        if ((m & kTileBit2) && (m & kOrderY2Desc))
            return OddQuotient(area.y2, h) ? 2 : 0;
        if ((m & kTileBit4) && (m & kOrderX1Asc))
            return OddQuotient(area.x1, w) ? 1 : 0;
        if ((m & kTileBit4) && (m & kOrderX2Desc))
            return OddQuotient(area.x2, w) ? 2 : 3;
        if ((m & kTileBit8) && (m & kOrderX1Asc))
            return OddQuotient(area.x1, w) ? 0 : 1;
        if ((m & kTileBit8) && (m & kOrderX2Desc))
            return OddQuotient(area.x2, w) ? 3 : 2;
    }
    if (m & kTileBit4)
        return (m & kOrderX2Desc) ? 2 : 0;
    if (m & kTileBit8)
        return (m & kOrderX1Asc) ? 1 : 3;
    if (m & kTileBit1)
        return (m & kOrderY2Desc) ? 0 : 1;
    if (m & kTileBit2)
        return (m & kOrderY1Asc) ? 3 : 2;
    return 0;
}

bool CSheetNester::__fnTransform_tile(CTileRepos& rec, const CWindow& area, int type) const {
    const CWindow f = fnGetTransArea(rec, kFootPlaced);
    const bool right = type == 2 || type == 3;
    const bool top = type == 0 || type == 2;
    return rec.fnTranslate(right ? int64_t(area.x2) - f.x2 : int64_t(area.x1) - f.x1,
                           top ? int64_t(area.y2) - f.y2 : int64_t(area.y1) - f.y1);
}

int CSheetNester::__fnCheck_best_fit(const CWindow& foot, const CWindow& area,
                                     int copiesLeft) const {
    if (m_nPitchX || m_nPitchY)
        return 1;
    LONG dx, dy;
    __fnSpacing(dx, dy);
    const int64_t fw = Width(foot), fh = Height(foot);
    const int64_t aw = Width(area), ah = Height(area);
    const int64_t turnedH = fw + dy - dx, turnedW = fh + dx - dy;
    if (turnedW > aw || turnedH > ah)
        return 1;
    const int64_t asIs = __fnGetFitWaste(aw, ah, fh, fw, copiesLeft);
    const int64_t turned = __fnGetFitWaste(aw, ah, turnedH, turnedW, copiesLeft);
    return turned > asIs;
}

int CSheetNester::__fnFit(CTileRepos& rec, const CWindow& area, int copiesLeft, int keep,
                          int autoRotate, bool alternate) const {
    const CWindow f = fnGetTransArea(rec, kFootPlaced);
    const int64_t aw = Width(area), ah = Height(area);
    if (Width(f) <= aw && Height(f) <= ah &&
        (keep || !autoRotate || __fnCheck_best_fit(f, area, copiesLeft)))
        return __fnTransform_tile(rec, area, __fnAnchorType(area, f, alternate)) ? 1 : 0;
    // A fixed pitch never turns a copy.
    if (!autoRotate || m_nPitchX || m_nPitchY)
        return 0;
    const CWindow t = fnGetTransArea(rec, kFootTurned);
    if (Height(t) > aw || Width(t) > ah)
        return 0;
    const CTileRepos before = rec;
    if (!rec.fnRotateQuarter() ||
        !__fnTransform_tile(rec, area,
                            __fnAnchorType(area, fnGetTransArea(rec, kFootPlaced), alternate))) {
        rec = before;
        return 0;
    }
    return 2;
}

int CSheetNester::__fnCheck_single_area(CTileRepos& rec, int copiesLeft, Area area, int keep,
                                        int autoRotate, int test) {
    const CWindow a = CFreeAreas::Value(area);
    const CWindow f = fnGetTransArea(rec, kFootPlaced);
    const int64_t aw = Width(a), ah = Height(a);
    if (!keep && aw < Width(f) && ah < Height(f)) {
        const CWindow t = fnGetTransArea(rec, kFootTurned);
        if (!autoRotate || (aw < Height(t) && ah < Width(t)))
            return -1;
    }
    const int r = __fnFit(rec, a, copiesLeft, keep, autoRotate, true);
    if (r && !test) {
        const CWindow placed = fnGetTransArea(rec, kFootPlaced);
        fnSplitArea(placed, a);
        if (m_nTileMode & kTrim)
            __fnDelete_lesser_nodes(placed, area);
    }
    return r;
}

int CSheetNester::__fnCheck_amalgamate_area(CTileRepos& rec, int copiesLeft, Area area, int keep,
                                            int autoRotate, int test) {
    const CWindow a = CFreeAreas::Value(area);
    // Only neighbours touching the area edge to edge can join it; they come in list order.
    for (Area n : m_free.Following(area)) {
        const CWindow nb = CFreeAreas::Value(n);
        CWindow u;
        if (!CFreeAreas::JoinUnion(a, nb, u))
            continue;
        const int r = __fnFit(rec, u, copiesLeft, keep, autoRotate, false);
        if (!r)
            continue;
        if (!test) {
            const CWindow placed = fnGetTransArea(rec, kFootPlaced);
            fnSplitArea(placed, u);
            fnSplitArea(u, a);
            fnSplitArea(u, nb);
            m_free.Erase(n);
            if (m_nTileMode & kTrim)
                __fnDelete_lesser_nodes(placed, area);
        }
        return r;
    }
    return 0;
}

int CSheetNester::fn_AutoTile(CTileRepos& rec, const CTileRepos& saved, int copiesLeft, int keep,
                              int autoRotate, int test) {
    // The sizes the copy needs, as it is or turned, as the record is now or after it is
    // restored: areas that cannot offer one of them, alone or joined, are never tried.
    CFreeAreas::Need need;
    for (const CTileRepos* r : {static_cast<const CTileRepos*>(&rec), &saved}) {
        const CWindow f = fnGetTransArea(*r, kFootPlaced);
        need.Add(Width(f), Height(f));
        if (autoRotate && !m_nPitchX && !m_nPitchY) {
            const CWindow t = fnGetTransArea(*r, kFootTurned);
            need.Add(Height(t), Width(t));
        }
    }
    for (Area it = m_free.NextCandidate(m_free.First(), need); it;
         it = m_free.NextCandidate(m_free.Next(it), need)) {
        int r = __fnCheck_single_area(rec, copiesLeft, it, keep, autoRotate, test);
        if (r == 0) {
            rec = saved;
            r = __fnCheck_amalgamate_area(rec, copiesLeft, it, keep, autoRotate, test);
        }
        if (r <= 0)
            continue;
        if (!test) {
            m_free.Erase(it);
            fnAmalgWindows();
        }
        return r;
    }
    return 0;
}

void CSheetNester::__fnDelete_lesser_nodes(const CWindow& f, Area keepArea) {
    const int m = m_nTileMode;
    for (Area it = m_free.First(); it;) {
        const CWindow old = CFreeAreas::Value(it);
        CWindow trimmed = old;
        bool keep = true, stop = false;
        if (m & kOrderX1Asc) {
            keep = old.x2 > f.x1;
            trimmed.x1 = std::max(old.x1, f.x1);
            stop = old.x1 > f.x1;
        } else if (m & kOrderX2Desc) {
            keep = old.x1 < f.x2;
            trimmed.x2 = std::min(old.x2, f.x2);
            stop = old.x2 < f.x2;
        } else if (m & kOrderY1Asc) {
            keep = old.y2 > f.y1;
            trimmed.y1 = std::max(old.y1, f.y1);
            stop = old.y1 > f.y1;
        } else if (m & kOrderY2Desc) {
            keep = old.y1 < f.y2;
            trimmed.y2 = std::min(old.y2, f.y2);
            stop = old.y2 < f.y2;
        } else {
            return;
        }
        if (keep && !(trimmed == old))
            m_free.Modify(it, trimmed);
        // The area being used leaves the list with its caller.
        const Area next = m_free.Next(it);
        if (!keep && it != keepArea)
            m_free.Erase(it);
        it = next;
        if (stop)
            break;
    }
}

int CSheetNester::fnSplitArea(const CWindow& p, const CWindow& a) {
    const CWindow parts[4] = {
        CWindow(a.x1, a.y1, p.x1, a.y2),
        CWindow(std::max(a.x1, p.x1), a.y1, std::min(a.x2, p.x2), p.y1),
        CWindow(std::max(a.x1, p.x1), p.y2, std::min(a.x2, p.x2), a.y2),
        CWindow(p.x2, a.y1, a.x2, a.y2),
    };
    int count = 0;
    for (const CWindow& w : parts) {
        if (Width(w) >= 0 && Height(w) >= 0)
            ++count;
        if (Width(w) > 1 && Height(w) > 1)
            fnInsertArea(w);
    }
    return count;
}

void CSheetNester::fnInsertArea(const CWindow& w) {
    m_free.Insert(w);
}

void CSheetNester::fnAmalgWindows() {
    // Each merge may split its partner in two: a bound keeps a damaged list from cycling.
    size_t budget = 1024 + 16 * m_free.Size();
    while (budget-- > 0 && __fnMergeOnce()) {
    }
}

bool CSheetNester::__fnMergeOnce() {
    Area i, j;
    if (!m_free.FirstMerge(i, j))
        return false;
    CWindow u;
    CFreeAreas::MergeUnion(CFreeAreas::Value(i), CFreeAreas::Value(j), u);
    const CWindow other = CFreeAreas::Value(j);
    m_free.Erase(j);
    m_free.Erase(i);
    fnSplitArea(u, other);
    fnInsertArea(u);
    return true;
}

void CSheetNester::Serialize(CArchive& ar) {
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        record_fields::StoreFixed(ar, kRecExtents, int32_t(m_sheet.x1), int32_t(m_sheet.y2),
                                  int32_t(m_sheet.x2), int32_t(m_sheet.y1));
        record_fields::StoreFixed(ar, kRecTileMode, int32_t(m_nTileMode));
        record_fields::StoreFixed(ar, kRecSpacing, int32_t(m_nSpacingX), int32_t(m_nSpacingY));
        record_fields::StoreFixed(ar, kRecPitch, int32_t(m_nPitchX), int32_t(m_nPitchY));
        record_fields::StoreFixed(ar, kRecPlacement, m_wPlacement);
        const DWORD pos = rec.StartStore(kRecFreeAreas);
        ar << uint32_t(m_free.Size());
        for (const CWindow& w : m_free.Values())
            ar << int32_t(w.x1) << int32_t(w.y2) << int32_t(w.x2) << int32_t(w.y1);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    CSheetNester fresh;
    std::vector<CWindow> areas;
    bool haveAreas = false;
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        int32_t v[4];
        switch (id) {
        case kRecExtents:
            if (record_fields::LoadFixed(rec, len, v)) {
                const CWindow w(v[0], v[3], v[2], v[1]);
                fresh.m_sheet = Sound(w) ? w : CWindow();
            }
            return true;
        case kRecTileMode:
            if (record_fields::LoadFixed(rec, len, v[0]))
                fresh.m_nTileMode = v[0] & 0x5FF; // bits this nester does not know are dropped
            return true;
        case kRecSpacing:
            if (record_fields::LoadFixed(rec, len, v[0], v[1])) {
                fresh.m_nSpacingX = v[0] >= 0 ? v[0] : CSheetNester().m_nSpacingX;
                fresh.m_nSpacingY = v[1] >= 0 ? v[1] : CSheetNester().m_nSpacingY;
            }
            return true;
        case kRecPitch:
            if (record_fields::LoadFixed(rec, len, v[0], v[1])) {
                fresh.m_nPitchX = std::max(v[0], 0);
                fresh.m_nPitchY = std::max(v[1], 0);
            }
            return true;
        case kRecPlacement:
            record_fields::LoadFixed(rec, len, fresh.m_wPlacement);
            return true;
        case kRecFreeAreas:
            if (len < sizeof(uint32_t))
                return false;
            record_fields::LoadSized(rec, len, [&] {
                uint32_t count;
                ar >> count;
                // The count may not promise more areas than the field holds.
                count = std::min<uint32_t>(count, (len - sizeof(uint32_t)) / 16);
                for (uint32_t k = 0; k < count; ++k) {
                    ar >> v[0] >> v[1] >> v[2] >> v[3];
                    areas.push_back(CWindow(v[0], v[3], v[2], v[1]));
                }
            });
            haveAreas = true;
            return true;
        default:
            return false;
        }
    });
    m_sheet = fresh.m_sheet;
    fnSetSheetMode(fresh.m_nTileMode);
    m_nSpacingX = fresh.m_nSpacingX;
    m_nSpacingY = fresh.m_nSpacingY;
    m_nPitchX = fresh.m_nPitchX;
    m_nPitchY = fresh.m_nPitchY;
    m_wPlacement = fresh.m_wPlacement;
    // Areas off the sheet or inverted would place copies off the medium.
    std::vector<CWindow> sound;
    for (const CWindow& w : areas)
        if (Sound(w) && Inside(w, m_sheet))
            sound.push_back(w);
    if (!haveAreas)
        sound.push_back(m_sheet);
    m_free.Assign(sound);
}
