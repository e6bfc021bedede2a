#include "hobrand/media_manager_blk.h"

#include "hobrand/hobrand_strings.h"
#include "hobrand/vanter_media_manager.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/output_dc.h"
#include "pivora/article.h"
#include "pivora/document/record_fields.h"
#include "pivora/jox_page.h"
#include "pivora/scope_guard.h"
#include "vector/vector_style_pb.h"

#include "platform/core/array_archive.h"
#include "platform/windowing/message_box.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CMediaManagerBlk, CParamBlk, 0)

namespace {

// An empty root article spans the empty sentinels: this width.
constexpr int64_t kEmptyExtentWidth = -199999998;

bool SoundRect(const CWindow& w) {
    return w.x1 <= w.x2 && w.y1 <= w.y2 && int64_t(w.x2) - w.x1 <= INT32_MAX &&
           int64_t(w.y2) - w.y1 <= INT32_MAX;
}

} // namespace

CMediaManagerBlk::CMediaManagerBlk() : CParamBlk(kMediaManagerId) {
    Init(CString());
}

CMediaManagerBlk::CMediaManagerBlk(const CString& name) : CParamBlk(kMediaManagerId) {
    Init(name);
}

void CMediaManagerBlk::Init(const CString& name) {
    m_strManagerName = name;
    m_strDeviceName = CString();
    m_nMode = 0;
    m_nSheetCount = 0;
    m_pCutter = nullptr;
    m_bBusy = 0;
    m_bFixedExtents = 0;
    m_bPageEnded = 0;
    m_nFeedOnDelete = -1;
    m_bFeedEachCut = 0;
    m_pOutputDC = nullptr;
    m_bVinylSheet = 0;
}

CMediaManagerBlk::~CMediaManagerBlk() {
    if (m_pCutter) {
        if (m_Sheets.GetSize() > 0)
            _fnPageEnd();
        CSheetNester* newest =
            m_Sheets.GetSize() > 0 ? m_Sheets.GetAt(m_Sheets.GetSize() - 1) : nullptr;
        if (newest && !newest->fnIsEmptySheet() && m_nFeedOnDelete == -1) {
            const int answer =
                HobrandMessageBox(IDS_MOVE_ORIGIN_TO_END, HobrandLoadString(IDS_MOVE_ORIGIN_TO_END),
                                  MB_YESNO | MB_ICONQUESTION);
            m_nFeedOnDelete = answer == IDYES ? 1 : 0;
        }
        if (m_nFeedOnDelete == 1)
            _fnPageFeed(0);
        _fnDocEnd();
    }
    // The output context ends the cutter's output, so it goes before the instance.
    delete m_pOutputDC;
    m_pOutputDC = nullptr;
    delete m_pCutter;
    m_pCutter = nullptr;
    __fnDeleteSheets();
}

void CMediaManagerBlk::__fnDeleteSheets() {
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        delete m_Sheets.GetAt(i);
    m_Sheets.RemoveAll();
}

int CMediaManagerBlk::fnDeviceName(CString& name) const {
    name = m_strDeviceName;
    return name.GetLength();
}

int CMediaManagerBlk::fnGetPortName(CString& name) const {
    name = CString();
    if (m_pCutter)
        m_pCutter->fnGetPortName(name);
    return name.GetLength();
}

void CMediaManagerBlk::fnGetSheetExtents(CWindow* w) const {
    if (w)
        *w = m_wSheetExtents;
}

void CMediaManagerBlk::fnGetCutterExt(CWindow* w) const {
    if (w)
        *w = m_wCutterExtents;
}

CSheetNester* CMediaManagerBlk::fnGetSheet(int i) const {
    return i >= 0 && i < m_Sheets.GetSize() ? m_Sheets.GetAt(i) : nullptr;
}

int CMediaManagerBlk::fnInitToPP(CVanterMediaManager* dlg) {
    if (!dlg)
        return 0;
    int model = kModelVinylSheet;
    if (std::unique_ptr<CCutterInstance> probe{
            FelgrinUtils::GetCutterInstance(dlg->m_strCutterName)}) {
        model = probe->fnGetCutterModel();
        if (CJoxPage* page = GetDocument()) {
            if (auto* styles =
                    dynamic_cast<CVectorStylePB*>(page->FindParam(CParamBlk::kVectorStyleId)))
                styles->fnResize(kSheetStyles);
            else
                page->AddParam(new CVectorStylePB(page, kSheetStyles));
        }
    }
    CWindow extents = dlg->m_wExtents;
    const LONG mode =
        model == kModelBottomLeft ? CSheetNester::kModeBottomLeft : CSheetNester::kModeBottomRight;
    const int bound = __fnSetDevice(dlg->m_strCutterName);
    if (bound != 1)
        return bound;
    if (dlg->m_nInquiryResult == kNoDevice)
        m_bFixedExtents = 1;
    // A document start that fails was reported; the block stays, its settings unset.
    if (m_pCutter && _fnDocStart() == 0) {
        __fnSetSheetMode(mode);
        __fnSetSpace();
        __fnSetCutterExt(&extents);
        __fnSetSheetExtents(&extents);
        __fnSetSheetVinyl(model == kModelVinylSheet);
    }
    return 1;
}

