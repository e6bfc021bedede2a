#include "platform/framework/mfc_tool_bar_combo_box_button.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CMFCToolBarComboBoxButton, CMFCToolBarButton)

CMFCToolBarComboBoxButton::CMFCToolBarComboBoxButton(UINT id, int image, DWORD style, int width)
    : CMFCToolBarButton(id), m_dwStyle(style), m_iWidth(width) {
    m_iImage = image;
}

CMFCToolBarComboBoxButton::~CMFCToolBarComboBoxButton() {
    if (m_pWndCombo) {
        if (m_pWndCombo->m_hWnd)
            m_pWndCombo->DestroyWindow();
        delete m_pWndCombo;
    }
}

void CMFCToolBarComboBoxButton::CopyFrom(const CMFCToolBarButton& src) {
    CMFCToolBarButton::CopyFrom(src);
    if (const auto* c = dynamic_cast<const CMFCToolBarComboBoxButton*>(&src)) {
        m_dwStyle = c->m_dwStyle;
        m_iWidth = c->m_iWidth;
        m_nDropDownHeight = c->m_nDropDownHeight;
        m_items = c->m_items;
        m_iSelIndex = c->m_iSelIndex;
    }
}

CComboBox* CMFCToolBarComboBoxButton::CreateCombo(CWnd* parent, const CRect& rect) {
    auto* combo = new CComboBox;
    if (!combo->Create(m_dwStyle | WS_CHILD | WS_VISIBLE | WS_VSCROLL, rect, parent, m_nID)) {
        delete combo;
        return nullptr;
    }
    return combo;
}

void CMFCToolBarComboBoxButton::OnChangeParentWnd(CWnd* parent) {
    CMFCToolBarButton::OnChangeParentWnd(parent);
    if (m_pWndCombo || !parent || !parent->m_hWnd)
        return;
    CRect r = m_rect;
    r.right = r.left + m_iWidth;
    r.bottom = r.top + m_nDropDownHeight;
    m_pWndCombo = CreateCombo(parent, r);
    FillCombo();
}

int CMFCToolBarComboBoxButton::GetLayoutHeight(int standard) const {
    int field = platform::kComboFieldHeight;
    if (m_pWndCombo && m_pWndCombo->m_hWnd) {
        CRect r;
        m_pWndCombo->GetWindowRect(&r);
        field = r.Height();
    }
    return std::max(standard, field);
}

void CMFCToolBarComboBoxButton::OnMove() {
    if (!m_pWndCombo || !m_pWndCombo->m_hWnd)
        return;
    // The field keeps its own height; the open list's was given when the combo was made.
    CRect field;
    m_pWndCombo->GetWindowRect(&field);
    m_pWndCombo->MoveWindow(m_rect.left, m_rect.top, m_iWidth, field.Height(), FALSE);
}

void CMFCToolBarComboBoxButton::FillCombo() {
    if (!m_pWndCombo || !m_pWndCombo->m_hWnd)
        return;
    m_pWndCombo->ResetContent();
    for (const Item& i : m_items)
        m_pWndCombo->SetItemData(m_pWndCombo->AddString(i.text), i.data);
    m_pWndCombo->SetCurSel(m_iSelIndex);
}

int CMFCToolBarComboBoxButton::AddItem(LPCWSTR text, DWORD_PTR data) {
    m_items.push_back({text ? text : L"", data});
    if (m_pWndCombo && m_pWndCombo->m_hWnd)
        m_pWndCombo->SetItemData(m_pWndCombo->AddString(m_items.back().text), data);
    return int(m_items.size()) - 1;
}

void CMFCToolBarComboBoxButton::RemoveAllItems() {
    m_items.clear();
    m_iSelIndex = -1;
    if (m_pWndCombo && m_pWndCombo->m_hWnd)
        m_pWndCombo->ResetContent();
}

LPCWSTR CMFCToolBarComboBoxButton::GetItem(int index) const {
    return index >= 0 && index < GetCount() ? static_cast<LPCWSTR>(m_items[size_t(index)].text)
                                            : nullptr;
}

DWORD_PTR CMFCToolBarComboBoxButton::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_items[size_t(index)].data : 0;
}

int CMFCToolBarComboBoxButton::GetCurSel() const {
    return m_pWndCombo && m_pWndCombo->m_hWnd ? m_pWndCombo->GetCurSel() : m_iSelIndex;
}

BOOL CMFCToolBarComboBoxButton::SelectItem(int index, BOOL) {
    if (index < -1 || index >= GetCount())
        return FALSE;
    m_iSelIndex = index;
    if (m_pWndCombo && m_pWndCombo->m_hWnd)
        m_pWndCombo->SetCurSel(index);
    return TRUE;
}
