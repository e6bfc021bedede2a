#include "design/document/rotate_dlg.h"

#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/document/dialog_numbers.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/up_down_control.h"

#include <utility>

IMPLEMENT_DYNAMIC(CRotateDlg, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kChild | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr int kStatic = -1;
constexpr int kDecimals = 4;

const bool kRegistered = [] {
    using D = CRotateDlg;
    DialogTemplate t{D::IDD,    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                     170,       120,
                     L"Rotate", L"MS Sans Serif",
                     8,         {}};
    static const wchar_t* const kPresets[] = {L"0",   L"45",  L"90",  L"135", L"180",
                                              L"225", L"270", L"315", L"Free"};
    for (int i = 0; i <= D::kFreeChoice; ++i)
        t.controls.push_back({D::IDC_PRESET_FIRST + i, WC_BUTTON, kPresets[i],
                              kRadio | (i == 0 ? WS_GROUP : 0), short(7 + (i % 3) * 45),
                              short(7 + (i / 3) * 14), 40, 10});
    t.controls.push_back({kStatic, WC_STATIC, L"(0-359.9\u00b0)", kChild | WS_GROUP, 7, 55, 50, 8});
    t.controls.push_back({D::IDC_ANGLE, WC_EDIT, L"",
                          kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 60, 53, 50, 12});
    t.controls.push_back({D::IDC_ANGLE_SPIN, UPDOWN_CLASS, L"",
                          kChild | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 110, 53, 10, 12});
    t.controls.push_back({D::IDC_PREVIEW, WC_BUTTON, L"Preview",
                          kChild | WS_TABSTOP | BS_AUTOCHECKBOX | WS_GROUP, 7, 75, 80, 10});
    t.controls.push_back({IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP,
                          30, 98, 50, 14});
    t.controls.push_back({IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 90, 98, 50, 14});
    platform::RegisterDialogTemplate(t);
    platform::RegisterStrings(
        {{UINT(D::IDS_ROTATE_SHEAR), L"Rotate the selected objects\nRotate/Shear"}});
    return true;
}();

} // namespace

CRotateDlg::CRotateDlg(CDesignView* parent) : CTavrinDialog(IDD, parent), m_pView(parent) {
    (void)kRegistered;
}

void CRotateDlg::SetRotator(CDesignTool* tool, Rotator rotate) {
    m_pTool = tool;
    m_fnRotate = std::move(rotate);
}

bool CRotateDlg::ToolCurrent() const {
    if (!m_pTool || !m_fnRotate || !m_pView)
        return false;
    CDesignPage* page = m_pView->GetDocument();
    return page && page->GetDesignTool() == m_pTool;
}

bool CRotateDlg::Rotate(double degrees, int undoName) {
    if (!ToolCurrent())
        return false;
    m_fnRotate(m_pView, degrees, undoName);
    return true;
}

BOOL CRotateDlg::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    EnableAngle();
    return TRUE;
}

void CRotateDlg::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_PRESET_FIRST, m_nPreset);
    DDX_Check(dx, IDC_PREVIEW, m_bPreview);
    dialog_numbers::DDX_Number(dx, IDC_ANGLE, m_dAngle, kDecimals);
}

void CRotateDlg::ShowValues() {
    m_bWriting = true;
    UpdateData(FALSE);
    m_bWriting = false;
}

void CRotateDlg::EnableAngle() {
    if (CWnd* edit = GetDlgItem(IDC_ANGLE))
        edit->EnableWindow(m_nPreset >= kFreeChoice);
}

void CRotateDlg::PreviewStep() {
    if (!m_bPreview || !m_bPreviewOpen)
        return;
    if (Rotate(m_dAngle - m_dAppliedAngle, kJoinTransaction))
        m_dAppliedAngle = m_dAngle;
}

void CRotateDlg::UndoPreview() {
    if (!m_bPreviewOpen)
        return;
    m_bPreviewOpen = false;
    m_dAppliedAngle = 0;
    // The undone preview is no step the person took: it cannot be redone.
    if (CDesignPage* page = m_pView ? m_pView->GetDocument() : nullptr) {
        page->PerformUndoTransaction();
        page->ClearRedoTransactions();
    }
}

BOOL CRotateDlg::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp), code = HIWORD(wp);
    if (code == BN_CLICKED && id >= IDC_PRESET_FIRST && id <= IDC_PRESET_FREE) {
        UpdateData(TRUE);
        if (m_nPreset >= 0 && m_nPreset < kFreeChoice)
            m_dAngle = m_nPreset * kPresetStep;
        EnableAngle();
        ShowValues();
        PreviewStep();
        return TRUE;
    }
    if (code == BN_CLICKED && id == IDC_PREVIEW) {
        UpdateData(TRUE);
        if (m_bPreview) {
            if (!m_bPreviewOpen && Rotate(m_dAngle - m_dAppliedAngle, kNewTransaction)) {
                m_bPreviewOpen = true;
                m_dAppliedAngle = m_dAngle;
            }
        } else {
            UndoPreview();
        }
        return TRUE;
    }
    if (code == EN_CHANGE && id == IDC_ANGLE) {
        if (m_bWriting)
            return TRUE;
        UpdateData(TRUE);
        if (m_dAngle < 0 || m_dAngle > kMaxAngle) {
            m_dAngle = m_dAngle < 0 ? 0 : kMaxAngle;
            ShowValues();
        }
        PreviewStep();
        return TRUE;
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

BOOL CRotateDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        const auto* n = reinterpret_cast<const NMUPDOWN*>(lp);
        if (n->hdr.code == UDN_DELTAPOS && int(n->hdr.idFrom) == IDC_ANGLE_SPIN) {
            UpdateData(TRUE);
            m_dAngle = dialog_numbers::Step(m_dAngle, n->iDelta, kSpinStep, kDecimals);
            if (m_dAngle < 0)
                m_dAngle = kMaxAngle;
            else if (m_dAngle > kMaxAngle)
                m_dAngle = 0;
            ShowValues();
            PreviewStep();
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CTavrinDialog::OnWndMsg(msg, wp, lp, result);
}

void CRotateDlg::OnOK() {
    UpdateData(TRUE);
    UndoPreview();
    Rotate(m_dAngle, IDS_ROTATE_SHEAR);
    CTavrinDialog::OnOK();
}

void CRotateDlg::OnCancel() {
    // Only the undone preview's redo is dropped: without a preview an older redo stays.
    UndoPreview();
    CTavrinDialog::OnCancel();
}
