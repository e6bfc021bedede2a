// CSplineItem: the curve item of a design. Its stored shape is a list of control points through
// which the curve passes; break points cut the list into runs, and each run becomes line, arc or
// fitted cubic segments (CBezier). The segments flatten into path elements at the curve level
// each consumer asks for. Segments and elements are derived: neither is stored.
#pragma once

#include "spline/bezier.h"
#include "spline/point_list_item.h"

#include "platform/core/map.h"
#include "platform/core/ob_array.h"
#include "platform/core/typed_ptr_array.h"
#include "platform/graphics/gdi_objects.h"

#include <cstdint>
#include <vector>

class CDWordArray;
class CPointHull;

using CBezierArray = CArray<CBezier, CBezier&>;
class CLine;
class CMat2d;
class CArticle;
class CPtrArray;
class CSplineItem;
using CUIntMap = CMap<UINT, UINT, UINT, UINT>;
using CSplineItemArray = CTypedPtrArray<CObArray, CSplineItem*>;

// A range of control-point indices; -1 in both is none.
struct stStartEnd {
    int32_t start;
    int32_t end;
};
using CStartEndArray = CArray<stStartEnd, stStartEnd&>;

// An ellipse or elliptic arc: centre, the first semi-axis as a vector, the second over the first,
// and the parameter angles of its ends (radians).
struct stEllipse {
    CLpoint centre{0, 0};
    CLpoint radius{0, 0};
    double ratio = 1.0;
    double start = 0.0;
    double end = 6.283185307;
    CDpoint unused{0, 0};
};

// Per segment: the pieces it is to be cut into and a copy of its type.
struct stCountArcs {
    int32_t count;
    int32_t type;
};

class CSplineItem : public CPointListItem {
    DECLARE_SERIAL(CSplineItem)
public:
    // Mode words of control points.
    static constexpr DWORD kSmooth = 0;
    static constexpr DWORD kBreak = 0x200;
    // Property bit: ends that touch do not count as closed.
    static constexpr DWORD kKeepOpenBit = 0x800;
    // The level of the copy's path elements.
    static constexpr int kCopyLevel = 4;
    // Tolerance of the closed test that allows moving the start.
    static constexpr int kMoveStartTolerance = 100;
    // Draw option: exact output, no thickening.
    static constexpr int kDrawOptionExact = 0x10;
    // Article values of the screen dash style.
    static constexpr const wchar_t* kDashStyle = L".DASH_STYLE";
    static constexpr const wchar_t* kDashStyleColourSet = L".DASH_STYLE_COLOUR_SET";
    static constexpr const wchar_t* kDashStyleColourRgb = L".DASH_STYLE_COLOUR_RGB";
    static constexpr const wchar_t* kPrintThickenAdj = L"Print Thicken Adj";
    static constexpr int kPrintThickenAdjDefault = 3;

    CSplineItem();
    explicit CSplineItem(int n);
    ~CSplineItem() override;

    // n > 0 zero points; otherwise nothing changes.
    void InitSplineItem(int n);

    // Overrides of CItem.
    using CVectorItem::DoTransform;
    using CVectorItem::InsideOf;
    // Transforms the points, first turning arcs into points (30 degrees apart) when m would
    // distort them; rebuilds.
    void DoTransform(CMat2d& m) override;
    // Reflects every point farther than 1.7 from the axis segment; rebuilds; 1.
    int DoMirror(CLine& axis) override;
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    CObject* CopyObject(CObject* target) override;

