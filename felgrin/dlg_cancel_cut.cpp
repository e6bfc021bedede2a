#include "felgrin/dlg_cancel_cut.h"

#include "felgrin/base_cutter.h"

CDlgCancelCut::CDlgCancelCut(CBaseCutter* cutter, void* parent)
    : m_pCutter(cutter), m_pParent(parent) {}

void CDlgCancelCut::SetStatus(const CString& status) {
    m_strStatus = status;
}

void CDlgCancelCut::OnCancel() {
    if (m_pCutter)
        m_pCutter->SetCutCancelled(1);
    m_bShown = false;
}
