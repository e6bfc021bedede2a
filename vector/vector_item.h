// CVectorItem: the common base of every path item (spline and Bezier items). It keeps the
// flattened path (line and arc elements) that drawing, extents and the path measures work on,
// the sorted selection of control points, a companion item, the reflectedness of each control
// point for symmetric editing, and the one stored value: the draw-line number.
// CDb: a mode word and two points; one control point as a degenerate segment, or a hatch stroke.
#pragma once

#include "pivora/geometry/pkt.h"
#include "pivora/geometry/sb.h"
#include "pivora/item.h"

#include "platform/core/array.h"
#include "platform/core/crect.h"
#include "platform/core/cstring.h"
#include "platform/core/dword_array.h"
#include "platform/core/ob_list.h"
#include "platform/core/ptr_array.h"
#include "platform/core/typed_ptr_list.h"
#include "platform/core/uint_array.h"

class CJoxDC;
class CJoxView;
class CMat2d;
class CVectorArticle;
class CVectorItem;

class CDb {
public:
    WORD mode = 0;
    CLpoint start;
    CLpoint end;

    CDb() = default;
    CDb(WORD m, const CLpoint& s, const CLpoint& e) : mode(m), start(s), end(e) {}
    bool operator==(const CDb&) const = default;
};

using CPktArray = CArray<CPkt, CPkt&>;
using CSbArray = CArray<CSb, CSb&>;
using CVectorItemList = CTypedPtrList<CObList, CVectorItem*>;

class CVectorItem : public CItem {
    DECLARE_SERIAL(CVectorItem)
public:
    // Record id of the item's group.
    static constexpr WORD kRecDrawLine = 0;
    // The tool a path item is edited with.
    static constexpr int kDefaultToolId = 41002;
    // Grow-by of the selection.
    static constexpr int kSelectionGrowBy = 100;
    // Reflectedness values.
    static constexpr UINT kReflectMoved = 0;
    static constexpr UINT kReflectCentre = 1;
    static constexpr UINT kReflectMirrored = 2;
    // Directions of SelectNeighbouringElement.
    static constexpr UINT kNeighbourBack1 = 1;
    static constexpr UINT kNeighbourBack2 = 2;
    static constexpr UINT kNeighbourForward1 = 3;
    static constexpr UINT kNeighbourForward2 = 4;

    CVectorItem();
    explicit CVectorItem(int n);
    ~CVectorItem() override;

    void InitVectorItem(int n);
    // The owning article when it is a vector article, else null.
    CVectorArticle* GetArticle() const;
    // Draws elements first .. last-1, each from the current position.
    void DrawPkts(CJoxDC* dc, int first, int last);
    void ReindexSelectedElements(int n);
    void TransformSelectedElements(CMat2d* m);
    void AutoPan(CJoxView* view, int element);
    CVectorItem* fnGetCompanion() const { return m_pCompanion; }
    void fnSetCompanion(CVectorItem* companion) { m_pCompanion = companion; }
    // Raises the invalid-argument exception outside the array.
    void ReflectedVect(int i, unsigned value);
    // 0 outside the array.
    UINT ReflectedVect(int i) const;
    CUIntArray& Reflectednesses() { return m_Reflectedness; }
    double fnDistanceAlongPath(CLpoint& p, int& element);

    // Overrides of CItem.
    using CItem::DoTransform;
    using CItem::InsideOf;
    void Serialize(CArchive& ar) override;
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    void DoTransform(CMat2d& m) override;
    CObject* CopyObject(CObject* target) override;

