// CTransformTool: the selection frame of a transforming tool: the extents of what it works on,
// the nine handles around them, and the transform that a drag builds.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "pivora/geometry/mat2d.h"
#include "platform/core/crect.h"

class CDesignView;
class CJoxDC;

// Data units have y up: the top edge is the high y.
enum HandleType {
    eHandleNone = 0,
    eHandleCentre = 1,
    eHandleLeft = 2,
    eHandleRight = 3,
    eHandleTop = 4,
    eHandleBottom = 5,
    eHandleTopLeft = 6,
    eHandleTopRight = 7,
    eHandleBottomLeft = 8,
    eHandleBottomRight = 9,
    eHandleBody = 10, // on a selected article, not on a handle
};

// Whether handle a moves the edge b (eHandleLeft, eHandleRight, eHandleTop or eHandleBottom).
bool HasCardinal(HandleType a, HandleType b);

class CTransformTool {
public:
    // Half the side of a handle's hit box, in pixels.
    static constexpr int nHandleSize = 3;

    CTransformTool() = default;
    CTransformTool(const CTransformTool&) = default;
    CTransformTool& operator=(const CTransformTool&) = default;
    virtual ~CTransformTool() = default;

    virtual HandleType HitTestHandles(CDesignView* view, CPoint client);
    // The handle's centre in data units.
    virtual CPoint GetHandleCentre(CDesignView* view, HandleType handle);
    virtual void SetHandleCursor(HandleType handle, int unused);
    virtual void OnDrawHandles(CJoxDC* dc);
    virtual void OnDrawExtents(CJoxDC* dc, CWindow& extents);
    virtual void OnDrawExtents(CJoxDC* dc);
    virtual void OnDrawHandlesRect(CJoxDC* dc, CRect& rect);
    virtual void OnDrawExtentsRect(CJoxDC* dc, CPoint& p1, CPoint& p2, CPoint& p3, CPoint& p4);

    // Draws the transformed extents outline in XOR on the view (again to erase it).
    void EchoExtents(CDesignView* view);

    // The handle's centre for extents e (integer halving).
    static CPoint HandleCentre(const CWindow& e, HandleType handle);

    HandleType m_HitHandle = eHandleNone;
    CWindow m_Extents{0, 0, 0, 0};
    CMat2d m_Transform;
};