int CMediaManagerBlk::__fnSetDevice(const CString& name) {
    m_strDeviceName = name;
    delete m_pCutter;
    m_pCutter = FelgrinUtils::GetCutterInstance(name);
    return m_pCutter ? 1 : 0;
}

void CMediaManagerBlk::__fnSetCutterExt(CWindow* w) {
    if (!w)
        return;
    m_wCutterExtents = *w;
    if (m_pCutter)
        m_pCutter->fnSetExtents(w);
}

void CMediaManagerBlk::__fnSetSheetExtents(CWindow* w) {
    if (!w)
        return;
    m_wSheetExtents = *w;
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        m_Sheets.GetAt(i)->fnSetSheetExtents(w);
}

void CMediaManagerBlk::__fnSetSheetMode(LONG mode) {
    m_lTileMode = mode;
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        m_Sheets.GetAt(i)->fnSetSheetMode(mode);
}

void CMediaManagerBlk::__fnSetSheetVinyl(int vinyl) {
    m_bVinylSheet = vinyl;
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        m_Sheets.GetAt(i)->fnSetSheetVinyl(vinyl);
}

void CMediaManagerBlk::__fnSetSpace() {
    m_Spacing = CLpoint(kSetupSpacing, kSetupSpacing);
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        m_Sheets.GetAt(i)->fnSetSpace(m_Spacing, 0, 0);
}

int CMediaManagerBlk::_fnDocStart() {
    if (!m_pCutter)
        return 0;
    const int code = m_pCutter->fnStartDoc();
    if (code == kCutterInUse) {
        HobrandMessageBox(IDS_CUTTER_IN_USE, HobrandLoadString(IDS_CUTTER_IN_USE), MB_OK);
    } else if (code) {
        CString text;
        text.Format(HobrandLoadString(IDS_ERROR_ABORTING_CUT), code);
        HobrandMessageBox(IDS_ERROR_ABORTING_CUT, text, MB_OK);
    }
    return code;
}

void CMediaManagerBlk::_fnDocEnd() {
    if (m_pCutter)
        m_pCutter->fnEndDoc();
}

void CMediaManagerBlk::_fnPageStart() {
    if (m_pCutter && m_Sheets.GetSize() > 0) {
        m_pCutter->fnStartPage();
        m_bPageEnded = 0;
    }
}

void CMediaManagerBlk::_fnPageEnd() {
    if (m_pCutter && m_Sheets.GetSize() > 0) {
        m_pCutter->fnEndPage();
        m_bPageEnded = 1;
    }
}

CWindow CMediaManagerBlk::__fnRootExtents() const {
    CJoxPage* page = GetDocument();
    CArticle* root = page ? page->RootArticle() : nullptr;
    return root ? root->Extents(0) : CWindow::EmptyExtent();
}

LONG CMediaManagerBlk::__fnRootID() const {
    CJoxPage* page = GetDocument();
    CArticle* root = page ? page->RootArticle() : nullptr;
    return root ? root->GetID() : -1;
}

void CMediaManagerBlk::_fnPageFeed(int extra) {
    if (!m_pCutter)
        return;
    if (m_Sheets.GetSize() == 0 || !m_bPageEnded) {
        m_bPageEnded = 0;
        return;
    }
    const CWindow r = __fnRootExtents();
    const int64_t width = int64_t(r.x2) - r.x1;
    CLpoint point;
    if (width == kEmptyExtentWidth || width == 0) {
        if (extra == 0)
            return;
        point = CLpoint(extra, extra);
    } else {
        point = CLpoint(r.x2 + extra, r.y2 + extra);
    }
    if (point.y == 0)
        return;
    m_pCutter->fnFeed(&point);
    m_bPageEnded = 0;
}

