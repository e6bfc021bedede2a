// "Select Cutter": with more than one cutter installed, the operator picks the one the sheet
// document is for.
#pragma once

#include "platform/core/string_array.h"
#include "platform/framework/dialog.h"
#include "platform/framework/list_box.h"

constexpr UINT IDD_CHOOSE_CUTTER = 14037;
constexpr int IDC_CHOOSE_CUTTER_LIST = 15077;

class CChooseCutter : public CDialog {
    DECLARE_DYNAMIC(CChooseCutter)

public:
    // The names are not owned; `selected` is the entry chosen at first.
    CChooseCutter(CStringArray* names, int selected, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;

    // After OK the list's selection (-1 for none); otherwise as given.
    int m_nSelected;

protected:
    CStringArray* m_pNames;
    CListBox m_lbNames;
};
