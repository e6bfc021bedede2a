#include "qvutils/tavrin_dialog.h"

#include "platform/windowing/system_metrics.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CTavrinDialog, CDialogEx)

namespace {

const bool kRegistered = [] {
    platform::RegisterStrings({{IDS_DIALOG_POSITION, L"Dialog Position %d"}});
    return true;
}();

// "%d %d" and nothing else but blanks.
bool ParsePosition(const CString& text, POINT& at) {
    int x = 0, y = 0, used = 0;
    if (std::swscanf(text, L" %d %d %n", &x, &y, &used) != 2 || used != text.GetLength())
        return false;
    at = POINT{x, y};
    return true;
}

bool Inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool OnSomeMonitor(POINT p) {
    return MonitorFromPoint(p, MONITOR_DEFAULTTONULL) != nullptr;
}

} // namespace

int CTavrinDialog::s_nIconID = -1;

CTavrinDialog::CTavrinDialog(UINT templateId, CWnd* parent)
    : CDialogEx(templateId, parent), m_nDialogID(templateId) {
    (void)kRegistered;
    if (s_nIconID != -1)
        m_hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(UINT(s_nIconID)));
}

void CTavrinDialog::DialogIconID(int id) {
    s_nIconID = id;
}

BOOL CTavrinDialog::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    if (QvGetInchDisplayOn())
        for (int id = IDC_UNIT_LABEL_FIRST; id <= IDC_UNIT_LABEL_LAST; ++id)
            fnSetInchMMDisplay(id);
    return TRUE;
}

void CTavrinDialog::fnSetInchMMDisplay(int controlId) {
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    if (!control)
        return;
    CWnd* w = CWnd::FromHandle(control);
    CString text;
    w->GetWindowText(text);
    if (text.Replace(L"(mm)", L"(in)") == 0) {
        if (text != L"mm")
            return;
        text = L"in";
    }
    w->SetWindowText(text);
}

CString CTavrinDialog::PositionParamName() const {
    CString format;
    if (!AfxLoadString(IDS_DIALOG_POSITION, format))
        format = L"Dialog Position %d";
    return FormatString(format, int(m_nDialogID));
}

void CTavrinDialog::OnOK() {
    CRect r;
    GetWindowRect(&r);
    qvhost::SetAppParam(PositionParamName(), FormatString(L"%d %d", r.left, r.top));
    CDialogEx::OnOK();
}

void CTavrinDialog::fnSetWindowPos() {
    CRect r;
    GetWindowRect(&r);
    POINT at{r.left, r.top};
    CString saved;
    if (qvhost::GetAppParam(PositionParamName(), saved) && !ParsePosition(saved, at)) {
        CenterWindow(); // a damaged position: somewhere the operator can see
        return;
    }
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd && qvhost::GetSetAppParam(L"Dialog Position On Desktop", 1)) {
        CRect mainRect;
        main->GetWindowRect(&mainRect);
        if (!Inside(mainRect, at)) {
            CenterWindow();
            return;
        }
    } else if (!OnSomeMonitor(at)) {
        CenterWindow();
        return;
    }
    SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetActiveWindow(m_hWnd);
}

void CTavrinDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        CDialogEx::OnPaint();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - platform::kSystemIconSize + 1) / 2;
    int y = (client.Height() - platform::kSystemIconSize + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}