    // The path item's own operations, in slot order.
    virtual void DrawPoint(CJoxDC* dc, int i, int size, int mode);
    virtual void OnDrawPoints(CJoxView* view, CJoxDC* dc);
    virtual void OnDrawSpot(CJoxView* view, CJoxDC* dc);
    virtual void DrawSelectedPoints(CJoxDC* dc);
    virtual void SelectAll();
    virtual void DeselectAll(CJoxDC* dc);
    virtual void CurveToggle(int element, bool refresh);
    virtual void CurveToggle(bool refresh);
    virtual void PointDelete(int element, bool update);
    virtual void PointDelete();
    virtual int IsEmpty();
    virtual int IsClosed(int mode);
    virtual int IsClosedCurve(int mode);
    virtual void MakeCurves();
    virtual int ConvertArcs(int level);
    virtual int ConvertLines(int a, int b);
    // Crossings of segment a-b with the path: a new array of count points that the caller
    // deletes with delete[], or null with count 0.
    virtual CLpoint* fnGetIntersects(CLpoint* a, CLpoint* b, int& count, int onSegment);
    virtual int InsideOf(CVectorItem* other);
    virtual void DrawLine(int number);
    virtual int DrawLine() const;
    virtual int VectCount();
    virtual CSb* VectPtr(int i);
    virtual void Vect(CSb p, int i);
    virtual void Vect(CSb p);
    virtual CSb Vect(int i);
    virtual CSbArray* Vect();
    virtual void DelVect(int first, int count);
    virtual void DelVect();
    virtual CDb VectDb(int i);
    virtual CPkt* PktPtr(int i);
    virtual void Pkt(CPkt p, int i);
    virtual void Pkt(CPkt p);
    virtual CPkt Pkt(int i);
    virtual CPktArray* Pkt();
    virtual void DelPkt(int first, int count);
    virtual void DelPkt();
    virtual void Select(CJoxDC* dc, int element);
    virtual bool Selected(int element);
    virtual void MakePktArray(CDWordArray* levels, int level);
    virtual void MakePktArray(int level);
    virtual void OpenUp(int element, int n);
    virtual int GetDpkt(int i, CDpkt& d);
    virtual void FixOldDesigns();
    virtual void BuildHitVectorList(CVectorItemList* list);
    virtual void UpdateViews(CJoxView* view, long hint);
    virtual int NumSelectedPoints();
    virtual int SelectElement(int element);
    virtual int DeselectElement(int element);
    virtual int DeselectElements(int first, int last);
    virtual int DeselectAllElements();
    virtual const CUIntArray& SelectedElements() const;
    virtual int SelectNeighbouringElement(unsigned direction);
    virtual int ElementCount();
    virtual CLpoint GetElementPos(int element);
    virtual int DeleteElement(int element, int count);
    virtual int InsertElement(int at, void* data, int count);
    virtual int TransformElement(CMat2d* m, int first, int count);
    virtual int ElementStr(int i, CString& out);
    virtual int ElementData(int i, unsigned char** data, int& size);
    virtual int ElementOnScreen(CRect r, CPoint a, CPoint b);
    virtual int NumSections();
    // Entries of extra, when present: [0] int* element index, [1] double* distance left
    // within it, [2] double* total length (closed paths).
    virtual int PointAlongPath(double dist, CLpoint& point, double& angle,
                               CPtrArray* extra = nullptr);
    // element starts at -1 and elementStart at 0.0; the pair carries the walk between calls.
    virtual int NextPointAlongPath(double dist, CLpoint& point, double& angle, int& element,
                                   double& elementStart);
    virtual double GetLength();
    virtual double GetArea();
    virtual void Bolden(int on);
    virtual int GetDefaultToolId();
    virtual int fnCanInsertXformLines();
    virtual int fnCanInsertXformArcs();
    virtual int fnCanMoveItemStart();
    virtual void fnDoMoveItemStart();
    virtual int ApplySimpleFilter(int a, int b, unsigned flags);
    virtual void fnCheckStability();
    virtual int fnGetDistance(CLpoint p, double& dist);
    virtual CWindow RecalcPktExtents();
    virtual void fnReverse();
    virtual bool ReflectedVect(int i, int& lo, int& hi);
    virtual void FindReflectednessWrtHitPoint(int hit);
    virtual void SelectReflection(int i, int mirror);

protected:
    CWindow RecalcExtents() override;
    // Position of element in the sorted selection, or -1.
    int SelectedPosition(int element) const;
    // Flattens through the derived item when the path is empty.
    void EnsurePkts(int level);

    CUIntArray m_SelectedElements;
    WORD m_nDrawLine = 1;
    CPktArray m_PktArray;
    CVectorItem* m_pCompanion = nullptr;
    CUIntArray m_Reflectedness;
};

int IsCVectorItem(const CObject* o);
// The on-screen thickness of path items, 0..5; (void*)-1 forgets the cached parameter.
int FnGetScreenVectorThickness(void* reset);
// Forgets the cached "Vector Draw Spots" parameter (CVectorArticle::fnResetCachedParams).
void FnVectorItemResetSpotCache();

// The moves AutoPan makes, in device units, for a point p outside the client rectangle r:
// the intermediate origins and then the final one; empty when p lies inside r or when the
// rectangle is too small to have a margin.
void FnAutoPanMoves(const CRect& r, const CPoint& p, CArray<CPoint, CPoint>& moves);
