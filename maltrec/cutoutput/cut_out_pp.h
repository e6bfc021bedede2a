// The sheet's "Output" page: copies, rotation, weeding, tiling, feeds and the cutter switches.
#pragma once

#include "maltrec/output_settings.h"

#include "pivora/geometry/geometry_types.h"
#include "platform/framework/combo_box.h"
#include "platform/framework/property_page.h"

class CDesignPage;
class CMediaManagerBlk;

class CCutOutPP : public CPropertyPage {
    DECLARE_DYNAMIC(CCutOutPP)
public:
    static constexpr UINT IDD = 102;
    static constexpr int IDC_WEED_SIZE = 2009;
    static constexpr int IDC_WEED_SPIN = 2010;
    static constexpr int IDC_COPIES = 2012;
    static constexpr int IDC_COPIES_SPIN = 2013;
    static constexpr int IDC_AUTO_ROTATE = 2014;
    static constexpr int IDC_VELM_SHEET_MODE = 2015;
    static constexpr int IDC_WEED_BOX = 2016;
    static constexpr int IDC_OPTIMIZE_CURVES = 2020;
    static constexpr int IDC_TILING = 2025;
    static constexpr int IDC_OVERLAP = 2031;
    static constexpr int IDC_TILE_WIDTH = 2033;
    static constexpr int IDC_TILE_HEIGHT = 2034;
    static constexpr int IDC_OVERLAP_SPIN = 2090;
    static constexpr int IDC_WIDTH_SPIN = 2091;
    static constexpr int IDC_HEIGHT_SPIN = 2092;
    static constexpr int IDC_WEED_UNIT = 2153;
    static constexpr int IDC_OVERLAP_UNIT = 2154;
    static constexpr int IDC_WIDTH_UNIT = 2155;
    static constexpr int IDC_HEIGHT_UNIT = 2156;
    static constexpr int IDC_TILE_LIST = 2171;
    static constexpr int IDC_NO_FEED = 2190;
    static constexpr int IDC_FEED_AFTER_JOB = 2191;
    static constexpr int IDC_FEED_AFTER_COPY = 2192;
    static constexpr int IDC_CUT_OFF_AFTER_FEED = 2193;
    static constexpr int IDC_BREVNAR = 2194;
    static constexpr int IDC_PRELOAD = 2195;
    static constexpr int kMaxCopies = 10000;
    static constexpr int32_t kMaxTileSize = 8000000;
    // Typed tile sizes refill the list only from here on (smaller ones are still being typed).
    static constexpr int32_t kRefillFromSize = 99000;

    CCutOutPP(CDesignPage* sheetPage, CDesignPage* designPage, StOutputSettings* settings);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // Refills the tile list from the design's extents and the tile fields.
    void FillTileList();

private:
    void ApplyEnables();
    void ShowLengths();
    void ReadLengths();
    int32_t* LengthField(int editId);
    void StepLength(int spinId, int delta);

    StOutputSettings* m_pSettings;
    CComboBox m_cbTiles;
    int m_bInchDisplay;
    CMediaManagerBlk* m_pMedMan;
    CDesignPage* m_pDesignPage;
    CWindow m_wDesignExtents;
    CString m_strWeedSize, m_strOverlap, m_strTileHeight, m_strTileWidth;
    bool m_bShowing = false;
};
