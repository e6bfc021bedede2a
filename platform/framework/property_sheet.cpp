#include "platform/framework/property_sheet.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace {

constexpr short kMargin = 7;
constexpr short kButtonRow = 14;
constexpr short kButtonWidth = 60;
constexpr short kPageButtonWidth = 64;
constexpr short kGap = 4;

CString LoadText(UINT id) {
    wchar_t buffer[512] = {};
    return LoadStringW(nullptr, id, buffer, 511) > 0 ? CString(buffer) : CString();
}

} // namespace

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : CPropertySheet(static_cast<LPCWSTR>(LoadText(captionId)), parent, selectPage) {}

CPropertySheet::CPropertySheet(LPCWSTR caption, CWnd* parent, UINT selectPage)
    : CDialog(kSheetTemplateId, parent), m_strCaption(caption ? caption : L"") {
    m_psh.nStartPage = selectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page || GetPageIndex(page) >= 0)
        return;
    page->m_pSheet = this;
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int i) const {
    return i >= 0 && i < GetPageCount() ? m_pages[size_t(i)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

int CPropertySheet::GetActiveIndex() const {
    if (m_nActive >= 0)
        return m_nActive;
    return int(m_psh.nStartPage) < GetPageCount() ? int(m_psh.nStartPage) : 0;
}

DialogTemplate CPropertySheet::BuildTemplate() const {
    short cx = 0, cy = 0;
    for (CPropertyPage* p : m_pages)
        if (const DialogTemplate* t = platform::FindDialogTemplate(p->m_nIDHelp)) {
            cx = std::max(cx, t->cx);
            cy = std::max(cy, t->cy);
        }
    cx = std::max<short>(cx, 4 * (kButtonWidth + kGap));
    DialogTemplate t{kSheetTemplateId,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                     short(cx + 2 * kMargin),
                     short(cy + 2 * kButtonRow + 4 * kMargin),
                     nullptr,
                     L"MS Sans Serif",
                     8,
                     {}};
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    for (int i = 0; i < GetPageCount(); ++i)
        t.controls.push_back(
            {kPageButtonFirst + i, WC_BUTTON, nullptr, kChild | BS_AUTORADIOBUTTON | WS_TABSTOP,
             short(kMargin + i * kPageButtonWidth), kMargin, kPageButtonWidth, kButtonRow});
    const bool help = (m_psh.dwFlags & PSH_HASHELP) ||
                      std::any_of(m_pages.begin(), m_pages.end(), [](CPropertyPage* p) {
                          return (p->m_psp.dwFlags & PSP_HASHELP) != 0;
                      });
    const bool apply = !(m_psh.dwFlags & PSH_NOAPPLYNOW);
    std::vector<int> buttons{IDOK, IDCANCEL};
    if (apply)
        buttons.push_back(ID_APPLY_NOW);
    if (help)
        buttons.push_back(IDHELP);
    const short y = short(t.cy - kMargin - kButtonRow);
    short x = short(t.cx - kMargin - short(buttons.size()) * (kButtonWidth + kGap) + kGap);
    for (int id : buttons) {
        const wchar_t* text = id == IDOK       ? L"OK"
                              : id == IDCANCEL ? L"Cancel"
                              : id == IDHELP   ? L"Help"
                                               : L"Apply";
        DWORD style = kChild | WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : 0);
        if (id == ID_APPLY_NOW)
            style |= WS_DISABLED; // nothing changed yet
        t.controls.push_back({id, WC_BUTTON, text, style, x, y, kButtonWidth, kButtonRow});
        x = short(x + kButtonWidth + kGap);
    }
    return t;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_pages.empty())
        return -1;
    DialogTemplate t = BuildTemplate();
    t.caption = m_strCaption;
    // The template lives only for this run; a nested sheet sets its own in its place.
    const DialogTemplate* previous = platform::FindDialogTemplate(kSheetTemplateId);
    DialogTemplate saved = previous ? *previous : DialogTemplate{};
    platform::RegisterDialogTemplate(t);
    m_nActive = -1;
    INT_PTR r = CDialog::DoModal();
    if (previous)
        platform::RegisterDialogTemplate(saved);
    for (CPropertyPage* p : m_pages) {
        if (p->m_hWnd)
            p->DestroyWindow();
        p->m_bFirstSetActive = true;
    }
    return r;
}

BOOL CPropertySheet::OnInitDialog() {
    for (int i = 0; i < GetPageCount(); ++i)
        if (CWnd* b = GetDlgItem(kPageButtonFirst + i))
            b->SetWindowText(m_pages[size_t(i)]->GetPageTitle());
    ShowPage(GetActiveIndex());
    return TRUE;
}

void CPropertySheet::ShowPage(int i) {
    CPropertyPage* page = GetPage(i);
    if (!page)
        return;
    if (!page->m_hWnd) {
        if (!page->CreatePage(this))
            return;
        RECT r{kMargin, 2 * kMargin + kButtonRow, 0, 0};
        ::MapDialogRect(m_hWnd, &r);
        page->SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (CPropertyPage* old = GetPage(m_nActive); old && old != page && old->m_hWnd)
        old->ShowWindow(SW_HIDE);
    m_nActive = i;
    for (int k = 0; k < GetPageCount(); ++k)
        CheckDlgButton(m_hWnd, kPageButtonFirst + k, k == i ? BST_CHECKED : BST_UNCHECKED);
    page->ShowWindow(SW_SHOW);
    page->OnSetActive();
}

BOOL CPropertySheet::SetActivePage(int i) {
    if (!GetPage(i))
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = UINT(i);
        return TRUE;
    }
    if (i == m_nActive)
        return TRUE;
    if (CPropertyPage* old = GetPage(m_nActive); old && old->m_hWnd && !old->OnKillActive()) {
        // The page buttons show the page that stays.
        for (int k = 0; k < GetPageCount(); ++k)
            CheckDlgButton(m_hWnd, kPageButtonFirst + k,
                           k == m_nActive ? BST_CHECKED : BST_UNCHECKED);
        return FALSE;
    }
    ShowPage(i);
    return TRUE;
}

void CPropertySheet::OnOK() {
    if (CPropertyPage* active = GetPage(m_nActive);
        active && active->m_hWnd && !active->OnKillActive())
        return;
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd)
            p->OnOK();
    EndDialog(IDOK);
}

void CPropertySheet::OnCancel() {
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd)
            p->OnCancel();
    EndDialog(IDCANCEL);
}

BOOL CPropertySheet::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    if (HIWORD(wp) == BN_CLICKED && id >= kPageButtonFirst &&
        id < kPageButtonFirst + GetPageCount()) {
        SetActivePage(id - kPageButtonFirst);
        return TRUE;
    }
    return CDialog::OnCommand(wp, lp);
}
