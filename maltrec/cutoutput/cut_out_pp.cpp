#include "maltrec/cutoutput/cut_out_pp.h"

#include "maltrec/cutoutput/cut_med_man_pp.h"
#include "maltrec/cutoutput/cut_output_rules.h"

#include "design/design_page.h"
#include "hobrand/media_manager_blk.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/up_down_control.h"
#include "qvutils/qv_utils.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCutOutPP, CPropertyPage)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT | UDS_ARROWKEYS;

const bool kRegistered = [] {
    using P = CCutOutPP;
    platform::RegisterDialogTemplate(DialogTemplate{
        P::IDD,
        WS_CHILD | WS_CAPTION,
        240,
        170,
        L"Output",
        L"MS Sans Serif",
        8,
        {{-1, WC_STATIC, L"Copies :", kChild, 7, 9, 40, 8},
         {P::IDC_COPIES, WC_EDIT, L"", kEdit, 50, 7, 40, 12},
         {P::IDC_COPIES_SPIN, UPDOWN_CLASS, L"", kSpin | UDS_SETBUDDYINT, 90, 7, 10, 12},
         {P::IDC_AUTO_ROTATE, WC_BUTTON, L"Auto-Rotate", kCheck, 110, 8, 80, 10},
         {P::IDC_WEED_BOX, WC_BUTTON, L"Weed Box", kCheck, 7, 26, 60, 10},
         {-1, WC_STATIC, L"Weed Size", kChild, 62, 27, 48, 8},
         {P::IDC_WEED_SIZE, WC_EDIT, L"", kEdit, 112, 25, 40, 12},
         {P::IDC_WEED_SPIN, UPDOWN_CLASS, L"", kSpin, 152, 25, 10, 12},
         {P::IDC_WEED_UNIT, WC_STATIC, L"(mm)", kChild, 165, 27, 30, 8},
         {P::IDC_TILING, WC_BUTTON, L"Tiling", kCheck, 7, 44, 60, 10},
         {-1, WC_STATIC, L"Overlap", kChild, 62, 45, 48, 8},
         {P::IDC_OVERLAP, WC_EDIT, L"", kEdit, 112, 43, 40, 12},
         {P::IDC_OVERLAP_SPIN, UPDOWN_CLASS, L"", kSpin, 152, 43, 10, 12},
         {P::IDC_OVERLAP_UNIT, WC_STATIC, L"(mm)", kChild, 165, 45, 30, 8},
         {-1, WC_STATIC, L"Width", kChild, 62, 59, 48, 8},
         {P::IDC_TILE_WIDTH, WC_EDIT, L"", kEdit, 112, 57, 40, 12},
         {P::IDC_WIDTH_SPIN, UPDOWN_CLASS, L"", kSpin, 152, 57, 10, 12},
         {P::IDC_WIDTH_UNIT, WC_STATIC, L"(mm)", kChild, 165, 59, 30, 8},
         {-1, WC_STATIC, L"Height", kChild, 62, 73, 48, 8},
         {P::IDC_TILE_HEIGHT, WC_EDIT, L"", kEdit, 112, 71, 40, 12},
         {P::IDC_HEIGHT_SPIN, UPDOWN_CLASS, L"", kSpin, 152, 71, 10, 12},
         {P::IDC_HEIGHT_UNIT, WC_STATIC, L"(mm)", kChild, 165, 73, 30, 8},
         {-1, WC_STATIC, L"Tile", kChild, 62, 89, 48, 8},
         {P::IDC_TILE_LIST, WC_COMBOBOX, L"", kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
          112, 87, 60, 80},
         {P::IDC_NO_FEED, WC_BUTTON, L"No Feed",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 108, 70, 10},
         {P::IDC_FEED_AFTER_JOB, WC_BUTTON, L"Feed after Job", kChild | BS_AUTORADIOBUTTON, 7, 120,
          88, 10},
         {P::IDC_FEED_AFTER_COPY, WC_BUTTON, L"Feed after Copy", kChild | BS_AUTORADIOBUTTON, 7,
          132, 88, 10},
         {P::IDC_CUT_OFF_AFTER_FEED, WC_BUTTON, L"Cut off after Feed", kCheck | WS_GROUP, 7, 146,
          88, 10},
         {P::IDC_BREVNAR, WC_BUTTON, L"Cut red lines in Brevnar mode", kCheck, 98, 108, 140, 10},
         {P::IDC_VELM_SHEET_MODE, WC_BUTTON, L"VELM sheet mode", kCheck, 98, 120, 140, 10},
         {P::IDC_OPTIMIZE_CURVES, WC_BUTTON, L"Optimize curves", kCheck, 98, 132, 140, 10},
         {P::IDC_PRELOAD, WC_BUTTON, L"Preload", kCheck, 98, 146, 140, 10}}});
    return true;
}();

