#include "design/simulate_sort_props_dlg.h"

#include "design/design_page.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/up_down_control.h"
#include "qvutils/qv_utils.h"

#include <cmath>
#include <cwchar>

IMPLEMENT_DYNCREATE(CSimulateSortPropsDlg, CDialog)

namespace {

using D = CSimulateSortPropsDlg;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr double kMmPerInch = 25.4;
// A click on the up-down control moves the deviation by this much (mm, inches).
constexpr double kStepMm = 0.1, kStepInch = 0.01;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        D::IDD,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        230,
        170,
        L"Simulate output",
        L"MS Sans Serif",
        8,
        {{-1, WC_BUTTON, L"Selection", kChild | BS_GROUPBOX, 7, 7, 105, 50},
         {D::IDC_SCOPE_DESIGN, WC_BUTTON, L"Design",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 13, 18, 95, 10},
         {D::IDC_SCOPE_SELECTION, WC_BUTTON, L"Current Selection", kChild | BS_AUTORADIOBUTTON, 13,
          30, 95, 10},
         {D::IDC_SCOPE_COLOUR, WC_BUTTON, L"Colour in Selection", kChild | BS_AUTORADIOBUTTON, 13,
          42, 95, 10},
         {-1, WC_BUTTON, L"Sorting mode", kChild | BS_GROUPBOX | WS_GROUP, 118, 7, 105, 50},
         {D::IDC_ORDER_DESIGN, WC_BUTTON, L"Keep design order",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 124, 18, 95, 10},
         {D::IDC_ORDER_CLOSEST, WC_BUTTON, L"Closest item first", kChild | BS_AUTORADIOBUTTON, 124,
          30, 95, 10},
         {D::IDC_ORDER_LEAST_MOVEMENT, WC_BUTTON, L"Least media movement",
          kChild | BS_AUTORADIOBUTTON, 124, 42, 95, 10},
         {D::IDC_INSIDE_FIRST, WC_BUTTON, L"Inside objects first",
          kChild | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 7, 62, 105, 10},
         {-1, WC_BUTTON, L"Object startpoints", kChild | BS_GROUPBOX | WS_GROUP, 118, 62, 105, 62},
         {D::IDC_START_UNCHANGED, WC_BUTTON, L"Don't change",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 124, 73, 95, 10},
         {D::IDC_START_CLOSEST, WC_BUTTON, L"Closest to previous", kChild | BS_AUTORADIOBUTTON, 124,
          85, 95, 10},
         {D::IDC_START_RIGHT, WC_BUTTON, L"Always right", kChild | BS_AUTORADIOBUTTON, 124, 97, 95,
          10},
         {D::IDC_START_BOTTOM, WC_BUTTON, L"Always bottom", WS_CHILD | BS_AUTORADIOBUTTON, 124, 109,
          95, 10},
         {D::IDC_MAX_DEVIATION_CAPTION, WC_STATIC, L"Max. deviation:", WS_CHILD | WS_GROUP, 7, 80,
          55, 8},
         {D::IDC_MAX_DEVIATION, WC_EDIT, L"", WS_CHILD | WS_BORDER | WS_TABSTOP, 62, 78, 30, 12},
         {D::IDC_MAX_DEVIATION_SPIN, UPDOWN_CLASS, L"", WS_CHILD | UDS_ALIGNRIGHT, 92, 78, 10, 12},
         {D::IDC_MAX_DEVIATION_UNIT, WC_STATIC, L"(mm)", WS_CHILD, 104, 80, 14, 8},
         {IDOK, WC_BUTTON, L"OK", kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 60, 148, 50,
          14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 120, 148, 50, 14}}});
    return true;
}();

// A stored value outside [low, high] is the default.
int ReadParam(const wchar_t* key, int fallback, int low, int high) {
    const int v = QvGetAppParam(key, fallback);
    return v < low || v > high ? fallback : v;
}

} // namespace

CSimulateSortPropsDlg::CSimulateSortPropsDlg(CDesignPage* page, CWnd* parent)
    : CDialog(IDD, parent), m_nScope(kDefaultScope), m_nOrderMode(kDefaultOrder),
      m_nStartMode(kDefaultStart), m_bInsideFirst(kDefaultInsideFirst),
      m_nMaxDeviation(kDefaultMaxDeviation),
      m_bSelectionPresent(page && page->GetObjectSelectionCount() > 0 ? 1 : 0),
      m_bInchDisplay(QvGetInchDisplayOn() ? 1 : 0) {
    (void)kRegistered;
}

double CSimulateSortPropsDlg::ParseDeviation(const CString& text) {
    const wchar_t* s = text;
    wchar_t* end = nullptr;
    const double v = std::wcstod(s ? s : L"", &end);
    if (!s || end == s || !std::isfinite(v) || v < 0 || v * 1000 * kMmPerInch > kMaxDeviation)
        return 0;
    return v;
}

