// The base of the system's dialogs: the program's icon, unit captions relabelled for inches,
// and the place where each dialog was last closed with OK, kept per template.
#pragma once

#include "platform/framework/dialog_ex.h"

// Unit captions that dialogs place next to length fields.
constexpr int IDC_UNIT_LABEL_FIRST = 17515;
constexpr int IDC_UNIT_LABEL_LAST = 17518;
// "Dialog Position %d": the parameter that keeps a template's position.
constexpr UINT IDS_DIALOG_POSITION = 17550;

class CTavrinDialog : public CDialogEx {
    DECLARE_DYNAMIC(CTavrinDialog)

public:
    explicit CTavrinDialog(UINT templateId, CWnd* parent = nullptr);

    UINT DialogID() const { return m_nDialogID; }
    // The icon every later dialog shows (-1: none). Set once at start-up.
    static void DialogIconID(int id);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint() override;

protected:
    // Puts the dialog where it was last closed with OK.
    void fnSetWindowPos();
    // "(mm)" becomes "(in)"; a caption that is exactly "mm" becomes "in".
    void fnSetInchMMDisplay(int controlId);
    // The name of this dialog's position parameter.
    CString PositionParamName() const;

    UINT m_nDialogID;
    HICON m_hIcon = nullptr;

private:
    static int s_nIconID;
};