    // Overrides of CVectorItem.
    using CPointListItem::Vect;
    using CVectorItem::CurveToggle;
    using CVectorItem::MakePktArray;
    using CVectorItem::PointDelete;
    void DrawPoint(CJoxDC* dc, int i, int size, int mode) override;
    void CurveToggle(int i, bool refresh) override;
    // Toggles every selected point and rebuilds once; the argument is not used.
    void CurveToggle(bool refresh) override;
    void PointDelete() override;
    // Ends within tolerance on both axes and the keep-open property clear; ends apart clear it.
    int IsClosed(int tolerance) override;
    // Closed, and the first point is no break.
    int IsClosedCurve(int tolerance) override;
    void MakeCurves() override;
    // Visit k of the passes uses levels[k] while k is below its size, then level.
    void MakePktArray(CDWordArray* levels, int level) override;
    void MakePktArray(int level) override;
    int GetDpkt(int i, CDpkt& d) override;
    // Marks as breaks the outer point of a short run at either end and both ends of a closed
    // path. Curves are not rebuilt here.
    void FixOldDesigns() override;
    int DeleteElement(int i, int count) override;
    int InsertElement(int at, void* points, int count) override;
    int TransformElement(CMat2d* m, int first, int count) override;
    int fnCanMoveItemStart() override;
    void fnDoMoveItemStart() override;
    // Asks the views to repaint the segments round the selected points (up to three on either
    // side, stopping at breaks), each as the typed area hint; then the extents are refreshed.
    void UpdateViews(CJoxView* view, long hint) override;
    // Drops points by deviation from the chord, then by distance to the previous kept point; the
    // number removed. Segments are left to the caller (MakeCurves); a selection is cleared.
    int ApplySimpleFilter(int lenTolerance, int devTolerance, unsigned options) override;

    // Conversions: the segments must be current (MakeCurves) and are left stale; each clears
    // the selection when it inserts points. Arcs become runs about degrees apart (2..24 pieces;
    // 0 degrees or below gives 24); 1 when there was an arc.
    int ConvertArcs(int degrees) override;
    // Lines of at least pieces x 10 (or all with force) become pieces pieces (3..24); 1 when cut.
    int ConvertLines(int force, int pieces) override;
    void CountConvertArcs(stCountArcs* counts, int degrees);
    int ConvertArcs(stCountArcs* counts);
    // Loops of diameter radius at every break sharper than maxDegrees on side (or on the line).
    void ConvertPoints(long radius, int side, int maxDegrees);
    // One loop at point index; false (nothing changed) without a current segment before it.
    bool InsertRoundedCorner(long radius, double angle, int index);
    // "index) Break|Curve X:x Y:y"; 1.
    int ElementStr(int index, CString& out) override;
    // Reverses the point order and rebuilds.
    void fnReverse() override;

    // Filter options: a short edge into a corner survives the deviation (1) or length (2) test.
    static constexpr unsigned kFilterDevCorner = 1;
    static constexpr unsigned kFilterLenCorner = 2;
    // Window tests on three points w[0..2] (a copy): true drops w[1] (w[1] = w[2]); false keeps
    // it and shifts the window. A smooth w[1] is first moved onto the arc through the three.
    static bool ApplyDeviationFilter(CSb* window, int tolerance, unsigned options);
    static bool ApplyLenFilter(CSb* window, int tolerance, unsigned options);
    // True when every inner point of run lies closer than tolerance to the first-last chord.
    static bool ApplyDeviationFilter(CSbArray& run, int tolerance, unsigned options);

    // Geometry.
    // 1 inside, 0 outside, -1 on a control point, -2 on an edge of the control polygon (an open
    // item is closed by the edge from its last point to its first).
    int IsInside(const CLpoint& p);
    // Deletes middle points of straight runs, reversals and points close to their neighbours'
    // chord; the number removed. Segments are left to the caller unless the path is re-closed.
    int RemoveSpikes(double angleTol, double distTol);
    // 1 when a control point comes closer than 0.95 x distance to the start-control1 piece of
    // one of other's segments.
    int Within(CSplineItem* other, double distance);
    int HitTestPoint(CItemHitTest* ht) override;
    int FindHitTestPoint(CItemHitTest* ht);
    int FindHitTestLine(CItemHitTest* ht);
    // Selects point i, and the other end of a closed path with an end; draws it when dc is set.
    void Select(CJoxDC* dc, int i) override;
    // Turning sense of the control polygon: 1, -1 or 0.
    int Direction();
    // A new item with the same points (reversed when reverse is set) and draw-line number, its
    // segments and elements built when this item has them; the caller owns it.
    CSplineItem* Copy(int reverse);
    // Offsets every segment; the ends are not rejoined and the points stay.
    void Displace(long distance, int side);

