// The class library's dialog: modal (DoModal) or modeless (Create), with data exchange.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/dialog_template.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDHelp(templateId), m_pParentWnd(parent) {}

    // Modeless: without a parent the dialog is owned by the main window.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

    UINT m_nIDHelp = 0; // the template
    CWnd* m_pParentWnd = nullptr;

protected:
    bool m_modal = false;

private:
    HWND CreateFromTemplate(UINT templateId, HWND owner);
};

// Data exchange between a dialog's controls and its members.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    HWND PrepareCtrl(int id);
    [[noreturn]] void Fail();

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    HWND m_hWndLastControl = nullptr;
};

class CUserException : public CException {
public:
    const char* what() const noexcept override { return "user exception"; }
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);

// The progress bar control.
class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper) {
        SendMessage(PBM_SETRANGE, 0, MAKELPARAM(WORD(lower), WORD(upper)));
    }
    void SetRange32(int lower, int upper) {
        SendMessage(PBM_SETRANGE32, WPARAM(lower), LPARAM(upper));
    }
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, WPARAM(pos))); }
    int GetPos() const { return int(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return int(SendMessage(PBM_DELTAPOS, WPARAM(delta))); }
    int SetStep(int step) { return int(SendMessage(PBM_SETSTEP, WPARAM(step))); }
    int StepIt() { return int(SendMessage(PBM_STEPIT)); }
};
