// The modeless progress dialog of long operations: disables its owner while shown, shows a
// percentage and two readout lines, and latches a press of Cancel for the operation to poll.
#pragma once

#include "platform/framework/dialog.h"

class CPercentageDlg : public CDialog {
    DECLARE_DYNAMIC(CPercentageDlg)

public:
    // Templates and resources.
    static constexpr UINT IDD_PERCENTAGE = 14500;
    static constexpr UINT IDD_PERCENTAGE_TWO_LINES = 14514;
    static constexpr UINT IDS_PERCENT_COMPLETE = 14501;
    static constexpr int IDC_PROGRESS = 15500;
    static constexpr int IDC_PERCENT_TEXT = 15501;
    static constexpr int IDC_FINE_PROGRESS = 15502;
    static constexpr int IDC_READOUT_0 = 15534;
    static constexpr int IDC_READOUT_1 = 15535;
    static constexpr UINT_PTR AUTO_PROGRESS_TIMER = 1;

    explicit CPercentageDlg(UINT captionId = 0, UINT templateId = IDD_PERCENTAGE);
    ~CPercentageDlg() override;

    // 1 when shown; 0 with the owner enabled again.
    int Create(CWnd* parent);
    BOOL DestroyWindow() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;

    void SetRange(int lower, int upper);
    int SetStep(int step);
    // Each of these pumps messages first and returns the previous position.
    int SetPos(int pos);
    int OffsetPos(int delta);
    int StepIt();
    // StepIt when at least ms milliseconds passed since the last step, else 0 without pumping.
    int StepItByTime(int ms);
    void SetAutoProgressON(bool on);
    // 1 once after each press of Cancel.
    int CheckCancelButton();
    // 1 from the first press of Cancel on; readout line 0 then shows "!".
    int HasCancelled();
    void SetNoCancelButton(int noCancel) { m_noCancelButton = noCancel; }
    void SetCloseOnCancelON(bool on) { m_closeOnCancel = on; }
    void SetReadout(const wchar_t* text, UINT line);
    void SetReadout(CString& text, UINT line) { SetReadout(text.GetString(), line); }
    void GetReadout(CString& text);
    CWnd* GetReadoutWnd() { return GetDlgItem(IDC_READOUT_0); }

protected:
    void PumpMessages();
    void UpdatePercent(int pos);

    CProgressCtrl m_progress;
    UINT m_captionId;
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 10;
    int m_cancelPressed = 0;
    int m_cancelled = 0;
    bool m_ownerDisabled = false;
    int m_noCancelButton = 0;
    bool m_closeOnCancel = false;
    UINT_PTR m_timerId = 0;
    ULONGLONG m_lastStep;
    UINT m_templateId;
    HWND m_hWndOwner = nullptr;
};
