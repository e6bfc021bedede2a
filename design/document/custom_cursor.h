// CCustomCursor: a cursor that a tool draws itself in the design view, in XOR so that drawing
// it again erases it. The base keeps whether it is enabled and shown and where it was drawn;
// derived cursors draw the shape. Nothing is drawn while "Use Large Cross Hair" is off.
#pragma once

#include "platform/core/crect.h"
#include "platform/framework/cmd_target.h"

class CDesignView;
class CJoxClientDC;
class CJoxDC;
class CRgn;

class CCustomCursor : public CCmdTarget {
    DECLARE_DYNCREATE(CCustomCursor)

public:
    // The last position before the cursor was ever drawn.
    static constexpr LONG kNeverDrawn = -1000000;

    CCustomCursor() = default;

    // Moves the cursor to a client point of the view.
    virtual void vfnOnDrawCursor(CDesignView* view, const CPoint& point);
    // Nothing when unchanged; a disabled cursor is hidden first, an enabled one shown again.
    void fnEnableCursor(CDesignView* view, int enable);
    // After a paint the shape is gone from the painted area: it is drawn again only there.
    void fnRedrawCursor(CDesignView* view, CJoxDC* dc);
    // Flips "Use Large Cross Hair", hiding or showing the cursor with it.
    void fnToggleAppParam(CDesignView* view);

    int IsEnabled() const { return m_bEnabled; }
    int IsShown() const { return m_bShown; }
    const CPoint& LastPosition() const { return m_ptLast; }

protected:
    // Draws the shape once at a client point; the base draws nothing.
    virtual void vfnOnDrawCursor(CJoxClientDC*, const CPoint&) {}
    void fnHideCursor(CDesignView* view);
    void fnShowCursor(CDesignView* view);

    int m_bEnabled = 1;
    int m_bShown = 0;
    CPoint m_ptLast{kNeverDrawn, kNeverDrawn};
    CRect m_rcClient{0, 0, 0, 0};
    CRgn* m_pClipRgn = nullptr; // not owned

private:
    // One XOR drawing of the shape at each point (erase, then draw) on one context.
    void Draw(CDesignView* view, const CPoint* erase, const CPoint* draw);
};