constexpr int kUnitLabels[] = {CCutOutPP::IDC_WEED_UNIT, CCutOutPP::IDC_OVERLAP_UNIT,
                               CCutOutPP::IDC_WIDTH_UNIT, CCutOutPP::IDC_HEIGHT_UNIT};

} // namespace

CCutOutPP::CCutOutPP(CDesignPage* sheetPage, CDesignPage* designPage, StOutputSettings* settings)
    : CPropertyPage(IDD), m_pSettings(settings), m_bInchDisplay(QvGetInchDisplayOn()),
      m_pMedMan(FnSheetMediaManager(sheetPage)), m_pDesignPage(designPage) {
    (void)kRegistered;
    if (m_pMedMan) {
        CWindow cutter;
        m_pMedMan->fnGetCutterExt(&cutter);
        m_pSettings->m_nTileWidth =
            int32_t(std::min<int64_t>(int64_t(cutter.x2) - cutter.x1, kMaxTileSize));
        m_pSettings->m_nTileHeight =
            int32_t(std::min<int64_t>(int64_t(cutter.y2) - cutter.y1, kMaxTileSize));
    } else {
        m_pSettings->m_nTileWidth = m_pSettings->m_nTileHeight = 0;
    }
    if (m_pDesignPage)
        m_wDesignExtents = m_pDesignPage->Extents();
}

void CCutOutPP::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_TILE_LIST, m_cbTiles);
    DDX_Text(dx, IDC_COPIES, m_pSettings->m_nCopies);
    DDV_MinMaxInt(dx, m_pSettings->m_nCopies, 0, kMaxCopies);
    DDX_Check(dx, IDC_AUTO_ROTATE, m_pSettings->m_bAutoRotate);
    DDX_Check(dx, IDC_WEED_BOX, m_pSettings->m_bWeedBox);
    DDX_Check(dx, IDC_TILING, m_pSettings->m_bTiling);
    DDX_Radio(dx, IDC_NO_FEED, m_pSettings->m_nFeedOption);
    DDX_Check(dx, IDC_CUT_OFF_AFTER_FEED, m_pSettings->m_bCutOffAfterFeed);
    DDX_Check(dx, IDC_BREVNAR, m_pSettings->m_bBrevnar);
    DDX_Check(dx, IDC_VELM_SHEET_MODE, m_pSettings->m_bVelmSheetMode);
    DDX_Check(dx, IDC_OPTIMIZE_CURVES, m_pSettings->m_bOptimizeCurves);
    DDX_Check(dx, IDC_PRELOAD, m_pSettings->m_bPreload);
    if (dx->m_bSaveAndValidate && m_cbTiles.m_hWnd) {
        const int at = m_cbTiles.GetCurSel();
        m_pSettings->m_nTileToCut = at <= 0 ? -1 : at;
    }
}

BOOL CCutOutPP::OnInitDialog() {
    FnOutputPageCoerce(*m_pSettings);
    CPropertyPage::OnInitDialog();
    if (auto* spin = GetDlgItem(IDC_COPIES_SPIN)) {
        ::SendMessageW(spin->m_hWnd, UDM_SETBUDDY,
                       reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_COPIES)), 0);
        ::SendMessageW(spin->m_hWnd, UDM_SETRANGE32, 0, kMaxCopies);
        ::SendMessageW(spin->m_hWnd, UDM_SETPOS32, 0, m_pSettings->m_nCopies);
    }
    for (int spin : {IDC_WEED_SPIN, IDC_OVERLAP_SPIN, IDC_WIDTH_SPIN, IDC_HEIGHT_SPIN})
        SendDlgItemMessageW(m_hWnd, spin, UDM_SETRANGE32, 0, kMaxTileSize);
    if (m_bInchDisplay)
        for (int id : kUnitLabels)
            SetDlgItemTextW(m_hWnd, id, L"(in)");
    ShowLengths();
    FillTileList();
    ApplyEnables();
    return TRUE;
}

BOOL CCutOutPP::OnSetActive() {
    const BOOL r = CPropertyPage::OnSetActive();
    if (m_pSettings->m_bWeedBox && m_pSettings->m_bTiling) {
        m_pSettings->m_bTiling = 0;
        CheckDlgButton(m_hWnd, IDC_TILING, BST_UNCHECKED);
    }
    ApplyEnables();
    return r;
}

void CCutOutPP::OnOK() {
    UpdateData(TRUE);
    ReadLengths();
}