    // Crossings of control polygons: with itself (other null) or with other. insert or split
    // make the crossings control points; split cuts the first loop off into pieces (itself) or
    // deletes other's points strictly inside this item. The number of crossings.
    int FindIntersections(CSplineItem* other, bool insert, bool split, CSplineItemArray* pieces);
    int FindIntersections(CSplineItemArray* pieces);
    // Rejoins the ends of offset segments at every junction and at the path's ends; the path
    // elements are left to the caller. Needs one segment per pair of points.
    void CalcIntersects();
    void CalcIntersectsPass1(int* lineJoins, int* joined);
    void CalcIntersectsPass2(int* lineJoins, int* joined);
    void CalcIntersect(int i, int j, int* lineJoins, int* joined);
    // Meeting point of segments i and j (end tangents when tangents is set); 1 when found.
    int Intersect(int i, int j, CDpoint& at, int tangents);

    // Path tools.
    // Deletes nearly straight corner steps shorter than the next edge / 4.5; the number deleted.
    static int FilterShortPoints(CSplineItem* item);
    // Moves every smooth point between two breaks to the middle of its arc.
    static void BalanceArcPoints(CSplineItem* item);
    static void AddPoint(CSplineItem* item, CLpoint& p);
    // Neighbours on a closed path (the closing point skipped); (0, 0) out of range.
    static CLpoint GetPrevPoint(CSplineItem* item, int i);
    static CLpoint GetNextPoint(CSplineItem* item, int i);
    // Control-polygon edges that a-b (shortened by shrink at both ends) crosses, up to maxCount.
    static int GetIntersectNo(CSplineItem* item, const CLpoint& a, const CLpoint& b, double shrink,
                              int maxCount);
    static int CheckIntersectEnds(CSplineItem* a, CSplineItem* b, CLpoint& p, CLpoint& q);
    static int CheckIntersect(CSplineItem* a, CSplineItem* b, CLpoint& p, CLpoint& q);
    // Runs of coincident consecutive points: map[i] 1 for a run's first point, 4 for the rest.
    static int FindDups(CSplineItem* item, CUIntMap& map);
    static int FindDups(CSplineItem* item, CStartEndArray& runs);
    static int FindDupGroups(CSplineItem* item, CUIntMap& map, CStartEndArray& groups);
    // The first flat run of smooth points in range (out); its span, or 0.
    static int FindArcGroup(CSplineItem* item, stStartEnd& range, stStartEnd& out);
    // New items the caller owns; null for an empty rectangle, an end not above the start or a
    // sweep of more than 4096 quarter turns.
    static CSplineItem* CreateEllipse(const CRect& rect, unsigned short drawLine);
    static CSplineItem* CreateEllipse(const stEllipse& e, unsigned short drawLine);

    // Joining open paths under an article, tip to tail.
    // Articles under parent holding open spline paths; ".MERGED" reset on every article visited.
    static void fnCollateSplineItems(CArticle* parent, CPtrArray& out, int recurse);
    // 4 a's end meets b's start, 5 both starts, 6 both ends, 7 a's start meets b's end; else 0.
    static int fnGetJoinMode(CSplineItem* a, CSplineItem* b, int tolerance);
    // Index of the first article of the same palette index whose path joins item, or -1.
    static int fnFindMergeItem(CSplineItem* item, CPtrArray& articles, int tolerance, int& mode);
    // Joins b onto a; a reversed path replaces the item in its article, and a or b then name the
    // replacement.
    static void fnMerge(CSplineItem*& a, CSplineItem*& b, int mode);
    // Joins the open paths under root until a pass joins nothing or the time limit runs out; the
    // number of joins. A merged article with children keeps them and loses only its path.
    static int fnTipToTailCompress(CArticle* root, int tolerance, int recurse, int deleteMerged);

