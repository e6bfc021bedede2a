#include "platform/framework/dialog.h"

#include "platform/framework/dialog_watch.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {

void BindCreated(void* context, HWND hwnd) {
    platform::SetCreateHook(nullptr, nullptr);
    static_cast<CWnd*>(context)->SubclassWindow(hwnd);
}

} // namespace

HWND CDialog::CreateFromTemplate(UINT templateId, HWND owner) {
    const DialogTemplate* tmpl = platform::FindDialogTemplate(templateId);
    if (!tmpl || m_hWnd)
        return nullptr;
    platform::SetCreateHook(BindCreated, this);
    HWND h = CreateDialogIndirectParamW(nullptr, tmpl, owner, nullptr, 0);
    platform::SetCreateHook(nullptr, nullptr);
    return h;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    if (!parent)
        parent = AfxGetMainWnd();
    m_pParentWnd = parent;
    m_modal = false;
    if (!CreateFromTemplate(templateId, parent ? parent->m_hWnd : nullptr))
        return FALSE;
    platform::detail::NotifyDialogCreated(this);
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    HWND owner = nullptr;
    GetSafeOwner(m_pParentWnd, &owner);
    bool disabled = owner && ::IsWindowEnabled(owner);
    if (disabled)
        ::EnableWindow(owner, FALSE);
    m_modal = true;
    INT_PTR result = -1;
    HWND h = CreateFromTemplate(m_nIDHelp, owner);
    if (h) {
        if (!platform::IsDialogEnded(h))
            ::ShowWindow(h, SW_SHOW);
        result = platform::RunModalDialog(h);
    }
    if (disabled)
        ::EnableWindow(owner, TRUE);
    // The owner takes the activation back before the dialog goes, as the keyboard expects.
    if (owner && h && ::GetActiveWindow() == h)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        DestroyWindow();
    m_modal = false;
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_INITDIALOG) {
        LRESULT r = OnInitDialog();
        if (result)
            *result = r;
        return TRUE;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

BOOL CDialog::OnCommand(WPARAM wp, LPARAM lp) {
    if (CWnd::OnCommand(wp, lp))
        return TRUE;
    if (HIWORD(wp) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wp)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CDataExchange::PrepareCtrl(int id) {
    HWND h = ::GetDlgItem(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, id);
    if (!h)
        Fail();
    m_hWndLastControl = h;
    return h;
}

void CDataExchange::Fail() {
    if (m_hWndLastControl && m_bSaveAndValidate)
        ::SetFocus(m_hWndLastControl);
    throw CUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND h = dx->PrepareCtrl(id);
    CWnd* w = CWnd::FromHandle(h);
    if (dx->m_bSaveAndValidate)
        w->GetWindowText(value);
    else
        w->SetWindowText(value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    HWND h = dx->PrepareCtrl(id);
    CWnd* w = CWnd::FromHandle(h);
    if (dx->m_bSaveAndValidate) {
        CString text;
        w->GetWindowText(text);
        text.Trim();
        wchar_t* end = nullptr;
        long long v = std::wcstoll(text, &end, 10);
        if (text.IsEmpty() || (end && *end) || v < INT32_MIN || v > INT32_MAX) {
            AfxMessageBox(L"Please enter an integer.", 0x30);
            dx->Fail();
        }
        value = int(v);
    } else {
        w->SetWindowText(FormatString(L"%d", value));
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = int(SendMessageW(h, BM_GETCHECK, 0, 0));
    else
        SendMessageW(h, BM_SETCHECK, WPARAM(value), 0);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, PROGRESS_CLASS, L"", style | WS_CHILD, rect, parent, id);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    PBRANGE r{0, 0};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&r));
    lower = r.iLow;
    upper = r.iHigh;
}