void CCutOutPP::ShowLengths() {
    m_bShowing = true;
    m_strWeedSize = FnFormatLength(m_pSettings->m_nWeedMargin, m_bInchDisplay);
    m_strOverlap = FnFormatLength(m_pSettings->m_nTileOverlap, m_bInchDisplay);
    m_strTileWidth = FnFormatLength(m_pSettings->m_nTileWidth, m_bInchDisplay);
    m_strTileHeight = FnFormatLength(m_pSettings->m_nTileHeight, m_bInchDisplay);
    SetDlgItemTextW(m_hWnd, IDC_WEED_SIZE, m_strWeedSize);
    SetDlgItemTextW(m_hWnd, IDC_OVERLAP, m_strOverlap);
    SetDlgItemTextW(m_hWnd, IDC_TILE_WIDTH, m_strTileWidth);
    SetDlgItemTextW(m_hWnd, IDC_TILE_HEIGHT, m_strTileHeight);
    m_bShowing = false;
}

void CCutOutPP::ReadLengths() {
    for (int id : {IDC_WEED_SIZE, IDC_OVERLAP, IDC_TILE_HEIGHT, IDC_TILE_WIDTH}) {
        CString text;
        GetDlgItemText(id, text);
        *LengthField(id) = FnParseLength(text, m_bInchDisplay);
    }
}

int32_t* CCutOutPP::LengthField(int editId) {
    switch (editId) {
    case IDC_WEED_SIZE:
        return &m_pSettings->m_nWeedMargin;
    case IDC_OVERLAP:
        return &m_pSettings->m_nTileOverlap;
    case IDC_TILE_WIDTH:
        return &m_pSettings->m_nTileWidth;
    default:
        return &m_pSettings->m_nTileHeight;
    }
}

void CCutOutPP::ApplyEnables() {
    const StOutputEnables e = FnOutputPageEnables(*m_pSettings);
    auto enable = [&](std::initializer_list<int> ids, bool on) {
        for (int id : ids)
            if (CWnd* w = GetDlgItem(id))
                w->EnableWindow(on);
    };
    enable({IDC_COPIES, IDC_COPIES_SPIN}, e.copies);
    enable({IDC_AUTO_ROTATE}, e.autoRotate);
    enable({IDC_WEED_BOX}, e.weedBox);
    enable({IDC_WEED_SIZE, IDC_WEED_SPIN, IDC_WEED_UNIT}, e.weedSize);
    enable({IDC_TILING}, e.tiling);
    enable({IDC_OVERLAP, IDC_OVERLAP_SPIN, IDC_OVERLAP_UNIT, IDC_TILE_WIDTH, IDC_WIDTH_SPIN,
            IDC_WIDTH_UNIT, IDC_TILE_HEIGHT, IDC_HEIGHT_SPIN, IDC_HEIGHT_UNIT},
           e.tileFields);
    enable({IDC_TILE_LIST}, e.tileList);
    enable({IDC_NO_FEED, IDC_FEED_AFTER_JOB, IDC_FEED_AFTER_COPY}, e.feedChoices);
    enable({IDC_CUT_OFF_AFTER_FEED}, e.cutOffAfterFeed);
    enable({IDC_VELM_SHEET_MODE}, e.velmSheetMode);
    enable({IDC_PRELOAD}, e.preload);
}

void CCutOutPP::FillTileList() {
    if (!m_pDesignPage || !m_cbTiles.m_hWnd)
        return;
    const StOutputSettings& s = *m_pSettings;
    // Counted with the steps the tiling loop takes, so that every number names a tile it cuts.
    CWindow sheet(0, 0, INT32_MAX, INT32_MAX);
    if (m_pMedMan)
        m_pMedMan->fnGetSheetExtents(&sheet);
    const CWindow w = FnTileWindow(sheet, s.m_nTileWidth, s.m_nTileHeight, s.m_nTileOverlap);
    const int64_t nx = FnTilesAlong(int64_t(m_wDesignExtents.x2) - m_wDesignExtents.x1,
                                    FnTileAdvance(int64_t(w.x2) - w.x1, s.m_nTileOverlap));
    const int64_t ny = FnTilesAlong(int64_t(m_wDesignExtents.y2) - m_wDesignExtents.y1,
                                    FnTileAdvance(int64_t(w.y2) - w.y1, s.m_nTileOverlap));
    const int previous = m_cbTiles.GetCurSel();
    m_cbTiles.ResetContent();
    for (const CString& row : FnTileList(nx * ny))
        m_cbTiles.AddString(row);
    // A choice the new list does not hold falls back to all tiles.
    int choice = s.m_nTileToCut < 0 ? 0 : s.m_nTileToCut;
    if (previous > 0 && choice == 0)
        choice = previous;
    if (choice >= m_cbTiles.GetCount())
        choice = 0;
    m_cbTiles.SetCurSel(choice);
    m_pSettings->m_nTileToCut = choice == 0 ? -1 : choice;
}