int CSimulateSortPropsDlg::ToMicrometres(double value, bool inches) {
    return int(value * 1000 * (inches ? kMmPerInch : 1) + 0.5);
}

void CSimulateSortPropsDlg::SetDeviationText(double value) {
    m_strMaxDeviation.Format(L"%.2lf", value);
    if (m_hWnd)
        SetDlgItemText(IDC_MAX_DEVIATION, m_strMaxDeviation);
}

void CSimulateSortPropsDlg::ReadParameters() {
    m_nScope = ReadParam(L"Selection mode sim", kDefaultScope, 0, 2);
    m_nOrderMode = ReadParam(L"Order mode sim", kDefaultOrder, 0, 2);
    m_nStartMode = ReadParam(L"Startpoint mode sim", kDefaultStart, 0, 3);
    m_bInsideFirst = ReadParam(L"Inside first sim", kDefaultInsideFirst, 0, 1);
    m_nMaxDeviation = ReadParam(L"Max dev sim", kDefaultMaxDeviation, 0, kMaxDeviation);
}

void CSimulateSortPropsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Radio(dx, IDC_SCOPE_DESIGN, m_nScope);
    DDX_Radio(dx, IDC_ORDER_DESIGN, m_nOrderMode);
    DDX_Check(dx, IDC_INSIDE_FIRST, m_bInsideFirst);
    DDX_Radio(dx, IDC_START_UNCHANGED, m_nStartMode);
    DDX_Text(dx, IDC_MAX_DEVIATION, m_strMaxDeviation);
}

BOOL CSimulateSortPropsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_ORDER_CLOSEST, IDC_START_CLOSEST}) {
        GetDlgItem(id)->ShowWindow(SW_HIDE);
        GetDlgItem(id)->EnableWindow(FALSE);
    }
    ReadParameters();
    m_bInchDisplay = QvGetInchDisplayOn() ? 1 : 0;
    SetDlgItemText(IDC_MAX_DEVIATION_UNIT, m_bInchDisplay ? L"(in)" : L"(mm)");
    SetDeviationText(m_nMaxDeviation / 1000.0 / (m_bInchDisplay ? kMmPerInch : 1));
    if (!m_bSelectionPresent) {
        m_nScope = 0;
        GetDlgItem(IDC_SCOPE_SELECTION)->EnableWindow(FALSE);
        GetDlgItem(IDC_SCOPE_COLOUR)->EnableWindow(FALSE);
    }
    UpdateData(FALSE);
    ApplyOptionRule();
    return TRUE;
}

void CSimulateSortPropsDlg::ApplyOptionRule() {
    const int oldOrder = m_nOrderMode;
    UpdateData(TRUE);
    const BOOL on = m_nOrderMode == 2;
    for (int id : {IDC_MAX_DEVIATION_CAPTION, IDC_MAX_DEVIATION, IDC_MAX_DEVIATION_UNIT})
        GetDlgItem(id)->EnableWindow(on);
    if (m_nOrderMode != oldOrder) {
        const double v = ParseDeviation(m_strMaxDeviation);
        m_nMaxDeviation = ToMicrometres(v, m_bInchDisplay);
        SetDeviationText(v);
    }
}

BOOL CSimulateSortPropsDlg::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    if (HIWORD(wp) == BN_CLICKED &&
        ((id >= IDC_SCOPE_DESIGN && id <= IDC_ORDER_LEAST_MOVEMENT) || id == IDC_INSIDE_FIRST)) {
        ApplyOptionRule();
        return TRUE;
    }
    return CDialog::OnCommand(wp, lp);
}

BOOL CSimulateSortPropsDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        const auto* n = reinterpret_cast<const NMUPDOWN*>(lp);
        if (n->hdr.idFrom == UINT_PTR(IDC_MAX_DEVIATION_SPIN) && n->hdr.code == UDN_DELTAPOS) {
            CString text;
            GetDlgItemText(IDC_MAX_DEVIATION, text);
            double v = ParseDeviation(text) - n->iDelta * (m_bInchDisplay ? kStepInch : kStepMm);
            if (v < 0)
                v = 0;
            m_nMaxDeviation = ToMicrometres(v, m_bInchDisplay);
            SetDeviationText(v);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CDialog::OnWndMsg(msg, wp, lp, result);
}

void CSimulateSortPropsDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    m_nMaxDeviation = ToMicrometres(ParseDeviation(m_strMaxDeviation), m_bInchDisplay);
    EndDialog(IDOK);
    QvSetAppParam(L"Selection mode sim", m_nScope);
    QvSetAppParam(L"Order mode sim", m_nOrderMode);
    QvSetAppParam(L"Startpoint mode sim", m_nStartMode);
    QvSetAppParam(L"Inside first sim", m_bInsideFirst);
    QvSetAppParam(L"Max dev sim", m_nMaxDeviation);
}
