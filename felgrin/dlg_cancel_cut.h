// The modeless "Cutting in Progress" window shown while a job is sent, with the cutter, its port,
// the current step and a button that cancels the cut. The cutter owns it; "Cancel Cutting"
// closes the window only, so the object lives until the cutter lets it go.
#pragma once

#include "platform/framework/dialog.h"

class CBaseCutter;

constexpr UINT IDD_CANCEL_CUT = 18608;
constexpr int IDC_CANCEL_CUTTER = 19628;
constexpr int IDC_CANCEL_PORT = 19629;
constexpr int IDC_CANCEL_STATUS = 19630;

class CDlgCancelCut : public CDialog {
    DECLARE_DYNAMIC(CDlgCancelCut)

public:
    // Without a parent the window goes under the main window.
    CDlgCancelCut(CBaseCutter* cutter, CWnd* parent);
    ~CDlgCancelCut() override;

    using CDialog::Create;
    // Opens the window, shown and centred on its parent.
    BOOL Create();
    // True while the window is open and visible.
    bool IsShown() const { return m_hWnd && IsWindowVisible(); }
    // Sets the step shown and redraws it at once.
    virtual void SetStatus(const CString& status);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // "Cancel Cutting".
    void OnCancel() override;

    CString m_strCutter;
    CString m_strPort;
    CString m_strStatus = L"OK";
    CBaseCutter* m_pCutter;
    CWnd* m_pParent;
    UINT m_nTemplate = IDD_CANCEL_CUT;
    int m_bCancelled = 0;
};
