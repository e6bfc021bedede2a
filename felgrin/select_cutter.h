// "Cutter Selection": the operator picks one of the installed cutters.
#pragma once

#include "platform/framework/list_box.h"
#include "qvutils/tavrin_dialog.h"

constexpr UINT IDD_SELECT_CUTTER = 18603;
constexpr int IDC_CUTTER_LIST = 19600;

class CSelectCutter : public CTavrinDialog {
    DECLARE_DYNAMIC(CSelectCutter)

public:
    explicit CSelectCutter(CWnd* parent = nullptr);

    // A cutter of this name (exact) is not offered; set before DoModal.
    void fnSetOmitCutterName(CString& name) { m_strOmitName = name; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void DoDataExchange(CDataExchange* dx) override;

    // After OK: the chosen cutter's name and its index in the table of installed cutters
    // (-1 when nothing was chosen).
    CString m_strSelectedName;
    CString m_strOmitName;
    int m_nChosenIndex = -1;

protected:
    CListBox m_lbCutters;
};
