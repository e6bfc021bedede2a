#include "design/document/rescale.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/document/dialog_numbers.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/up_down_control.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNAMIC(CRescale, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr int kStatic = -1;

const bool kRegistered = [] {
    using D = CRescale;
    platform::RegisterDialogTemplate(DialogTemplate{
        D::IDD,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        200,
        150,
        L"Rescale",
        L"MS Sans Serif",
        8,
        {{kStatic, WC_STATIC, L"Width:", kChild, 7, 9, 40, 8},
         {D::IDC_WIDTH, WC_EDIT, L"", kEdit, 50, 7, 50, 12},
         {D::IDC_WIDTH_SPIN, UPDOWN_CLASS, L"", kSpin, 100, 7, 10, 12},
         {IDC_UNIT_LABEL_FIRST, WC_STATIC, L"mm", kChild, 114, 9, 20, 8},
         {D::IDC_WIDTH_PERCENT, WC_EDIT, L"", kEdit, 136, 7, 40, 12},
         {D::IDC_WIDTH_PERCENT_SPIN, UPDOWN_CLASS, L"", kSpin, 176, 7, 10, 12},
         {kStatic, WC_STATIC, L"%", kChild, 188, 9, 8, 8},
         {kStatic, WC_STATIC, L"Height:", kChild, 7, 27, 40, 8},
         {D::IDC_HEIGHT, WC_EDIT, L"", kEdit, 50, 25, 50, 12},
         {D::IDC_HEIGHT_SPIN, UPDOWN_CLASS, L"", kSpin, 100, 25, 10, 12},
         {IDC_UNIT_LABEL_FIRST + 1, WC_STATIC, L"mm", kChild, 114, 27, 20, 8},
         {D::IDC_HEIGHT_PERCENT, WC_EDIT, L"", kEdit, 136, 25, 40, 12},
         {D::IDC_HEIGHT_PERCENT_SPIN, UPDOWN_CLASS, L"", kSpin, 176, 25, 10, 12},
         {kStatic, WC_STATIC, L"%", kChild, 188, 27, 8, 8},
         {D::IDC_KEEP_ASPECT, WC_BUTTON, L"Maintain Aspect Ratio", kCheck, 7, 47, 120, 10},
         {D::IDC_SELECTED_ONLY, WC_BUTTON, L"Selected Objects Only", kCheck, 7, 61, 120, 10},
         {D::IDC_PERCENTAGE_MODE, WC_BUTTON, L"Percentage Rescale", kCheck, 7, 75, 120, 10},
         {D::IDC_CENTRE_SCALE, WC_BUTTON, L"Centre Scale", kCheck, 7, 89, 120, 10},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 40, 124, 50,
          14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 110, 124, 50, 14}}});
    return true;
}();

CString Size(float v) {
    return FormatString(L"%.2f", double(v));
}

CString PercentText(float v) {
    return FormatString(L"%.1f", double(v));
}

} // namespace

CRescale::CRescale(CWnd* parent) : CTavrinDialog(IDD, parent) {
    (void)kRegistered;
    m_bAspect = 1;
    m_bSelected = 0;
    m_bPercentageMode = 0;
    m_bCentreScale = 0;
    m_bInches = QvGetInchDisplayOn();
}

void CRescale::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_WIDTH, m_strWidth);
    DDX_Text(dx, IDC_HEIGHT, m_strHeight);
    DDX_Text(dx, IDC_WIDTH_PERCENT, m_strWidthPercentage);
    DDX_Text(dx, IDC_HEIGHT_PERCENT, m_strHeightPercentage);
    DDX_Check(dx, IDC_KEEP_ASPECT, m_bAspect);
    DDX_Check(dx, IDC_SELECTED_ONLY, m_bSelected);
    DDX_Check(dx, IDC_PERCENTAGE_MODE, m_bPercentageMode);
    DDX_Check(dx, IDC_CENTRE_SCALE, m_bCentreScale);
}

