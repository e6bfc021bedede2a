#include "pivora/framework/percentage_dlg.h"

#include "platform/system/clock.h"

IMPLEMENT_DYNAMIC(CPercentageDlg, CDialog)

namespace {

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;

// The dialog's resources, registered when the library loads. The dialog is modeless and made
// visible by its template, so Create shows it.
const bool kRegistered = [] {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    platform::RegisterDialogTemplate(DialogTemplate{
        CPercentageDlg::IDD_PERCENTAGE,
        style,
        201,
        81,
        L"",
        L"MS Sans Serif",
        8,
        {{IDCANCEL, WC_BUTTON, L"Cancel", kVisibleChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 72, 60, 56,
          14},
         {CPercentageDlg::IDC_PROGRESS, PROGRESS_CLASS, L"", kVisibleChild | WS_BORDER, 15, 16, 170,
          13},
         {CPercentageDlg::IDC_PERCENT_TEXT, WC_STATIC, L" 0 %", kVisibleChild, 83, 7, 18, 8},
         {CPercentageDlg::IDC_READOUT_0, WC_STATIC, L"", kVisibleChild, 15, 42, 169, 17},
         {CPercentageDlg::IDC_FINE_PROGRESS, PROGRESS_CLASS, L"", WS_CHILD | WS_BORDER | PBS_SMOOTH,
          15, 28, 170, 13}}});
    platform::RegisterDialogTemplate(DialogTemplate{
        CPercentageDlg::IDD_PERCENTAGE_TWO_LINES,
        style,
        200,
        94,
        L"",
        L"MS Sans Serif",
        8,
        {{IDCANCEL, WC_BUTTON, L"Cancel", kVisibleChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 72, 73, 56,
          14},
         {CPercentageDlg::IDC_PROGRESS, PROGRESS_CLASS, L"", kVisibleChild | WS_BORDER, 8, 16, 180,
          13},
         {CPercentageDlg::IDC_PERCENT_TEXT, WC_STATIC, L" 0 %", kVisibleChild, 83, 7, 18, 8},
         {CPercentageDlg::IDC_READOUT_0, WC_STATIC, L"", kVisibleChild, 8, 44, 180, 12},
         {CPercentageDlg::IDC_FINE_PROGRESS, PROGRESS_CLASS, L"", WS_CHILD | WS_BORDER | PBS_SMOOTH,
          8, 30, 180, 13},
         {CPercentageDlg::IDC_READOUT_1, WC_STATIC, L"", WS_CHILD, 8, 59, 174, 12}}});
    platform::RegisterStrings({{CPercentageDlg::IDS_PERCENT_COMPLETE, L"Percent Complete"}});
    return true;
}();

} // namespace

CPercentageDlg::CPercentageDlg(UINT captionId, UINT templateId)
    : CDialog(templateId), m_captionId(captionId ? captionId : IDS_PERCENT_COMPLETE),
      m_lastStep(platform::GetClock().NowMs()), m_templateId(templateId) {
    (void)kRegistered;
}

CPercentageDlg::~CPercentageDlg() {
    if (m_hWnd)
        DestroyWindow();
    else if (m_ownerDisabled)
        ::EnableWindow(m_hWndOwner, TRUE);
}

int CPercentageDlg::Create(CWnd* parent) {
    HWND owner = nullptr;
    CWnd::GetSafeOwner(parent, &owner);
    m_hWndOwner = owner;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        m_ownerDisabled = true;
    }
    if (!CDialog::Create(m_templateId, parent)) {
        if (m_ownerDisabled)
            ::EnableWindow(owner, TRUE);
        m_ownerDisabled = false;
        return 0;
    }
    if (m_noCancelButton) {
        if (CWnd* cancel = GetDlgItem(IDCANCEL))
            cancel->EnableWindow(FALSE);
    }
    if (m_templateId == IDD_PERCENTAGE_TWO_LINES) {
        if (CWnd* line = GetDlgItem(IDC_READOUT_1))
            line->ShowWindow(SW_SHOW);
    }
    return 1;
}

