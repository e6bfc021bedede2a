#include "design/document/screen_properties.h"

#include "pivora/framework/app_params.h"
#include "platform/framework/data_exchange.h"
#include "platform/graphics/gdi.h"
#include "platform/windowing/edit_control.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNAMIC(CScreenProperties, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr int kStatic = -1;

const bool kRegistered = [] {
    using D = CScreenProperties;
    platform::RegisterDialogTemplate(
        DialogTemplate{D::IDD,
                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       160,
                       75,
                       L"Screen Properties",
                       L"MS Sans Serif",
                       8,
                       {{kStatic, WC_STATIC, L"Screen Width:", kChild, 7, 9, 62, 8},
                        {D::IDC_SCREEN_WIDTH, WC_EDIT, L"", kEdit, 72, 7, 50, 12},
                        {IDC_UNIT_LABEL_FIRST, WC_STATIC, L"mm", kChild, 127, 9, 26, 8},
                        {D::IDC_SCREEN_PIXELS, WC_EDIT, L"", kEdit, 72, 25, 50, 12},
                        {kStatic, WC_STATIC, L"pixels", kChild, 127, 27, 26, 8},
                        {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP,
                         25, 52, 50, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 85, 52, 50, 14}}});
    return true;
}();

int Average(int a, int b) {
    return (a + b) / 2;
}

} // namespace

CScreenProperties::CScreenProperties(CWnd* parent)
    : CTavrinDialog(IDD, parent), m_bInches(QvGetInchDisplayOn()) {
    (void)kRegistered;
}

void CScreenProperties::SetDefaults(int32_t s, int32_t p) {
    // A monitor that reports nothing leaves the box empty rather than showing 0.
    CString width;
    if (s > 0)
        width = m_bInches ? FormatString(L"%.2f", s * 0.01 * kInchesPerMm)
                          : FormatString(L"%d", int(s / 100));
    m_WidthEdit.SetDefaultText(width);
    m_PixelsEdit.SetDefaultText(p > 0 ? FormatString(L"%d", int(p)) : CString());
}

BOOL CScreenProperties::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    m_dWidth = QvGetSetAppParam(kWidthParam, 0) * 0.01;
    if (m_dWidth != 0) {
        if (m_bInches)
            m_dWidth *= kInchesPerMm;
        SetDlgItemTextW(m_hWnd, IDC_SCREEN_WIDTH,
                        FormatString(L"%.*f", m_bInches ? 2 : 0, m_dWidth).GetString());
    }
    const int pixels = QvGetSetAppParam(kPixelsParam, 0);
    m_nPixels = pixels > 0 ? uint32_t(pixels) : 0;
    if (m_nPixels)
        SetDlgItemTextW(m_hWnd, IDC_SCREEN_PIXELS, FormatString(L"%d", pixels).GetString());
    m_WidthEdit.SetLimitText(kEditLimit);
    m_PixelsEdit.SetLimitText(kEditLimit);
    HDC dc = ::GetDC(m_hWnd);
    const COLORREF text = dc ? GetTextColor(dc) : GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF back = dc ? GetBkColor(dc) : GetSysColor(COLOR_WINDOW);
    if (dc)
        ::ReleaseDC(m_hWnd, dc);
    m_crGrey =
        RGB(Average(GetRValue(text), GetRValue(back)), Average(GetGValue(text), GetGValue(back)),
            Average(GetBValue(text), GetBValue(back)));
    return TRUE;
}

void CScreenProperties::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SCREEN_WIDTH, m_WidthEdit);
    DDX_Control(dx, IDC_SCREEN_PIXELS, m_PixelsEdit);
    // The values are only read: the boxes are written once, and an empty one means unset.
    if (!dx->m_bSaveAndValidate)
        return;
    // A refused value moves the focus into its box; the box left then must not be checked
    // again inside this check, or the person sees the message twice.
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(m_bValidating);
    m_dWidth = 0;
    if (m_WidthEdit.GetWindowTextLength() > 0) {
        DDX_Text(dx, IDC_SCREEN_WIDTH, m_dWidth);
        if (m_bInches)
            DDV_MinMaxDouble(dx, m_dWidth, kMinInches, kMaxInches);
        else
            DDV_MinMaxDouble(dx, m_dWidth, kMinMm, kMaxMm);
    }
    m_nPixels = 0;
    if (m_PixelsEdit.GetWindowTextLength() > 0) {
        int pixels = 0;
        DDX_Text(dx, IDC_SCREEN_PIXELS, pixels);
        DDV_MinMaxInt(dx, pixels, kMinPixels, kMaxPixels);
        m_nPixels = uint32_t(pixels);
    }
}

BOOL CScreenProperties::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp), code = HIWORD(wp);
    if (code == EN_KILLFOCUS && (id == IDC_SCREEN_WIDTH || id == IDC_SCREEN_PIXELS)) {
        HWND to = ::GetFocus();
        const bool toCancel = to && ::GetDlgCtrlID(to) == IDCANCEL && ::GetParent(to) == m_hWnd;
        if (!toCancel && !m_bCancelling && !m_bValidating)
            UpdateData(TRUE);
        return TRUE;
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

BOOL CScreenProperties::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_CTLCOLOREDIT) {
        HWND edit = reinterpret_cast<HWND>(lp);
        const bool grey = (edit == m_WidthEdit.m_hWnd && m_WidthEdit.ShowingDefault()) ||
                          (edit == m_PixelsEdit.m_hWnd && m_PixelsEdit.ShowingDefault());
        if (grey) {
            SetTextColor(reinterpret_cast<HDC>(wp), m_crGrey);
            if (result)
                *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            return TRUE;
        }
    }
    return CTavrinDialog::OnWndMsg(msg, wp, lp, result);
}

void CScreenProperties::OnOK() {
    if (!UpdateData(TRUE))
        return;
    const double mm = m_bInches ? m_dWidth / kInchesPerMm : m_dWidth;
    QvSetAppParam(kWidthParam, int(mm * 100));
    QvSetAppParam(kPixelsParam, int(m_nPixels));
    CTavrinDialog::OnOK();
}

void CScreenProperties::OnCancel() {
    m_bCancelling = true;
    CTavrinDialog::OnCancel();
}