void CMediaManagerBlk::__fnAddSheet(int noFeed) {
    auto* sheet = new CSheetNester;
    sheet->fnSetMediaMan(this);
    sheet->fnSetRootID(__fnRootID());
    sheet->fnSetSheetExtents(&m_wSheetExtents);
    sheet->fnSetSpace(m_Spacing, 0, 0);
    sheet->fnSetSheetMode(int(m_lTileMode));
    sheet->fnSetSheetVinyl(m_bVinylSheet);
    sheet->fnSetBiteFeed(m_bBiteFeed);
    _fnPageEnd();
    if (!noFeed)
        _fnPageFeed(0);
    m_Sheets.Add(sheet);
    ++m_nSheetCount;
    _fnPageStart();
}

void CMediaManagerBlk::__fnInitSheet(int noFeed) {
    if (m_Sheets.GetSize() == 0) {
        __fnInitFirstSheet();
        return;
    }
    _fnPageEnd();
    if (!noFeed)
        _fnPageFeed(0);
    CSheetNester* sheet = m_Sheets.GetAt(0);
    sheet->fnSetSheetExtents(&m_wSheetExtents);
    sheet->fnClearData();
    sheet->fnSetSpace(m_Spacing, 0, 0);
    sheet->fnSetSheetMode(int(m_lTileMode));
    _fnPageStart();
}

void CMediaManagerBlk::fnPageStart(int noFeed) {
    __fnInitSheet(noFeed);
}

int CMediaManagerBlk::fnIsNewSheet() const {
    return m_Sheets.GetSize() == 0 || m_Sheets.GetAt(m_Sheets.GetSize() - 1)->fnIsEmptySheet();
}

void CMediaManagerBlk::fnStartOutput(int flag) {
    if (m_pCutter && !m_pOutputDC)
        m_pOutputDC = new COutputDC(m_pCutter, 1, flag);
}

void CMediaManagerBlk::fnEndOutput() {
    delete m_pOutputDC;
    m_pOutputDC = nullptr;
}

int CMediaManagerBlk::fnDeselectCutter() {
    return m_pCutter ? m_pCutter->fnDeselect() : kNoDevice;
}

int CMediaManagerBlk::fnRecut(int n) {
    return m_pCutter ? m_pCutter->fnRecut(n) : kNoDevice;
}

int CMediaManagerBlk::fnPreload(CWindow* w) {
    if (!m_pCutter || !w)
        return kNoDevice;
    return m_pCutter->fnPreload(*w);
}

int CMediaManagerBlk::fnTestExtents(CWindow* w, int autoRotate) {
    if (m_Sheets.GetSize() == 0)
        __fnInitFirstSheet();
    return m_Sheets.GetAt(0)->fnTestExtents(w, autoRotate);
}

int CMediaManagerBlk::fnTestScannerExtents(CWindow* w, int autoRotate, CMat2d* mat) {
    if (m_Sheets.GetSize() == 0)
        __fnInitFirstSheet();
    return m_Sheets.GetAt(0)->fnTestScannerExtents(w, autoRotate, mat);
}

int CMediaManagerBlk::fnCheckUtlisation() const {
    return m_Sheets.GetSize() > 0 ? m_Sheets.GetAt(0)->fnCheckUtilisation() : 0;
}

int CMediaManagerBlk::__fnWontFit(const CWindow* w) const {
    if (!w)
        return 0;
    return int64_t(w->x2) - w->x1 > int64_t(m_wSheetExtents.x2) - m_wSheetExtents.x1 ||
           int64_t(w->y2) - w->y1 > int64_t(m_wSheetExtents.y2) - m_wSheetExtents.y1;
}

int CMediaManagerBlk::__fnTileDataOntoSheet() {
    HobrandMessageBox(IDS_DESIGN_TOO_BIG, HobrandLoadString(IDS_DESIGN_TOO_BIG), MB_OK);
    return 0;
}