BOOL CPercentageDlg::DestroyWindow() {
    if (m_ownerDisabled) {
        ::EnableWindow(m_hWndOwner, TRUE);
        m_ownerDisabled = false;
    }
    return CDialog::DestroyWindow();
}

void CPercentageDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
}

BOOL CPercentageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.SendMessage(PBM_SETRANGE32, WPARAM(m_lower), LPARAM(m_upper));
    m_progress.SendMessage(PBM_SETSTEP, WPARAM(m_step));
    m_progress.SendMessage(PBM_SETPOS, WPARAM(m_lower));
    CString caption;
    AfxLoadString(m_captionId, caption);
    SetWindowText(caption);
    return TRUE;
}

void CPercentageDlg::PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A quit taken here belongs to the main loop: put it back and stop.
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CPercentageDlg::UpdatePercent(int pos) {
    int64_t span = int64_t(m_upper) - m_lower;
    int64_t p;
    if (span == 0)
        p = pos >= m_upper ? 100 : 0; // an empty range has nothing to divide
    else
        p = (int64_t(pos) - m_lower) * 100 / span;
    // A bar that wrapped past its end shows the remainder.
    if (p != 100)
        p %= 100;
    CString text;
    text.Format(L"%d%c", int(p), L'%');
    CWnd* label = GetDlgItem(IDC_PERCENT_TEXT);
    if (!label)
        return;
    CString shown;
    label->GetWindowText(shown);
    if (shown != text)
        label->SetWindowText(text);
}

void CPercentageDlg::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_progress.SendMessage(PBM_SETRANGE32, WPARAM(lower), LPARAM(upper));
}

int CPercentageDlg::SetStep(int step) {
    int previous = int(m_progress.SendMessage(PBM_SETSTEP, WPARAM(step)));
    m_step = step;
    return previous;
}

int CPercentageDlg::SetPos(int pos) {
    PumpMessages();
    int previous = int(m_progress.SendMessage(PBM_SETPOS, WPARAM(pos)));
    UpdatePercent(pos);
    return previous;
}

int CPercentageDlg::OffsetPos(int delta) {
    PumpMessages();
    int previous = int(m_progress.SendMessage(PBM_DELTAPOS, WPARAM(delta)));
    UpdatePercent(previous + delta);
    return previous;
}

int CPercentageDlg::StepIt() {
    PumpMessages();
    int previous = int(m_progress.SendMessage(PBM_STEPIT));
    UpdatePercent(previous + m_step);
    m_lastStep = platform::GetClock().NowMs();
    return previous;
}

int CPercentageDlg::StepItByTime(int ms) {
    ULONGLONG now = platform::GetClock().NowMs();
    if (now >= m_lastStep && now - m_lastStep >= ULONGLONG(ms < 0 ? 0 : ms))
        return StepIt();
    return 0;
}

void CPercentageDlg::SetAutoProgressON(bool on) {
    if (m_timerId) {
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    if (on && m_hWnd)
        m_timerId = SetTimer(AUTO_PROGRESS_TIMER, 100);
}

void CPercentageDlg::OnTimer(UINT_PTR id) {
    if (m_timerId && id == m_timerId)
        StepIt();
    else
        CDialog::OnTimer(id);
}

void CPercentageDlg::OnCancel() {
    if (m_closeOnCancel)
        CDialog::OnCancel();
    else
        m_cancelPressed = 1;
}

int CPercentageDlg::CheckCancelButton() {
    PumpMessages();
    int pressed = m_cancelPressed;
    m_cancelPressed = 0;
    return pressed;
}

int CPercentageDlg::HasCancelled() {
    if (!m_cancelled)
        m_cancelled = CheckCancelButton();
    if (m_cancelled)
        SetReadout(L"!", 0);
    return m_cancelled;
}

void CPercentageDlg::SetReadout(const wchar_t* text, UINT line) {
    if (CWnd* w = GetDlgItem(line == 0 ? IDC_READOUT_0 : IDC_READOUT_1))
        w->SetWindowText(text);
}

void CPercentageDlg::GetReadout(CString& text) {
    if (CWnd* w = GetDlgItem(IDC_READOUT_0))
        w->GetWindowText(text);
    else
        text.Empty();
}
