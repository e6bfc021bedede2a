#include "design/document/def_edit.h"

IMPLEMENT_DYNAMIC(CDefEdit, CEdit)

void CDefEdit::SetDefaultText(const CString& text) {
    m_strDefault = text;
    if (m_hWnd)
        SetCueBanner(m_strDefault.GetString());
}

void CDefEdit::PreSubclassWindow() {
    CEdit::PreSubclassWindow();
    SetCueBanner(m_strDefault.GetString());
}

void CDefEdit::OnPaint() {
    if (GetWindowTextLengthW(m_hWnd) > 0 || m_strDefault.IsEmpty()) {
        Default();
        return;
    }
    // The default text is in the control only while it paints, so the owner's colour handler
    // greys it and nothing reads it as the value.
    m_bShowingDefault = 1;
    SetWindowTextW(m_hWnd, m_strDefault.GetString());
    Default();
    SetWindowTextW(m_hWnd, L"");
    ::ValidateRect(m_hWnd, nullptr);
    m_bShowingDefault = 0;
}

void CDefEdit::OnChar(UINT ch, UINT repeat, UINT flags) {
    CEdit::OnChar(ch, repeat, flags);
    if (GetWindowTextLengthW(m_hWnd) == 0)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
