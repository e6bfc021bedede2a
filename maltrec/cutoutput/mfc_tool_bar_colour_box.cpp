#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"

#include "maltrec/cutoutput/colour_box.h"

IMPLEMENT_DYNCREATE(CMFCToolBarColourBox, CMFCToolBarComboBoxButton)

CMFCToolBarColourBox::CMFCToolBarColourBox(UINT id, int image, DWORD style, int width)
    : CMFCToolBarComboBoxButton(id, image, style, width) {}

CComboBox* CMFCToolBarColourBox::CreateCombo(CWnd* parent, const CRect& rect) {
    auto* box = new CColourBox;
    if (!box->Create(kComboStyle, rect, parent, m_nID)) {
        delete box;
        return nullptr;
    }
    box->Init(nullptr, this, nullptr);
    box->EnableWindow(TRUE);
    m_nStyle &= ~TBBS_DISABLED;
    return box;
}

CColourBox* CMFCToolBarColourBox::GetColourBox() const {
    return dynamic_cast<CColourBox*>(GetComboBox());
}
