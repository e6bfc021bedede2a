#include "pivora/framework/display_info.h"

#include "pivora/framework/do_events.h"

CDisplayInfo::~CDisplayInfo() {
    m_dlg.reset();
    m_enabled = false;
}

void CDisplayInfo::EnableDlg(bool enable) {
    if (!enable && m_enabled) {
        m_dlg.reset();
        m_fine = nullptr;
    }
    m_enabled = enable;
}

void CDisplayInfo::OpenDlg() {
    if (!m_enabled || m_dlg)
        return;
    auto dlg = std::make_shared<CPercentageDlg>(0, CPercentageDlg::IDD_PERCENTAGE);
    if (!dlg->Create(nullptr))
        return;
    if (CWnd* cancel = dlg->GetDlgItem(IDCANCEL))
        cancel->ShowWindow(SW_HIDE);
    m_fine = ::GetDlgItem(dlg->m_hWnd, CPercentageDlg::IDC_FINE_PROGRESS);
    m_dlg = std::move(dlg);
}

void CDisplayInfo::SetRange(int upper, int lower, bool fine) {
    if (!m_dlg || !m_enabled)
        return;
    if (!fine) {
        m_dlg->SetRange(lower, upper);
        if (lower == 0)
            m_dlg->SetStep(1);
        m_dlg->SetPos(0);
        if (IsWindowVisible(m_fine))
            ::ShowWindow(m_fine, SW_HIDE);
    } else {
        if (!IsWindowVisible(m_fine))
            ::ShowWindow(m_fine, SW_SHOW);
        SendMessageW(m_fine, PBM_SETRANGE, 0, MAKELPARAM(WORD(lower), WORD(upper)));
        if (lower == 0)
            SendMessageW(m_fine, PBM_SETSTEP, 1, 0);
        SendMessageW(m_fine, PBM_SETPOS, 0, 0);
    }
    DoEvents();
}

int CDisplayInfo::StepIt(int delta, bool fine) {
    if (!m_dlg)
        return 0;
    if (!fine)
        return delta ? m_dlg->OffsetPos(delta) : m_dlg->StepIt();
    DoEvents();
    return int(delta ? SendMessageW(m_fine, PBM_DELTAPOS, WPARAM(delta), 0)
                     : SendMessageW(m_fine, PBM_STEPIT, 0, 0));
}

void CDisplayInfo::SetText(CString text) {
    if (m_dlg && m_enabled)
        m_dlg->SetReadout(text, 0);
}

void CDisplayInfo::HideFine() {
    if (IsWindowVisible(m_fine)) {
        ::ShowWindow(m_fine, SW_HIDE);
        DoEvents();
    }
}