BOOL CRescale::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    m_bAspect = QvGetSetAppParam(kAspectParam, 0);
    m_bPercentageMode = QvGetSetAppParam(kPercentageParam, 0);
    CDesignPage* page = m_pView ? m_pView->GetDocument() : nullptr;
    if (page && page->GetObjectSelectionCount() > 0)
        m_bSelected = 1;
    EnableBoxes();
    if (CWnd* box = GetDlgItem(IDC_SELECTED_ONLY))
        box->EnableWindow(!QvGetSetAppParam(kDisableSelectionParam, 0) && m_bSelected == 1);
    for (int id : {IDC_WIDTH, IDC_HEIGHT, IDC_WIDTH_PERCENT, IDC_HEIGHT_PERCENT})
        SendDlgItemMessageW(m_hWnd, id, EM_LIMITTEXT, kEditLimit, 0);
    TakeOrigExtents();
    return TRUE;
}

void CRescale::EnableBoxes() {
    for (int id : {IDC_WIDTH, IDC_HEIGHT, IDC_WIDTH_SPIN, IDC_HEIGHT_SPIN})
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(!m_bPercentageMode);
    for (int id :
         {IDC_WIDTH_PERCENT, IDC_HEIGHT_PERCENT, IDC_WIDTH_PERCENT_SPIN, IDC_HEIGHT_PERCENT_SPIN})
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(m_bPercentageMode != 0);
    if (CWnd* w = GetDlgItem(IDC_CENTRE_SCALE))
        w->EnableWindow(m_bPercentageMode && m_bSelected);
}

void CRescale::TakeOrigExtents() {
    CDesignPage* page = m_pView ? m_pView->GetDocument() : nullptr;
    CWindow e = CWindow::EmptyExtent();
    if (page)
        e = m_bSelected ? page->ObjectSelectionExtents(nullptr) : page->Extents();
    SetOrigExtents(e);
    // New extents start from the original size.
    m_fWidthPercentage = m_fHeightPercentage = 100.0f;
    m_strWidth = Size(m_fWidth);
    m_strHeight = Size(m_fHeight);
    m_strWidthPercentage = PercentText(m_fWidthPercentage);
    m_strHeightPercentage = PercentText(m_fHeightPercentage);
    m_bWriting = true;
    UpdateData(FALSE);
    m_bWriting = false;
}

void CRescale::SetBox(int id, const CString& text) {
    CString now;
    GetDlgItemText(id, now);
    if (now == text)
        return;
    m_bWriting = true;
    SetDlgItemTextW(m_hWnd, id, text.GetString());
    m_bWriting = false;
}

void CRescale::ShowPartners(int changed) {
    auto width = [&] { SetBox(IDC_WIDTH, Size(m_fWidth)); };
    auto height = [&] { SetBox(IDC_HEIGHT, Size(m_fHeight)); };
    auto widthPct = [&] { SetBox(IDC_WIDTH_PERCENT, PercentText(m_fWidthPercentage)); };
    auto heightPct = [&] { SetBox(IDC_HEIGHT_PERCENT, PercentText(m_fHeightPercentage)); };
    if (m_bAspect) {
        if (changed != IDC_WIDTH)
            width();
        if (changed != IDC_HEIGHT)
            height();
        if (changed != IDC_WIDTH_PERCENT)
            widthPct();
        if (changed != IDC_HEIGHT_PERCENT)
            heightPct();
        return;
    }
    switch (changed) {
    case IDC_WIDTH:
        widthPct();
        break;
    case IDC_HEIGHT:
        heightPct();
        break;
    case IDC_WIDTH_PERCENT:
        width();
        break;
    case IDC_HEIGHT_PERCENT:
        height();
        break;
    default:
        break;
    }
}

void CRescale::ReadChecks() {
    m_bAspect = IsDlgButtonChecked(m_hWnd, IDC_KEEP_ASPECT) == BST_CHECKED;
    m_bSelected = IsDlgButtonChecked(m_hWnd, IDC_SELECTED_ONLY) == BST_CHECKED;
    m_bPercentageMode = IsDlgButtonChecked(m_hWnd, IDC_PERCENTAGE_MODE) == BST_CHECKED;
    m_bCentreScale = IsDlgButtonChecked(m_hWnd, IDC_CENTRE_SCALE) == BST_CHECKED;
}

