// CMFCToolBarColourBox: the colour toolbar's button, hosting a CColourBox.
#pragma once

#include "platform/framework/mfc_tool_bar_combo_box_button.h"

class CColourBox;

class CMFCToolBarColourBox : public CMFCToolBarComboBoxButton {
    DECLARE_DYNCREATE(CMFCToolBarColourBox)
public:
    // Child, visible, vertical scroll, drop-down list, owner-drawn fixed rows, strings, automatic
    // horizontal scroll.
    static constexpr DWORD kComboStyle = 0x50200253;

    CMFCToolBarColourBox() = default;
    CMFCToolBarColourBox(UINT id, int image, DWORD style, int width);

    CComboBox* CreateCombo(CWnd* parent, const CRect& rect) override;
    CColourBox* GetColourBox() const;
    // The button shows no text of its own.
    CString GetText() const { return CString(); }
};