int CMediaManagerBlk::fnPlaceDataOntoSheets(int reserved, CArticle* design, CWindow* extents,
                                            int copies, int autoRotate) {
    if (m_bBusy || !extents)
        return 0;
    const int requested = copies;
    int remaining = copies;
    if (m_pCutter)
        m_bBusy = 1;
    int result = 0;
    for (INT_PTR i = 0; i < m_Sheets.GetSize() && (remaining > 0 || requested == 0); ++i) {
        CSheetNester* sheet = m_Sheets.GetAt(i);
        sheet->fnChangeSpacingToFit(extents);
        result = sheet->fnTileExtents(extents, reserved, design, &remaining, autoRotate);
        if (result == -1)
            break;
    }
    if (result == -1) {
        m_bBusy = 0;
        return 0;
    }
    for (;;) {
        const INT_PTR n = m_Sheets.GetSize();
        if (remaining <= 0 && n > 0) {
            m_bBusy = 0;
            // As many as fit: placed is placed, even when that was all the sheet held.
            return requested != 0 || !m_Sheets.GetAt(n - 1)->fnIsEmptySheet() ? 1 : 0;
        }
        if (n > 0) {
            CSheetNester* newest = m_Sheets.GetAt(n - 1);
            if (newest->fnIsEmptySheet()) {
                const CWindow& s = newest->fnGetSheetExtents();
                CString text;
                text.Format(
                    L"Design too big for cutting area!\nDesign size: [%.1lf,%.1lf]\nMaterial "
                    L"size: [%.1lf,%.1lf]",
                    (double(extents->x2) - extents->x1) / 1000.0,
                    (double(extents->y2) - extents->y1) / 1000.0, (double(s.x2) - s.x1) / 1000.0,
                    (double(s.y2) - s.y1) / 1000.0);
                HobrandMessageBox(0, text, MB_OK | MB_ICONEXCLAMATION);
                m_bBusy = 0;
                return 0;
            }
            CString text;
            UINT id = IDS_DATA_TOO_BIG_NEW_PAGE;
            if (remaining == requested) {
                text = HobrandLoadString(id);
            } else {
                id = IDS_NOT_ALL_COPIES_FIT;
                text.Format(HobrandLoadString(id), remaining, requested);
            }
            if (HobrandMessageBox(id, text, MB_YESNO | MB_ICONQUESTION) != IDYES) {
                m_bBusy = 0;
                return 0;
            }
        }
        fnPageStart(0);
        CSheetNester* newest = m_Sheets.GetAt(m_Sheets.GetSize() - 1);
        if (CJoxPage* page = GetDocument())
            page->SetActiveRootArticle(newest->fnGetRootID());
        // Cancelled or failed on the new page: not every copy was placed.
        if (newest->fnTileExtents(extents, reserved, design, &remaining, autoRotate) == -1) {
            if (CJoxPage* page = GetDocument())
                page->UpdateAllViews(nullptr);
            m_bBusy = 0;
            return 0;
        }
        if (CJoxPage* page = GetDocument())
            page->UpdateAllViews(nullptr);
    }
}

void CMediaManagerBlk::fnFeedExtra(int extra) {
    if (!m_pCutter)
        return;
    const CWindow r = __fnRootExtents();
    const int64_t width = int64_t(r.x2) - r.x1;
    CLpoint point;
    if (width == kEmptyExtentWidth || width == 0) {
        if (extra == 0)
            return;
        point = CLpoint(extra, extra);
    } else {
        point = CLpoint(r.x2 + extra, r.y2 + extra);
    }
    if (point.x < 0 && point.y < 0)
        point = CLpoint(0, 0);
    if (point.y == 0)
        return;
    // Only a running output has a line style to reset. The cutter is told too, before the
    // medium moves: a perforated path before the feed would otherwise leave the perforation
    // tool on for the solid paths after it.
    if (m_pOutputDC)
        m_pOutputDC->fnChangeLineStyle(0);
    m_pCutter->fnFeed(&point);
    m_bPageEnded = 0;
}

int CMediaManagerBlk::fnCutExtChanged() {
    if (m_bFixedExtents || !m_pCutter)
        return 0;
    CString port;
    m_pCutter->fnGetPortName(port);
    if (port.Compare(L"USB") < 0)
        m_pCutter->fnWaitUntilMoved(60);
    CWindow w;
    int r = m_pCutter->fnInquireExtents(&w);
    if (r == kExtentsStored)
        r = 0;
    const int64_t width = int64_t(w.x2) - w.x1, height = int64_t(w.y2) - w.y1;
    if (r == 0 && width != 0 && height != 0) {
        if (w.x1 == m_wCutterExtents.x1 && w.y1 == m_wCutterExtents.y1 &&
            w.x2 == m_wCutterExtents.x2 && w.y2 == m_wCutterExtents.y2)
            return 0;
        __fnSetCutterExt(&w);
        // Whole millimetres; a side that is not positive keeps one unit.
        LONG wm = LONG(std::clamp<int64_t>(width / 1000 * 1000, INT32_MIN, INT32_MAX));
        LONG hm = LONG(std::clamp<int64_t>(height / 1000 * 1000, INT32_MIN, INT32_MAX));
        if (hm <= 0)
            hm = 1;
        if (wm <= 0)
            wm = 1;
        CWindow sheet(0, 0, wm, hm);
        __fnSetSheetExtents(&sheet);
        fnPageStart(1);
        m_bPageEnded = 0;
        return 1;
    }
    // A failed inquiry was already reported by the driver: only a zero medium is told here.
    if (r == 0) {
        CString text;
        text.Format(HobrandLoadString(IDS_MEDIA_SIZE_ZERO), long(width), long(height));
        HobrandMessageBox(IDS_MEDIA_SIZE_ZERO, text, MB_OK | MB_ICONEXCLAMATION);
    }
    return -1;
}