    // Sections: runs of points round the selected ones, bounded by breaks.
    int NumSections() override;
    // One flag per point (closed curve: per distinct point); the caller deletes[] it.
    int* Sections();
    int* SectionsOpen();
    int* SectionsClosed();
    // First point and count of section k; first -1 and count 0 when there is no section k.
    void Section(int k, int& first, int& count);
    void SectionOpen(int k, int& first, int& count);
    void SectionClosed(int k, int& first, int& count);

    // Segments.
    CBezier* BezierPtr(int i);
    CBezier Bezier(int i);
    CBezierArray* Bezier();

    // Building.
    void MakeClosedCurve();
    void MakeBezierArray();
    void CalcBezierArray();
    // Segments of points first .. last from segment next on; 0 for fewer than two points.
    int MakeBezier(int& next, int first, int last);
    // One element of segment i through its start, control1 and end.
    int MakeArcPkts(CPkt* out, int i);
    // One element through segment i's start and end and segment i + 1's end.
    int MakePairArcPkts(CPkt* out, int i);

    // Drawing.
    void DrawBeziers(CJoxDC* dc, int from, int to);
    void DrawSelectedPoint(CJoxDC* dc, int i) override;

    // Test seam: forgets the print thickening read once per process.
    static void fnResetPrintThickenAdj();

    // Fingerprints of the derived arrays (the keep-open bit counts with the points).
    uint64_t FingerprintPoints() const;
    uint64_t FingerprintSegments() const;
    uint64_t FingerprintElements() const;
    // True while the segments are the fit of the points and the elements their flattening at
    // level, none of the three changed since: a copy may then take the arrays over,
    // and a rebuild of them can be skipped.
    bool FlattenedFromPoints(int level) const;

protected:
    CWindow RecalcExtents() override;
    // Segments follow from the points.
    void OnPointsLoaded() override;

private:
    // Runs both passes of the flattening; levels may be null.
    void FlattenSegments(const CDWordArray* levels, int level);
    static CSplineItem* ReplaceByReversed(CSplineItem* item);
    // pointsBefore: this item's points before the crossings were inserted.
    void CutLoop(int first, int last, CSplineItemArray* pieces, int pointsBefore);
    void TrimInside(CSplineItem* other);
    // Segments a conversion may visit: those with both ends among the points.
    int SegmentsToVisit();
    // Turns point k into the start of a run p[1..n-1] of smooth points up to point k + n.
    void InsertRun(int k, int n, const CLpoint* p);
    bool TransformDistortsArcs(const CMat2d& m);
    static bool IsSpike(const CDpoint& a, const CDpoint& b, const CDpoint& c, double angleTol,
                        double distTol);
    using WindowFilter = bool (*)(CSb*, int, unsigned);
    int DeviationPass(int tolerance, unsigned options);
    // Whether every point strictly between s and e lies closer than tolerance to the s-e chord;
    // hull holds those points.
    bool RunWithinTolerance(const CPointHull& hull, int s, int e, int tolerance);
    int WindowPass(int tolerance, unsigned options, WindowFilter filter);
    // Removes the points marked in drop, keeping the order of the rest.
    void Compact(const std::vector<bool>& drop);

    CBezierArray m_Beziers;
    // What MakeCurves fitted from, and what FlattenSegments flattened; level -1 when the
    // elements are not the flattening of a fit.
    uint64_t m_nFitPoints = 0;
    uint64_t m_nFitSegments = 0;
    bool m_bFitted = false;
    uint64_t m_nFlatElements = 0;
    int m_nFlatLevel = -1;
    CBitmap m_Bitmap;
    CBrush m_Brush;
};

int IsCSplineItem(const CObject* p);
