// One page of a property sheet: a dialog template shown inside the sheet, created the first
// time it becomes active. It can also be created on its own inside any window.
#pragma once

#include "platform/framework/dialog.h"

constexpr DWORD PSP_HASHELP = 0x0020;

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    struct PageHeader {
        DWORD dwFlags = PSP_HASHELP;
    };

    CPropertyPage() = default;
    explicit CPropertyPage(UINT templateId) : CDialog(templateId) {}

    // Creates the page as a child window of parent; its OnInitDialog runs meanwhile.
    BOOL CreatePage(CWnd* parent);
    // The template's caption: the page's tab text.
    CString GetPageTitle() const;
    CPropertySheet* GetParentSheet() const { return m_pSheet; }

    // The first activation only follows OnInitDialog; later ones load the controls again.
    virtual BOOL OnSetActive();
    // Saving the controls; false keeps the page active.
    virtual BOOL OnKillActive();
    // The sheet ends: pages neither close nor exchange data here.
    void OnOK() override {}
    void OnCancel() override {}

    PageHeader m_psp;

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    bool m_bFirstSetActive = true;
};
