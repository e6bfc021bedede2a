// The actions of the PostScript interpreter: points into data units, items and their painting,
// groups, colours, the matrix stack, and the articles made from painted paths.
#include "maltrec/import/eps_interpreter.h"

#include "design/design_page.h"
#include "design/imp_palette_undo.h"
#include "spline/bezier.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace {

constexpr DWORD kCorner = CSplineItem::kBreak;
constexpr DWORD kSmooth = CSplineItem::kSmooth;
// A curve becomes its two ends and six points between, as a curve item's spline has it.
constexpr int kCurveSamples = 8;
// The curve level the articles' path elements are built at.
constexpr int kPktLevel = 4;
// Points a path's item makes room for at its first point.
constexpr INT_PTR kFirstPoints = 16;

int Component(double v) {
    if (!(v > 0.0))
        return 0;
    if (v >= 1.0)
        return 255;
    return int(std::lround(v * 255.0));
}

// Widens w by e as an article widens its extents by a child's: empty extents count for nothing.
void IncludeExtents(CWindow& w, const CWindow& e) {
    if (e.x2 < e.x1 || e.y2 < e.y1)
        return;
    if (w.x2 < w.x1 || w.y2 < w.y1) {
        w = e;
        return;
    }
    w.x1 = std::min(w.x1, e.x1);
    w.y1 = std::min(w.y1, e.y1);
    w.x2 = std::max(w.x2, e.x2);
    w.y2 = std::max(w.y2, e.y2);
}

} // namespace

COLORREF CEPSInterpreter::MakeColour(double r, double g, double b) {
    int cr = Component(r), cg = Component(g), cb = Component(b);
    if (cr + cg + cb > kNearWhiteSum) {
        cr -= kDarken;
        cg -= kDarken;
        cb -= kDarken;
    }
    return COLORREF(cr) + 256u * COLORREF(cg) + 65536u * COLORREF(cb);
}

namespace {

COLORREF Cmyk(double c, double m, double y, double k) {
    return CEPSInterpreter::MakeColour(1.0 - std::min(1.0, c + k), 1.0 - std::min(1.0, m + k),
                                       1.0 - std::min(1.0, y + k));
}

} // namespace

bool CEPSInterpreter::TransformPoint(double x, double y, CLpoint& out) {
    const double tx = m_CTM.m0 * x + m_CTM.m3 * y + m_CTM.m6;
    const double ty = m_CTM.m1 * x + m_CTM.m4 * y + m_CTM.m7;
    const double dx = std::trunc(tx * kPointsToData);
    const double dy = std::trunc(ty * kPointsToData);
    // A point no data unit can hold ends the run rather than wrapping round.
    if (!(dx >= double(INT32_MIN) && dx <= double(INT32_MAX) && dy >= double(INT32_MIN) &&
          dy <= double(INT32_MAX))) {
        m_strStopReason = L"A point lies outside the design area.";
        m_bFault = true;
        return false;
    }
    out = CLpoint(LONG(dx), LONG(dy));
    return true;
}

bool CEPSInterpreter::AddPoint(double x, double y, DWORD mode, double minDistance) {
    CLpoint p;
    if (!TransformPoint(x, y, p))
        return false;
    const int n = m_pItem->VectCount();
    if (minDistance > 0.0 && n > 0) {
        const CLpoint last = m_pItem->Vect(n - 1).pt;
        if (std::hypot(double(p.x) - last.x, double(p.y) - last.y) < minDistance)
            return true;
    }
    m_pItem->Vect(CSb(mode, p));
    ++m_nPoints;
    return true;
}

void CEPSInterpreter::StartItem(bool withCurrentPoint) {
    m_pItem = new CSplineItem;
    // Room for a line and a curve at the first point: one block instead of three.
    m_pItem->Vect()->SetSize(0, kFirstPoints);
    if (withCurrentPoint)
        AddPoint(m_curX, m_curY, kCorner, 0.0);
}

void CEPSInterpreter::FreePending() {
    for (CSplineItem* s : m_Pending)
        delete s;
    m_Pending.clear();
}

void CEPSInterpreter::EndPath() {
    if (m_pItem) {
        m_Pending.push_back(m_pItem);
        m_pItem = nullptr;
    }
    Flush();
}