BOOL CRescale::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp), code = HIWORD(wp);
    if (code == EN_CHANGE && (id == IDC_WIDTH || id == IDC_HEIGHT || id == IDC_WIDTH_PERCENT ||
                              id == IDC_HEIGHT_PERCENT)) {
        if (m_bWriting)
            return TRUE;
        UpdateData(TRUE);
        switch (id) {
        case IDC_WIDTH:
            UpdateWidth(float(dialog_numbers::Parse(m_strWidth)));
            break;
        case IDC_HEIGHT:
            UpdateHeight(float(dialog_numbers::Parse(m_strHeight)));
            break;
        case IDC_WIDTH_PERCENT:
            UpdateWidthPercentage(float(dialog_numbers::Parse(m_strWidthPercentage)));
            break;
        default:
            UpdateHeightPercentage(float(dialog_numbers::Parse(m_strHeightPercentage)));
            break;
        }
        ShowPartners(id);
        return TRUE;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_KEEP_ASPECT:
            ReadChecks();
            return TRUE;
        case IDC_SELECTED_ONLY:
            ReadChecks();
            TakeOrigExtents();
            if (m_bSelected) {
                m_bCentreScale = 0;
                CheckDlgButton(m_hWnd, IDC_CENTRE_SCALE, BST_UNCHECKED);
            }
            EnableBoxes();
            return TRUE;
        case IDC_PERCENTAGE_MODE:
            ReadChecks();
            if (!m_bPercentageMode) {
                m_bCentreScale = 0;
                CheckDlgButton(m_hWnd, IDC_CENTRE_SCALE, BST_UNCHECKED);
            }
            EnableBoxes();
            return TRUE;
        case IDC_CENTRE_SCALE:
            ReadChecks();
            return TRUE;
        default:
            break;
        }
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

BOOL CRescale::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        const auto* n = reinterpret_cast<const NMUPDOWN*>(lp);
        const int spin = int(n->hdr.idFrom);
        int edit = 0;
        if (n->hdr.code == UDN_DELTAPOS) {
            switch (spin) {
            case IDC_WIDTH_SPIN:
                UpdateDeltaWidth(n->iDelta);
                edit = IDC_WIDTH;
                break;
            case IDC_HEIGHT_SPIN:
                UpdateDeltaHeight(n->iDelta);
                edit = IDC_HEIGHT;
                break;
            case IDC_WIDTH_PERCENT_SPIN:
                UpdateDeltaWidthPercentage(n->iDelta);
                edit = IDC_WIDTH_PERCENT;
                break;
            case IDC_HEIGHT_PERCENT_SPIN:
                UpdateDeltaHeightPercentage(n->iDelta);
                edit = IDC_HEIGHT_PERCENT;
                break;
            default:
                break;
            }
        }
        if (edit) {
            switch (edit) {
            case IDC_WIDTH:
                SetBox(IDC_WIDTH, Size(m_fWidth));
                break;
            case IDC_HEIGHT:
                SetBox(IDC_HEIGHT, Size(m_fHeight));
                break;
            case IDC_WIDTH_PERCENT:
                SetBox(IDC_WIDTH_PERCENT, PercentText(m_fWidthPercentage));
                break;
            default:
                SetBox(IDC_HEIGHT_PERCENT, PercentText(m_fHeightPercentage));
                break;
            }
            ShowPartners(edit);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CTavrinDialog::OnWndMsg(msg, wp, lp, result);
}

void CRescale::OnOK() {
    UpdateData(TRUE);
    ReadChecks();
    switch (CalculateNewExtents()) {
    case eNothingToRescale:
        AfxMessageBox(L"There is nothing with a width and a height to rescale.",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    case eSizeTooSmall:
        AfxMessageBox(L"Please enter a width and a height greater than 0.",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    case eSizeTooLarge:
        AfxMessageBox(L"The new size reaches past the largest design the system can hold.",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    case eSizeOk:
        break;
    }
    QvSetAppParam(kAspectParam, m_bAspect);
    QvSetAppParam(kPercentageParam, m_bPercentageMode);
    CTavrinDialog::OnOK();
}
