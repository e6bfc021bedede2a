// The modeless "Cutting in Progress" window shown while a job is sent, with the cutter, its port,
// the current step and a button that cancels the cut.
#pragma once

#include "platform/core/cstring.h"

class CBaseCutter;

constexpr UINT IDD_CANCEL_CUT = 18608;

class CDlgCancelCut {
public:
    CDlgCancelCut(CBaseCutter* cutter, void* parent);
    virtual ~CDlgCancelCut() = default;

    void Create() { m_bShown = true; }
    void ShowWindow(int show) { m_bShown = show != 0; }
    bool IsShown() const { return m_bShown; }
    virtual void SetStatus(const CString& status);
    // "Cancel Cutting": the cutter keeps the flag, so it outlives the window.
    void OnCancel();

    CString m_strCutter;
    CString m_strPort;
    CString m_strStatus = L"OK";
    CBaseCutter* m_pCutter;
    void* m_pParent;
    UINT m_nTemplate = IDD_CANCEL_CUT;

private:
    bool m_bShown = false;
};