void CEPSInterpreter::MoveTo(double x, double y) {
    if (m_pItem) {
        m_Pending.push_back(m_pItem);
        m_pItem = nullptr;
    }
    m_curX = x;
    m_curY = y;
}

bool CEPSInterpreter::LineTo(double x, double y) {
    if (!m_pItem)
        StartItem(true);
    if (std::hypot(x - m_curX, y - m_curY) > kMinUserSegment &&
        !AddPoint(x, y, kCorner, kMinLineDistance))
        return false;
    m_bPrevCurve = false;
    m_curX = x;
    m_curY = y;
    return !m_bFault;
}

bool CEPSInterpreter::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    if (!m_pItem)
        StartItem(true);
    CLpoint p0, p1, p2, p3;
    if (!TransformPoint(m_curX, m_curY, p0) || !TransformPoint(x1, y1, p1) ||
        !TransformPoint(x2, y2, p2) || !TransformPoint(x3, y3, p3))
        return false;
    // The points a curve item of these four makes into a spline (its ends and six samples),
    // taken straight from the curve: the spline's own fit would be thrown away.
    CBezier curve;
    curve.start = p0, curve.control1 = p1, curve.control2 = p2, curve.end = p3;
    POINT samples[kCurveSamples];
    curve.GetPoints(samples, kCurveSamples);
    for (int i = m_bPrevCurve ? 1 : 0; i < kCurveSamples; ++i) {
        const bool end = i == 0 || i == kCurveSamples - 1;
        m_pItem->Vect(CSb(end ? kCorner : kSmooth, CLpoint(samples[i].x, samples[i].y)));
        ++m_nPoints;
    }
    m_bPrevCurve = true;
    m_curX = x3;
    m_curY = y3;
    return true;
}

void CEPSInterpreter::ClosePath() {
    if (!m_pItem)
        return;
    const int n = m_pItem->VectCount();
    if (n == 0)
        return;
    const CSb first = m_pItem->Vect(0);
    const CSb last = m_pItem->Vect(n - 1);
    if (first.pt.x != last.pt.x || first.pt.y != last.pt.y)
        m_pItem->Vect(first);
}

