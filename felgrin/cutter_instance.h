// A client's handle on one shared cutter: it holds the cutter for a document so that only one
// client drives it, turns a cancelled cut into -5 for every job operation, and asks the cutter
// for its media size.
#pragma once

#include "felgrin/base_cutter.h"

#include <string>

class CCutterInstance : public CObject {
    DECLARE_DYNCREATE(CCutterInstance)

public:
    // The cutter learns of the instance, so deleting the cutter clears it here.
    explicit CCutterInstance(CBaseCutter* cutter = nullptr);
    // A document it started and did not end is ended (its device closed), and the cutter let go.
    ~CCutterInstance() override;
    CCutterInstance(const CCutterInstance&) = delete;
    CCutterInstance& operator=(const CCutterInstance&) = delete;

    CBaseCutter* fnGetCutter() const { return m_pCutter; }
    int fnAttachToCutter();
    int fnDetachFromCutter();
    int fnIsAttached() const { return m_bAttached; }

    int fnStartDoc();
    int fnEndDoc();
    int fnStartPage();
    int fnEndPage();
    int fnStartOutput(int showCancel, int init);
    int fnEndOutput();
    int fnCutCancelled();

    int fnDeselect();
    int fnRecut(int count);
    int fnFeed(CLpoint* point);
    int fnPreload(const CWindow& window);
    int fnPolyMoveTo(POINT* points, int count);
    int fnWaitUntilMoved(int ticks);
    int fnPolyLineTo(POINT* points, int count);
    int fnPenUp();
    int fnPenDown();

    int fnSetExtents(CWindow* window);
    int fnSetDesignExtents(CWindow* window);
    int fnInquireExtents(CWindow* window);
    int fnInquireArcError();
    int fnInquireReturnToZero();
    int fnInquireCurrentPosition(POINT* position);
    int fnIsCurrentPosition(POINT position);
    int fnGetPortName(CString& name);
    int fnStartDesign();
    int fnEndDesign();
    void fnSetOrientation(CLpoint& from, CLpoint& to);
    void fnSendString(std::string& text);
    void fnReadString(std::string& text);
    void fnSetCutandFeed(int v);
    void fnSetOptimizeCurves(int v);
    void fnSetPreload(int v);
    int fnGetCutterModel();
    int fnSetLineStyle(int style);
    double fnGetResolution();
    int fnFeedMediaExtents();

    const CWindow& fnGetExtents() const { return m_wExtents; }
    // Called by a cutter being deleted: from then on every job operation answers "no device"
    // (CUT_ERR_NO_DEVICE), as on an instance made without a cutter.
    void fnCutterDeleted();

    // Rounds of an extents inquiry repeated without asking when "Cutter Auto Retry" is set:
    // a cutter that never answers must not hold the program for ever.
    static constexpr int kMaxAutoRetries = 10;

private:
    // CUT_ERR_NO_DEVICE without a cutter, CUT_ERR_CANCELLED after a cancelled cut, else 0.
    int Blocked();

    CBaseCutter* m_pCutter;
    int m_bAttached = 0;
    CWindow m_wExtents;
};
