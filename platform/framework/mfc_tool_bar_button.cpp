#include "platform/framework/mfc_tool_bar_button.h"

IMPLEMENT_DYNCREATE(CMFCToolBarButton, CObject)

CMFCToolBarButton::~CMFCToolBarButton() = default;

void CMFCToolBarButton::CopyFrom(const CMFCToolBarButton& src) {
    m_nID = src.m_nID;
    m_nStyle = src.m_nStyle;
    m_iImage = src.m_iImage;
    m_strText = src.m_strText;
    m_bVisible = src.m_bVisible;
}

CMFCToolBarButton* CMFCToolBarButton::Clone() const {
    CObject* made = GetRuntimeClass()->CreateObject();
    auto* copy = dynamic_cast<CMFCToolBarButton*>(made);
    if (!copy) {
        delete made;
        copy = new CMFCToolBarButton;
    }
    copy->CopyFrom(*this);
    copy->m_rect = m_rect;
    return copy;
}