bool CEPSInterpreter::Rectangle(double x, double y, double w, double h) {
    // A rectangle is a sub-path of its own: joined to the path before it, a line would run
    // from that path to its corner.
    if (m_pItem) {
        m_Pending.push_back(m_pItem);
        m_pItem = nullptr;
    }
    StartItem(false);
    const double pts[5][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
    for (const auto& p : pts) {
        if (!AddPoint(p[0], p[1], kCorner, 0.0))
            return false;
    }
    ClosePath();
    MarkPaint(true);
    return true;
}

void CEPSInterpreter::MarkPaint(bool stroked) {
    if (stroked) {
        m_bStroked = true;
    } else {
        m_bFilled = true;
        if (m_bStroked)
            return;
    }
    m_pathColour = stroked ? m_strokeColour : m_fillColour;
    m_bPaint = true;
}

void CEPSInterpreter::BeginGroup() {
    // Deeper groups are not opened, so the design stays within the archive's nesting limit;
    // their ends are swallowed to match.
    if (m_nGroupDepth >= kMaxGroupDepth) {
        ++m_nSwallowedGroups;
        return;
    }
    auto* g = new CArticle;
    g->SetProperty(CArticle::kGroupBit, false);
    AppendChild(g);
    m_pParent = g;
    ++m_nGroupDepth;
}

void CEPSInterpreter::AppendChild(CArticle* child) {
    // AddChild walks the whole row of children to find its end: the last child added under
    // each parent is kept, so a large import appends in constant time.
    // Paths in a row mostly go under one parent: its entry is kept at hand (entries of the map
    // stay where they are as others are added).
    if (m_pLastParent != m_pParent || !m_pLastChildEntry) {
        m_pLastChildEntry = &m_LastChild[m_pParent];
        m_pLastParent = m_pParent;
    }
    CTree*& last = *m_pLastChildEntry;
    if (last && last->GetParent() == m_pParent && !last->GetRsibling())
        last->InsertRsibling(child);
    else
        m_pParent->AddChild(child);
    if (child->GetParent() == m_pParent)
        last = child;
}

void CEPSInterpreter::EndGroup() {
    if (m_nSwallowedGroups > 0) {
        --m_nSwallowedGroups;
        return;
    }
    CArticle* root = m_pPage->RootArticle();
    if (m_pParent != root && m_pParent->GetParent()) {
        m_pParent = static_cast<CArticle*>(m_pParent->GetParent());
        --m_nGroupDepth;
    }
}

void CEPSInterpreter::ApplyMatrix(const CMat2d& m) {
    m_CTM = m * m_CTM;
}

int CEPSInterpreter::ColourIndex(COLORREF c) {
    // Paths near each other mostly share a few colours (a stroke and a fill): those are found
    // in a small table in front of the map.
    RecentColour& recent = m_RecentColours[(uint32_t(c) * 0x9E3779B1u) >> (32 - kRecentColourBits)];
    if (recent.index >= 0 && recent.colour == c)
        return recent.index;
    const auto known = m_ColourIndex.find(c);
    const int index = known != m_ColourIndex.end() ? known->second : NewColourIndex(c);
    if (known == m_ColourIndex.end())
        m_ColourIndex.emplace(c, index);
    recent = RecentColour{c, index};
    return index;
}

int CEPSInterpreter::NewColourIndex(COLORREF c) {
    for (size_t i = 0; i < m_Colours.size(); ++i) {
        if (m_Colours[i] == c)
            return int(i);
    }
    if (m_Colours.size() < size_t(kColourSlots)) {
        m_Colours.push_back(c);
        return int(m_Colours.size() - 1);
    }
    // The table is full: the nearest colour already in it, the first of equally near ones. The
    // distances are taken in one pass and their least found in another, both without branches.
    const size_t n = m_Colours.size();
    const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
    int32_t distances[kColourSlots];
    int32_t least = INT32_MAX;
    for (size_t i = 0; i < n; ++i) {
        const int dr = int(m_Colours[i] & 0xFF) - r;
        const int dg = int((m_Colours[i] >> 8) & 0xFF) - g;
        const int db = int((m_Colours[i] >> 16) & 0xFF) - b;
        distances[i] = dr * dr + dg * dg + db * db;
        least = std::min(least, distances[i]);
    }
    return int(std::find(distances, distances + n, least) - distances);
}

void CEPSInterpreter::Flush() {
    if (!m_bPaint) {
        FreePending();
    } else {
        const bool group = m_nCreator == kCreatorQuickPDF && m_Pending.size() > 1;
        if (group)
            BeginGroup();
        bool first = true;
        for (CSplineItem*& item : m_Pending) {
            if (item->VectCount() <= 1)
                continue;
            if (first) {
                m_nPathColourIndex = ColourIndex(m_pathColour);
                first = false;
            }
            if (m_bFilled) {
                std::swap(m_pItem, item);
                ClosePath();
                std::swap(m_pItem, item);
            }
            auto* a = new CVectorArticle;
            a->Item(item);
            CSplineItem* s = item;
            item = nullptr;
            s->InvExtents(1);
            // Fitted once here (the extents need the segments); the shift to the origin moves
            // the segments and flattens them.
            s->MakeCurves();
            a->fnSaveValue(CVectorArticle::kLineThickness, 1, 0);
            a->fnSaveValue(L".Vector Line Thickness PT", 1, 0);
            a->SetPaletteIndex(m_nPathColourIndex);
            AppendChild(a);
            // Computed now, while the path is in the cache; the parents are only marked, their
            // extents are the union taken when the run ends.
            a->InvExtents(1);
            m_MadeBoxes.push_back(MadeBox{a, BoxOfPath(s), false});
            if (m_MadeBoxes.back().box.x1 > m_MadeBoxes.back().box.x2)
                m_MadeBoxes.back() = MadeBox{a, a->Extents(0), true};
        }
        if (group)
            EndGroup();
        FreePending();
    }
    m_Pending.clear();
    m_bPaint = m_bStroked = m_bFilled = m_bPaintedByOperator = false;
    m_pathColour = kBlack;
}

void CEPSInterpreter::Clip() {
    if (m_pItem) {
        m_Pending.push_back(m_pItem);
        m_pItem = nullptr;
    }
    // Sub-paths painted before the path became the clip were drawn; the rest only clips.
    const size_t keep = m_bPaintedByOperator ? std::min(m_nPaintedSubPaths, m_Pending.size()) : 0;
    for (size_t i = keep; i < m_Pending.size(); ++i)
        delete m_Pending[i];
    m_Pending.resize(keep);
    if (keep)
        Flush();
    FreePending();
    m_bPaint = m_bStroked = m_bFilled = m_bPaintedByOperator = false;
    m_pathColour = kBlack;
}

bool CEPSInterpreter::RunAction(Action a) {
    const float* o = m_Args;
    switch (a) {
    case kEndPath:
        EndPath();
        break;
    case kMoveTo:
        MoveTo(o[0], o[1]);
        break;
    case kLineTo:
        LineTo(o[0], o[1]);
        break;
    case kCurveTo:
        CurveTo(o[0], o[1], o[2], o[3], o[4], o[5]);
        break;
    case kCurveToV:
        CurveTo(m_curX, m_curY, o[0], o[1], o[2], o[3]);
        break;
    case kCurveToY:
        CurveTo(o[0], o[1], o[2], o[3], o[2], o[3]);
        break;
    case kClosePath:
        ClosePath();
        break;
    case kMarkStroked:
    case kMarkFilled:
        MarkPaint(a == kMarkStroked);
        m_bPaintedByOperator = true;
        m_nPaintedSubPaths = m_Pending.size() + (m_pItem ? 1 : 0);
        break;
    case kStrokeEnd:
    case kFillStrokeEnd:
        MarkPaint(true);
        EndPath();
        break;
    case kStrokeCloseEnd:
    case kFillStrokeCloseEnd:
        MarkPaint(true);
        ClosePath();
        EndPath();
        break;
    case kFillEnd:
        MarkPaint(false);
        EndPath();
        break;
    case kFillCloseEnd:
        MarkPaint(false);
        ClosePath();
        EndPath();
        break;
    case kBeginGroup:
    case kBeginGroup2:
        BeginGroup();
        break;
    case kEndGroup:
    case kEndGroup2:
        EndGroup();
        break;
    case kStrokeRGB:
        m_strokeColour = MakeColour(o[0], o[1], o[2]);
        break;
    case kStrokeCMYK:
    case kStrokeCustom:
        m_strokeColour = Cmyk(o[0], o[1], o[2], o[3]);
        break;
    case kStrokeGrey:
        m_strokeColour = MakeColour(o[0], o[0], o[0]);
        break;
    case kFillRGB:
        m_fillColour = MakeColour(o[0], o[1], o[2]);
        break;
    case kFillCMYK:
    case kFillCustom:
        m_fillColour = Cmyk(o[0], o[1], o[2], o[3]);
        break;
    case kFillGrey:
        m_fillColour = MakeColour(o[0], o[0], o[0]);
        break;
    case kBothRGB:
        m_strokeColour = m_fillColour = MakeColour(o[0], o[1], o[2]);
        break;
    case kBothCMYK:
        m_strokeColour = m_fillColour = Cmyk(o[0], o[1], o[2], o[3]);
        break;
    case kBothGrey:
        m_strokeColour = m_fillColour = MakeColour(o[0], o[0], o[0]);
        break;
    case kCreateCMYK:
    case kCreateRGB:
        m_CreatedColours.push_back(a == kCreateCMYK ? Cmyk(o[0], o[1], o[2], o[3])
                                                    : MakeColour(o[0], o[1], o[2]));
        if (m_CreatedColours.size() > kMaxCreatedColours)
            m_CreatedColours.pop_front();
        break;
    case kSetOutline:
    case kSetSolidFill:
        if (!m_CreatedColours.empty()) {
            (a == kSetOutline ? m_strokeColour : m_fillColour) = m_CreatedColours.back();
            m_CreatedColours.pop_back();
        }
        break;
    case kScale: {
        CMat2d m;
        m.m0 = o[0];
        m.m4 = o[1];
        ApplyMatrix(m);
        break;
    }
    case kTranslate: {
        CMat2d m;
        m.m6 = o[0];
        m.m7 = o[1];
        ApplyMatrix(m);
        break;
    }
    case kConcat: {
        CMat2d m;
        m.m0 = o[0];
        m.m1 = o[1];
        m.m3 = o[2];
        m.m4 = o[3];
        m.m6 = o[4];
        m.m7 = o[5];
        ApplyMatrix(m);
        break;
    }
    case kSave:
        if (m_Saves.size() >= kMaxSaves) {
            m_strStopReason = L"Too many nested graphics states.";
            m_bFault = true;
            break;
        }
        m_Saves.push_back(m_CTM);
        break;
    case kRestore:
        if (!m_Saves.empty()) {
            m_CTM = m_Saves.back();
            m_Saves.pop_back();
        }
        break;
    case kClip:
        Clip();
        break;
    case kRectangle:
        Rectangle(o[0], o[1], o[2], o[3]);
        break;
    case kCurrentPoint:
        PushOperand(float(m_curX));
        PushOperand(float(m_curY));
        break;
    case kRMoveTo:
        MoveTo(m_curX + o[0], m_curY + o[1]);
        break;
    case kRLineTo:
        LineTo(m_curX + o[0], m_curY + o[1]);
        break;
    case kRCurveTo:
        CurveTo(m_curX + o[0], m_curY + o[1], m_curX + o[2], m_curY + o[3], m_curX + o[4],
                m_curY + o[5]);
        break;
    case kActionCount:
        break;
    }
    if (m_nPoints > m_pointBudget && !m_bStopped) {
        m_strStopReason = L"The file holds too many points to import.";
        m_bStopped = true;
    }
    return !m_bFault && !m_bStopped;
}

void CEPSInterpreter::WriteStyleTable() {
    CVectorStylePB* table = CVectorArticle::fnGetVectorStylePB(m_pPage);
    if (!table)
        return;
    m_bWroteStyles = true;
    table->fnResize(int(m_Colours.size()));
    for (size_t i = 0; i < m_Colours.size(); ++i)
        table->fnSetVectStyleColour(int(i), m_Colours[i]);
}

CWindow CEPSInterpreter::ExtentsBeforeShift(const std::vector<CArticle*>& before) {
    CArticle* root = m_pPage->RootArticle();
    root->InvExtents(1);
    if (root->GetItem())
        return root->Extents(0);
    // The root's extents are the union of its children's: those held before the run and those
    // the run made. Each made path's extents lie in the box of its segments' points, so they
    // are taken only where that box reaches past the union found so far: a few paths at the
    // edges, instead of a walk of a whole large page measuring every curve.
    CWindow w = CWindow::EmptyExtent();
    for (CArticle* a : before)
        IncludeExtents(w, a->Extents(0));
    for (const MadeBox& m : m_MadeBoxes) {
        if (m.exact)
            IncludeExtents(w, m.box);
    }
    for (const MadeBox& m : m_MadeBoxes) {
        const bool empty = w.x1 > w.x2 || w.y1 > w.y2;
        if (!m.exact &&
            (empty || m.box.x1 < w.x1 || m.box.y1 < w.y1 || m.box.x2 > w.x2 || m.box.y2 > w.y2))
            IncludeExtents(w, m.article->Extents(0));
    }
    return w;
}

CWindow CEPSInterpreter::BoxOfPath(CSplineItem* item) {
    // The extents of a curve segment are its ends and points of the curve, which lies in the
    // hull of its four points; rounded half up, a point of the curve can be one unit past the
    // greatest. A line segment's are its ends. Anything else (arcs): no box, empty.
    CBezierArray& segments = *item->Bezier();
    if (segments.IsEmpty() || item->IsHidden())
        return CWindow::EmptyExtent();
    CWindow box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    auto include = [&box](const CLpoint& p) {
        box.x1 = std::min(box.x1, p.x);
        box.y1 = std::min(box.y1, p.y);
        box.x2 = std::max(box.x2, p.x);
        box.y2 = std::max(box.y2, p.y);
    };
    bool curves = false;
    for (INT_PTR i = 0; i < segments.GetSize(); ++i) {
        const CBezier& b = segments.GetData()[i];
        if (b.type == CBezier::kCubic) {
            include(b.control1);
            include(b.control2);
            curves = true;
        } else if (b.type != CBezier::kLine) {
            return CWindow::EmptyExtent();
        }
        include(b.start);
        include(b.end);
    }
    if (curves) {
        box.x2 = box.x2 == INT32_MAX ? box.x2 : box.x2 + 1;
        box.y2 = box.y2 == INT32_MAX ? box.y2 : box.y2 + 1;
    }
    return box;
}

void CEPSInterpreter::ShiftAndWriteUndo(CImpPaletteUndo* stylesBefore, const CWindow& extentsBefore,
                                        const std::vector<CArticle*>& before) {
    std::unique_ptr<CImpPaletteUndo> styles(stylesBefore);
    CArticle* root = m_pPage->RootArticle();
    const CWindow ext = ExtentsBeforeShift(before);
    // Nothing imported, or a spread no shift can keep within the data range: nothing moves.
    const bool stay = ext.x1 > ext.x2 || ext.y1 > ext.y2 || int64_t(ext.x2) - ext.x1 > INT32_MAX ||
                      int64_t(ext.y2) - ext.y1 > INT32_MAX;
    const CLpoint shift = stay ? CLpoint(0, 0) : CLpoint(ext.x1, ext.y1);
    const bool moves = shift.x != 0 || shift.y != 0;
    CTree* first = before.empty() ? root->GetFirstChild() : before.back()->GetRsibling();
    // Without an article made or a style written the page is as it was: no transaction.
    const bool record = first || m_bWroteStyles;
    if (record) {
        m_pPage->StartUndoTransaction(-1);
        m_pPage->AddDesignSizeUndo(extentsBefore, 0);
        m_pPage->AddUndo(styles.release(), 0);
        if (moves) {
            CMat2d m(CDpoint(-double(shift.x), -double(shift.y)));
            for (CArticle* a : before)
                m_pPage->AddMoveUndo(a, m, 0, 1);
        }
    }
    // Each article added is recorded right after its paths were moved, flattened and measured,
    // while it is in the cache.
    bool added = false;
    for (CTree* t = root->GetFirstChild(); t; t = t->GetRsibling()) {
        added = added || t == first;
        auto* top = static_cast<CArticle*>(t);
        ShiftSubtree(top, shift, moves);
        if (record && added)
            m_pPage->AddNewUndo(top, 0);
    }
    root->InvExtents(1);
    (void)root->Extents(0);
    m_pPage->RecalcExtents(0);
    m_MadeBoxes.clear();
    m_MadeBoxes.shrink_to_fit();
}

void CEPSInterpreter::ShiftSubtree(CArticle* top, const CLpoint& shift, bool moves) {
    // Pre-order, as the page lists its articles.
    for (CTree* t = top; t;) {
        if (auto* a = DynamicDowncast<CArticle>(t))
            ShiftArticle(a, shift, moves);
        if (t->GetFirstChild()) {
            t = t->GetFirstChild();
            continue;
        }
        while (t != top && !t->GetRsibling())
            t = t->GetParent();
        t = t == top ? nullptr : t->GetRsibling();
    }
}

void CEPSInterpreter::ShiftArticle(CArticle* a, const CLpoint& shift, bool moves) {
    auto* item = DynamicDowncast<CVectorItem>(a->GetItem());
    if (!item)
        return;
    auto* spline = DynamicDowncast<CSplineItem>(item);
    // What stays put keeps its elements; imported paths are flattened here, once.
    if (!moves && !(spline && spline->Pkt()->IsEmpty()))
        return;
    const int n = item->VectCount();
    if (spline) {
        // A curve item's points are its array.
        CSb* points = spline->Vect()->GetData();
        for (int i = 0; i < n; ++i) {
            points[i].pt.x -= shift.x;
            points[i].pt.y -= shift.y;
        }
    } else {
        for (int i = 0; i < n; ++i) {
            CSb p = item->Vect(i);
            p.pt.x -= shift.x;
            p.pt.y -= shift.y;
            item->Vect(p, i);
        }
    }
    if (spline && spline->Bezier()->GetSize() == n - 1) {
        // A translation moves the fitted segments exactly as refitting the moved points would
        // (up to the truncation of control points): no second fit.
        CBezierArray& segments = *spline->Bezier();
        for (INT_PTR i = 0; i < segments.GetSize(); ++i) {
            CBezier& b = segments[i];
            for (CLpoint* q : {&b.start, &b.control1, &b.control2, &b.end}) {
                q->x -= shift.x;
                q->y -= shift.y;
            }
        }
    } else {
        item->MakeCurves();
    }
    item->MakePktArray(kPktLevel);
    item->InvExtents(1);
    a->InvExtents(1);
    (void)a->Extents(0);
}