void CCutOutPP::StepLength(int spinId, int delta) {
    const int edit = spinId == IDC_WEED_SPIN      ? IDC_WEED_SIZE
                     : spinId == IDC_OVERLAP_SPIN ? IDC_OVERLAP
                     : spinId == IDC_WIDTH_SPIN   ? IDC_TILE_WIDTH
                                                  : IDC_TILE_HEIGHT;
    CString text;
    GetDlgItemText(edit, text);
    int32_t* field = LengthField(edit);
    const int64_t v = int64_t(FnParseLength(text, m_bInchDisplay)) +
                      (delta > 0 ? 1 : -1) * int64_t(FnLengthStep(m_bInchDisplay));
    *field = int32_t(std::clamp<int64_t>(v, 0, INT32_MAX));
    m_bShowing = true;
    SetDlgItemTextW(m_hWnd, edit, FnFormatLength(*field, m_bInchDisplay));
    m_bShowing = false;
    if (edit != IDC_WEED_SIZE)
        FillTileList();
}

BOOL CCutOutPP::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        auto* n = reinterpret_cast<NMUPDOWN*>(lp);
        const int id = int(n->hdr.idFrom);
        if (n->hdr.code == UDN_DELTAPOS && (id == IDC_WEED_SPIN || id == IDC_OVERLAP_SPIN ||
                                            id == IDC_WIDTH_SPIN || id == IDC_HEIGHT_SPIN)) {
            StepLength(id, n->iDelta);
            if (result)
                *result = 1; // the page moved the value; the control keeps still
            return TRUE;
        }
    }
    return CPropertyPage::OnWndMsg(msg, wp, lp, result);
}

BOOL CCutOutPP::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp), code = HIWORD(wp);
    StOutputSettings& s = *m_pSettings;
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_WEED_BOX:
            s.m_bWeedBox = IsDlgButtonChecked(m_hWnd, IDC_WEED_BOX) == BST_CHECKED;
            if (s.m_bWeedBox) {
                s.m_bTiling = 0;
                CheckDlgButton(m_hWnd, IDC_TILING, BST_UNCHECKED);
            }
            ApplyEnables();
            return TRUE;
        case IDC_TILING:
            s.m_bTiling = IsDlgButtonChecked(m_hWnd, IDC_TILING) == BST_CHECKED;
            if (s.m_bTiling) {
                s.m_bWeedBox = 0;
                CheckDlgButton(m_hWnd, IDC_WEED_BOX, BST_UNCHECKED);
            }
            ApplyEnables();
            return TRUE;
        case IDC_NO_FEED:
        case IDC_FEED_AFTER_JOB:
        case IDC_FEED_AFTER_COPY:
            s.m_nFeedOption = id - IDC_NO_FEED;
            if (s.m_nFeedOption == eFeedNone) {
                s.m_bCutOffAfterFeed = 0;
                CheckDlgButton(m_hWnd, IDC_CUT_OFF_AFTER_FEED, BST_UNCHECKED);
            }
            ApplyEnables();
            return TRUE;
        case IDC_BREVNAR:
            s.m_bBrevnar = IsDlgButtonChecked(m_hWnd, IDC_BREVNAR) == BST_CHECKED;
            if (s.m_bBrevnar || s.IsVELMMode()) {
                s.m_nFeedOption = eFeedAfterCopy;
                for (int k = IDC_NO_FEED; k <= IDC_FEED_AFTER_COPY; ++k)
                    CheckDlgButton(m_hWnd, k,
                                   k == IDC_FEED_AFTER_COPY ? BST_CHECKED : BST_UNCHECKED);
            }
            ApplyEnables();
            return TRUE;
        default:
            break;
        }
    }
    if (code == CBN_SELCHANGE && id == IDC_TILE_LIST) {
        const int at = m_cbTiles.GetCurSel();
        s.m_nTileToCut = at <= 0 ? -1 : at;
        return TRUE;
    }
    if (code == EN_CHANGE && !m_bShowing && (id == IDC_TILE_WIDTH || id == IDC_TILE_HEIGHT)) {
        CString text;
        GetDlgItemText(id, text);
        *LengthField(id) = FnParseLength(text, m_bInchDisplay);
        if (*LengthField(id) > kRefillFromSize)
            FillTileList();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wp, lp);
}
