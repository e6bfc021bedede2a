// CSheetNester: one sheet of medium. It keeps the free rectangles of the sheet and places copies
// of a design into them one after the other, turning a copy by a quarter when that wastes less.
#pragma once

#include "hobrand/free_areas.h"
#include "hobrand/tile_repos.h"

#include "platform/core/object.h"

#include <cstdint>
#include <vector>

class CArchive;
class CArticle;
class CJoxPage;
class CMediaManagerBlk;
class COutputDC;

class CSheetNester : public CObject {
    DECLARE_SERIAL(CSheetNester)
public:
    // Tile-mode bits: the anchor corner, the order of the free list, trimming.
    enum : int {
        kTileBit1 = 0x1,
        kTileBit2 = 0x2,
        kTileBit4 = 0x4,
        kTileBit8 = 0x8,
        kOrderX2Desc = 0x10,
        kOrderX1Asc = 0x20,
        kOrderY1Asc = 0x40,
        kOrderY2Desc = 0x80,
        kTrim = 0x100,
        kAlternate = 0x400,
        kModeBottomLeft = 0x41,
        kModeBottomRight = 0x42,
    };
    // Record-group fields.
    enum : WORD {
        kRecExtents = 0,
        kRecFreeAreas = 1,
        kRecTileMode = 2,
        kRecSpacing = 3,
        kRecPlacement = 4,
        kRecPitch = 5,
    };
    // Footprint modes of fnGetTransArea.
    enum { kFootBare = 0, kFootPlaced = 1, kFootTurned = 2 };
    // The outline round each placed copy: a closed path of corner points, draw-line style 1.
    static constexpr int kOutlinePoints = 5;
    static constexpr int kOutlineDrawLine = 1;
    // Below this gap the x spacing is dropped so a design fits across the sheet.
    static constexpr LONG kSpacingDropGap = 10000;

    CSheetNester();
    ~CSheetNester() override = default;

    // With a window, takes it as the sheet; always resets the free list to the whole sheet.
    void fnSetSheetExtents(const CWindow* w);
    int fnIsEmptySheet() const;
    int fnEmpty_page(const CWindow* w) const;
    void fnChangeSpacingToFit(const CWindow* design);
    // A request of this many copies means as many as fit.
    static constexpr int kAsManyAsFit = 1000000;

    // Places copies of the design one after the other, copies each under the sheet's root
    // article and cuts it at once; decreases *copies by each copy placed. 1 when no copies
    // remain, 0 otherwise, -1 when the operator cancelled the cut or the output failed.
    int fnTileExtents(CWindow* design, unsigned long reserved, CArticle* article, int* copies,
                      int autoRotate);
    // The same with the design under a given matrix.
    int fnTileScannerExtents(CWindow* design, unsigned long reserved, CArticle* article,
                             int* copies, int autoRotate, const CMat2d* mat);
    // 0 no fit, 1 fits, 2 fits turned; nothing is placed.
    int fnTestExtents(const CWindow* design, int autoRotate);
    int fnTestScannerExtents(const CWindow* design, int autoRotate, const CMat2d* mat);
    // Free area as a whole percentage of the sheet area; 0 for a sheet without area.
    int fnCheckUtilisation() const;

    // The placement search: 0, 1 (placed as it is) or 2 (placed turned). Outside test mode the
    // used area leaves the free list and the list is merged.
    int fn_AutoTile(CTileRepos& rec, const CTileRepos& saved, int copiesLeft, int keep,
                    int autoRotate, int test);
    CWindow fnGetTransArea(const CTileRepos& rec, int mode) const;
    // Adds the parts of the area round the copy to the free list; returns how many parts had
    // non-negative sizes.
    int fnSplitArea(const CWindow& copy, const CWindow& area);
    void fnAmalgWindows();
    void fnInsertArea(const CWindow& w);

    const CWindow& fnGetSheetExtents() const { return m_sheet; }
    CLpoint fnGetSpace() const { return CLpoint(m_nSpacingX, m_nSpacingY); }
    void fnSetSpace(const CLpoint& spacing, int pitchX, int pitchY);
    int fnGetTileMode() const { return m_nTileMode; }
    void fnSetSheetMode(int mode);
    void fnSetSheetVinyl(int vinyl) { m_nSheetVinyl = vinyl; }
    void fnSetBiteFeed(int biteFeed) { m_nBiteFeed = biteFeed; }
    LONG fnGetRootID() const { return m_lRootID; }
    void fnSetRootID(LONG id) { m_lRootID = id; }
    void fnSetMediaMan(CMediaManagerBlk* blk) { m_pMediaMan = blk; }
    CMediaManagerBlk* __fnGetMediaManager() const { return m_pMediaMan; }
    // The media manager's page, or null.
    CJoxPage* __fnGetDocument() const;
    // The media manager's output context, or null.
    COutputDC* __fnGetOutputDC() const;
    void fnClearData();
    // The free areas in list order.
    std::vector<CWindow> fnGetFreeAreas() const { return m_free.Values(); }

    // Fit waste of n copies of height a and width b in columns in an area w x h (64-bit).
    int64_t __fnGetFitWaste(int64_t w, int64_t h, int64_t a, int64_t b, int64_t n) const;
    // Anchor corner: 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
    int __fnAnchorType(const CWindow& area, const CWindow& foot, bool alternate) const;

    void Serialize(CArchive& ar) override;

private:
    using Area = CFreeAreas::Handle;

    int __fnCheck_single_area(CTileRepos& rec, int copiesLeft, Area area, int keep, int autoRotate,
                              int test);
    int __fnCheck_amalgamate_area(CTileRepos& rec, int copiesLeft, Area area, int keep,
                                  int autoRotate, int test);
    int __fnCheck_best_fit(const CWindow& foot, const CWindow& area, int copiesLeft) const;
    // Tries the copy as it is, then turned, in the area; moves the record onto the anchor.
    int __fnFit(CTileRepos& rec, const CWindow& area, int copiesLeft, int keep, int autoRotate,
                bool alternate) const;
    // Moves the record so that the footprint's corner of the type lies on the area's; false,
    // with nothing moved, when the move would leave the coordinate range.
    bool __fnTransform_tile(CTileRepos& rec, const CWindow& area, int type) const;
    void __fnDelete_lesser_nodes(const CWindow& foot, Area keepArea);
    // The first merge in list order; false when no pair merges.
    bool __fnMergeOnce();
    void __fnSpacing(LONG& dx, LONG& dy) const;
    void __fnAddOutline(CArticle* root, CArticle* copy, const CWindow& foot);
    int __fnTile(CWindow* design, CArticle* article, int* copies, int autoRotate,
                 const CMat2d* mat);

    CWindow m_sheet;
    int m_nTileMode = kModeBottomLeft;
    int m_nSpacingX = 4000;
    int m_nSpacingY = 6000;
    int m_nPitchX = 0;
    int m_nPitchY = 0;
    WORD m_wPlacement = 1;
    LONG m_lRootID = -1;
    CMediaManagerBlk* m_pMediaMan = nullptr;
    CFreeAreas m_free;
    int m_nSheetVinyl = 0;
    int m_nBiteFeed = 0;
};
