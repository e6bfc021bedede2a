// A property sheet: pages of dialogs behind a row of page buttons, with OK, Cancel, Apply
// and Help. Run modally, the active page saves its controls before the sheet ends with OK.
#pragma once

#include "platform/framework/property_page.h"

#include <vector>

constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr DWORD PSH_HASHELP = 0x0200;
constexpr int ID_APPLY_NOW = 0x3021;
constexpr int IDHELP = 9;

class CPropertySheet : public CDialog {
    DECLARE_DYNAMIC(CPropertySheet)

public:
    // The template id a running sheet is shown (and answered in tests) under.
    static constexpr UINT kSheetTemplateId = 0x7F10;
    // Control ids of the page buttons: one per page, in order.
    static constexpr int kPageButtonFirst = 0x7F20;

    struct SheetHeader {
        DWORD dwFlags = 0;
        UINT nStartPage = 0;
    };

    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCWSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int i) const;
    int GetPageIndex(const CPropertyPage* page) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const { return GetPage(GetActiveIndex()); }
    // False when the page leaving refuses (its data does not save).
    BOOL SetActivePage(int i);
    BOOL SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    const CString& GetTitle() const { return m_strCaption; }

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    // The active page saves; every page that was created hears OnOK; the sheet ends with IDOK.
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

    SheetHeader m_psh;

private:
    void ShowPage(int i);
    DialogTemplate BuildTemplate() const;

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    int m_nActive = -1;
};