void CMediaManagerBlk::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        StoreObArray(ar, m_Sheets);
        const auto rect = [&](WORD id, const CWindow& w) {
            record_fields::StoreFixed(ar, id, int32_t(w.x1), int32_t(w.y2), int32_t(w.x2),
                                      int32_t(w.y1));
        };
        rect(kRecSheetExtents, m_wSheetExtents);
        rect(kRecCutterExtents, m_wCutterExtents);
        record_fields::StoreFixed(ar, kRecSpacing, int32_t(m_Spacing.x), int32_t(m_Spacing.y));
        record_fields::StoreFixed(ar, kRecTileMode, int32_t(m_lTileMode));
        record_fields::StoreFixed(ar, kRecSheetCount, m_nSheetCount);
        rec.StoreField(kRecManagerName, m_strManagerName);
        rec.StoreField(kRecDeviceName, m_strDeviceName);
        rec.StoreEndRec();
        return;
    }
    CTypedPtrArray<CObArray, CSheetNester*> sheets;
    LoadObArray(ar, sheets, RUNTIME_CLASS(CSheetNester));
    CWindow sheetExt = m_wSheetExtents, cutterExt = m_wCutterExtents;
    CLpoint spacing = m_Spacing;
    LONG mode = m_lTileMode;
    int16_t count = 0;
    CString manager = m_strManagerName, device;
    CScopeGuard onFailure([&] {
        for (INT_PTR i = 0; i < sheets.GetSize(); ++i)
            delete sheets.GetAt(i);
    });
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        int32_t v[4];
        switch (id) {
        case kRecSheetExtents:
        case kRecCutterExtents:
            if (record_fields::LoadFixed(rec, len, v)) {
                const CWindow w(v[0], v[3], v[2], v[1]);
                if (SoundRect(w))
                    (id == kRecSheetExtents ? sheetExt : cutterExt) = w;
            }
            return true;
        case kRecSpacing:
            if (record_fields::LoadFixed(rec, len, v[0], v[1]) && v[0] >= 0 && v[1] >= 0)
                spacing = CLpoint(v[0], v[1]);
            return true;
        case kRecTileMode:
            if (record_fields::LoadFixed(rec, len, v[0]))
                mode = v[0] & 0x5FF;
            return true;
        case kRecSheetCount:
            record_fields::LoadFixed(rec, len, count);
            return true;
        case kRecManagerName:
            record_fields::LoadSized(rec, len, [&] { rec >> manager; });
            return true;
        case kRecDeviceName:
            record_fields::LoadSized(rec, len, [&] { rec >> device; });
            return true;
        default:
            return false;
        }
    });
    onFailure.Dismiss();
    __fnDeleteSheets();
    // A stored null reference is damage: dropped, so that no sheet lookup meets a hole.
    for (INT_PTR i = 0; i < sheets.GetSize(); ++i)
        if (sheets.GetAt(i))
            m_Sheets.Add(sheets.GetAt(i));
    for (INT_PTR i = 0; i < m_Sheets.GetSize(); ++i)
        m_Sheets.GetAt(i)->fnSetMediaMan(this);
    // The array is what was stored; a count that disagrees is noted and not trusted.
    m_bSheetCountMismatch = count != m_Sheets.GetSize();
    m_nSheetCount = int16_t(std::min<INT_PTR>(m_Sheets.GetSize(), INT16_MAX));
    m_wSheetExtents = sheetExt;
    m_wCutterExtents = cutterExt;
    m_Spacing = spacing;
    m_lTileMode = mode;
    m_strManagerName = manager;
    m_strDeviceName = device;
    delete m_pCutter;
    m_pCutter = nullptr;
    // Only an installed cutter is bound again: a stale name opens the document unbound.
    CStringArray names;
    FelgrinUtils::InquireCutterNames(names);
    for (INT_PTR i = 0; i < names.GetSize() && !device.IsEmpty(); ++i)
        if (names.GetAt(i).CompareNoCase(device) == 0) {
            m_pCutter = FelgrinUtils::GetCutterInstance(device);
            break;
        }
}
