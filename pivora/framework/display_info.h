// Optional progress display for long work: opens a progress dialog on demand and drives its
// main or its fine bar. Copies share one dialog; the last copy to go closes it.
#pragma once

#include "pivora/framework/percentage_dlg.h"

#include <memory>

class CDisplayInfo {
public:
    CDisplayInfo() = default;
    virtual ~CDisplayInfo();
    CDisplayInfo(const CDisplayInfo&) = default;
    CDisplayInfo& operator=(const CDisplayInfo&) = default;

    // Switching off while on closes this copy's dialog.
    void EnableDlg(bool enable);
    bool IsEnabled() const { return m_enabled; }
    // Opens the dialog (no parent, no Cancel button) when enabled and none is open.
    void OpenDlg();
    CPercentageDlg* GetDlg() const { return m_dlg.get(); }
    // Note the order: upper first.
    void SetRange(int upper, int lower, bool fine);
    int StepIt(int delta, bool fine);
    void SetText(CString text);
    void HideFine();

private:
    std::shared_ptr<CPercentageDlg> m_dlg;
    HWND m_fine = nullptr;
    bool m_enabled = false;
};
