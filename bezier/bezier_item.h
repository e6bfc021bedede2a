// CBezierItem: the path item edited as explicit cubic Bezier anchors and control handles, as
// with a pen tool. Its points run anchor, [handle, handle,] anchor, ...: a point whose mode word
// is exactly 0x100 is a handle, and the segment from anchor i is a cubic when point i + 1 is a
// handle, else a line. It flattens through CBezier segments at curve level 4; nothing flattened
// is stored.
#pragma once

#include "spline/bezier.h"
#include "spline/point_list_item.h"

class CSplineItem;

class CBezierItem : public CPointListItem {
    DECLARE_SERIAL(CBezierItem)
public:
    // Mode words of points.
    static constexpr DWORD kSmooth = 0;
    static constexpr DWORD kHandle = 0x100;
    static constexpr DWORD kBreak = 0x200;
    // Property bit: ends that touch do not count as closed.
    static constexpr DWORD kKeepOpenBit = 0x800;
    static constexpr int kCurveLevel = 4;
    static constexpr int kToolId = 41006;
    static constexpr int kMoveStartTolerance = 100;
    // Points within this distance of a mirror line stay where they are.
    static constexpr double kMirrorTolerance = 1.7;

    CBezierItem();
    explicit CBezierItem(int n);
    ~CBezierItem() override;

    void InitBezierItem(int n);
    CPoint Point(int i);
    // A new item with the same points, control-point window and draw line; the item part (owner,
    // properties) is not copied. perPoint copies through Vect(CSb, int), else as one block.
    CBezierItem* Copy(int perPoint);
    // Offsets and intersections of Bezier items are not built: both do nothing.
    void Displace(long distance, int side);
    void CalcIntersects();
    void DrawBeziers(CJoxDC* dc, int first, int end);
    // XOR lines from handles to their anchors.
    void DrawControls(CJoxDC* dc, int first, int end);
    void DrawSelectedControls(CJoxDC* dc, int first, int end);
    void DrawSelectedPoint(CJoxDC* dc, int index) override;
    // Puts the handles of a smooth anchor on one line through it, at their mean length.
    void BalanceControlPoints(int anchor);
    int FindHitTestPoint(CItemHitTest* ht);
    int FindHitTestLine(CItemHitTest* ht);
    // Whether every point lies inside the other item's point polygon (after the extents test).
    // An overload: reached only with a Bezier item; the virtual form tests extents only.
    int InsideOf(CBezierItem* other);

    // Overrides of CItem.
    using CVectorItem::DoTransform;
    using CVectorItem::InsideOf;
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    int HitTestPoint(CItemHitTest* ht) override;
    // The box of all points, handles included.
    CWindow FullExtents() override;
    void DoTransform(CMat2d& m) override;
    int DoMirror(CLine& line) override;
    CObject* CopyObject(CObject* target) override;

    // Overrides of CVectorItem.
    using CPointListItem::Vect;
    using CVectorItem::CurveToggle;
    using CVectorItem::MakePktArray;
    using CVectorItem::PointDelete;
    void DrawPoint(CJoxDC* dc, int index, int size, int flags) override;
    void CurveToggle(bool refresh) override;
    void PointDelete() override;
    int IsClosed(int tolerance) override;
    int IsClosedCurve(int tolerance) override;
    void Select(CJoxDC* dc, int i) override;
    // Always at curve level 4.
    void MakePktArray(int level) override;
    void UpdateViews(CJoxView* view, long hint) override;
    int DeleteElement(int first, int count) override;
    int InsertElement(int at, void* points, int count) override;
    int TransformElement(CMat2d* m, int first, int count) override;
    int ElementStr(int i, CString& out) override;
    int GetDefaultToolId() override;
    int fnCanMoveItemStart() override;
    void fnDoMoveItemStart() override;
    void fnReverse() override;

    // Own operations.
    virtual void DeselectAllControl(CJoxDC* dc);

protected:
    CWindow RecalcExtents() override;
    // The flattened path follows from the points when it is next asked for.
    void OnPointsLoaded() override;

private:
    CWindow RecalcVectorExtents();
    bool IsHandle(int i) const { return m_Points[i].flags == kHandle; }
    // The segment that starts at anchor i and the index where the next one starts. A curve
    // cut short by the end of an open path is a line to the last point.
    CBezier SegmentAt(int i, bool closed, int& next) const;

    CWindow m_ControlWindow;
};

int IsCBezierItem(const CObject* p);
// A spline item through the anchors and six samples of every cubic; null without points. The
// caller owns it.
CSplineItem* CreateSplineItem(CBezierItem* b);
