// CMediaManagerBlk (block 12): binds one sheet document to one installed cutter for as long as
// the document is open, and owns the sheets onto which copies of a design are nested.
#pragma once

#include "hobrand/sheet_nester.h"

#include "pivora/param_blk.h"

#include "platform/core/typed_ptr_array.h"

class CArticle;
class CCutterInstance;
class COutputDC;
class CVanterMediaManager;

class CMediaManagerBlk : public CParamBlk {
    DECLARE_SERIAL(CMediaManagerBlk)
public:
    // Record-group fields.
    enum : WORD {
        kRecSheetExtents = 0,
        kRecCutterExtents = 1,
        kRecSpacing = 2,
        kRecTileMode = 3,
        kRecSheetCount = 4,
        kRecManagerName = 9,
        kRecDeviceName = 10,
    };
    static constexpr LONG kSetupSpacing = 2000;
    // The cutter driver's answer for "no device".
    static constexpr int kNoDevice = -3;
    static constexpr int kCutterInUse = -9;
    // An extents inquiry answered from the stored extents counts as success.
    static constexpr int kExtentsStored = -10;
    // Cutter models: 3 anchors copies bottom-left, 2 cuts vinyl sheets; without a cutter the
    // model counts as 2.
    static constexpr int kModelBottomLeft = 3;
    static constexpr int kModelVinylSheet = 2;
    // Sheet documents keep two vector styles.
    static constexpr int kSheetStyles = 2;

    CMediaManagerBlk();
    explicit CMediaManagerBlk(const CString& name);
    ~CMediaManagerBlk() override;

    // Binds the cutter chosen in the dialog and starts its document; what __fnSetDevice gave.
    int fnInitToPP(CVanterMediaManager* dlg);
    CCutterInstance* fnGetCutter() const { return m_pCutter; }
    int fnDeviceName(CString& name) const;
    int fnGetPortName(CString& name) const;
    int fnIsBusy() const { return m_bBusy; }
    COutputDC* GetOutputDC() const { return m_pOutputDC; }
    void fnGetSheetExtents(CWindow* w) const;
    void fnGetCutterExt(CWindow* w) const;
    CLpoint fnGetSpace() const { return m_Spacing; }
    void fnSetSpace(const CLpoint& spacing) { m_Spacing = spacing; }
    int fnFeedEachCut() const { return m_bFeedEachCut; }
    void fnFeedEachCut(int on) { m_bFeedEachCut = on; }
    void fnSetBiteFeed(int on) { m_bBiteFeed = on; }
    int fnCheckBiteFeed() const { return m_bBiteFeed; }
    int fnCheckVinylSheet() const { return m_bVinylSheet; }
    LONG fnGetTileMode() const { return m_lTileMode; }
    void SetFeedOnDelete(int v) { m_nFeedOnDelete = v; }
    int fnGetMode() const { return m_nMode; }
    void fnSetMode(int mode) { m_nMode = mode; }
    int fnGetSheetCount() const { return m_nSheetCount; }
    // Set when a loaded sheet count disagreed with the stored sheets.
    int fnSheetCountMismatch() const { return m_bSheetCountMismatch; }
    CSheetNester* fnGetSheet(int i) const;

    void fnPageStart(int noFeed);
    int fnIsNewSheet() const;
    void fnStartOutput(int flag);
    void fnEndOutput();
    // Forwarded to the bound cutter; kNoDevice without one.
    int fnDeselectCutter();
    int fnRecut(int n);
    int fnPreload(CWindow* w);
    int fnTestExtents(CWindow* w, int autoRotate);
    int fnTestScannerExtents(CWindow* w, int autoRotate, CMat2d* mat);
    int fnCheckUtlisation() const;
    // Places and cuts the copies, page after page with the operator's consent. 1 when every
    // copy of a non-zero request was placed, or, for a request of 0 (as many as fit), when at
    // least one was; else 0.
    int fnPlaceDataOntoSheets(int reserved, CArticle* design, CWindow* extents, int copies,
                              int autoRotate);
    // Feeds the medium past the work; the line style is reset only on a running output.
    void fnFeedExtra(int extra);
    // Re-reads the medium: 0 unchanged, 1 changed (a new page was started), -1 failure.
    int fnCutExtChanged();

    void Serialize(CArchive& ar) override;

protected:
    void Init(const CString& name);
    int __fnSetDevice(const CString& name);
    void __fnSetCutterExt(CWindow* w);
    void __fnSetSheetExtents(CWindow* w);
    void __fnSetSheetMode(LONG mode);
    void __fnSetSheetVinyl(int vinyl);
    void __fnSetSpace();
    LONG __fnGetTileMode() const { return m_lTileMode; }
    int _fnDocStart();
    void _fnDocEnd();
    void _fnPageStart();
    void _fnPageEnd();
    void _fnPageFeed(int extra);
    void __fnInitSheet(int noFeed);
    void __fnInitFirstSheet() { __fnAddSheet(0); }
    void __fnAddSheet(int noFeed);
    int __fnWontFit(const CWindow* w) const;
    int __fnTileDataOntoSheet();
    // Extents of the sheet document's root article; empty without a document.
    CWindow __fnRootExtents() const;
    LONG __fnRootID() const;

    int m_bBusy = 0;

private:
    void __fnDeleteSheets();

    int m_bFeedEachCut = 0;
    int m_nMode = 0;
    COutputDC* m_pOutputDC = nullptr;
    int m_bBiteFeed = 0;
    int m_bVinylSheet = 0;
    LONG m_lTileMode = CSheetNester::kModeBottomRight;
    CLpoint m_Spacing;
    CTypedPtrArray<CObArray, CSheetNester*> m_Sheets;
    int16_t m_nSheetCount = 0;
    CWindow m_wSheetExtents;
    CWindow m_wCutterExtents;
    CCutterInstance* m_pCutter = nullptr;
    int m_bFixedExtents = 0;
    int m_nFeedOnDelete = -1;
    CString m_strManagerName;
    CString m_strDeviceName;
    int m_bPageEnded = 0;
    int m_bSheetCountMismatch = 0;
};
