// CMFCToolBarComboBoxButton: a toolbar button that hosts a combo box of its own width. The
// combo is made when the button is put on a toolbar window; its rows are kept by the button
// as well, so a copy of the button on another toolbar shows the same list.
#pragma once

#include "platform/framework/combo_box.h"
#include "platform/framework/mfc_tool_bar_button.h"

#include <vector>

class CMFCToolBarComboBoxButton : public CMFCToolBarButton {
    DECLARE_DYNCREATE(CMFCToolBarComboBoxButton)

public:
    CMFCToolBarComboBoxButton() = default;
    CMFCToolBarComboBoxButton(UINT id, int image, DWORD style = CBS_DROPDOWNLIST, int width = 150);
    CMFCToolBarComboBoxButton(const CMFCToolBarComboBoxButton&) = delete;
    CMFCToolBarComboBoxButton& operator=(const CMFCToolBarComboBoxButton&) = delete;
    // The combo goes with the button.
    ~CMFCToolBarComboBoxButton() override;

    void CopyFrom(const CMFCToolBarButton& src) override;
    void OnChangeParentWnd(CWnd* parent) override;
    int GetLayoutWidth(int) const override { return m_iWidth; }
    // Room for the closed field.
    int GetLayoutHeight(int standard) const override;
    void OnMove() override;

    // The combo for this button, a child of parent; the button owns it. Null on failure.
    virtual CComboBox* CreateCombo(CWnd* parent, const CRect& rect);

    CComboBox* GetComboBox() const { return m_pWndCombo; }
    int AddItem(LPCWSTR text, DWORD_PTR data = 0);
    void RemoveAllItems();
    int GetCount() const { return int(m_items.size()); }
    LPCWSTR GetItem(int index) const;
    DWORD_PTR GetItemData(int index) const;
    // The combo's selection while there is a combo (the person may have picked a row).
    int GetCurSel() const;
    // Selects the row (-1 none) in the button and its combo.
    BOOL SelectItem(int index, BOOL notify = TRUE);
    void SetDropDownHeight(int height) { m_nDropDownHeight = height; }
    int GetDropDownHeight() const { return m_nDropDownHeight; }
    DWORD GetComboStyle() const { return m_dwStyle; }
    int GetWidth() const { return m_iWidth; }

protected:
    struct Item {
        CString text;
        DWORD_PTR data;
    };
    void FillCombo();

    CComboBox* m_pWndCombo = nullptr;
    DWORD m_dwStyle = CBS_DROPDOWNLIST;
    int m_iWidth = 150;
    int m_nDropDownHeight = 150;
    std::vector<Item> m_items;
    int m_iSelIndex = -1;
};
