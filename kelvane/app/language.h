// CLanguage: the language page ("Select Language", dialog 131): "Default" (the program's own
// texts) and each language bundle "Lang*.so" in the language folder, shown by its string 61446.
// A choice is applied at once; OK stores it as "LangDLL", Cancel goes back to the stored one.
#pragma once

#include "platform/framework/property_page.h"

#include <vector>

class CLanguage : public CPropertyPage {
    DECLARE_DYNAMIC(CLanguage)

public:
    enum { IDD = 131 };
    static constexpr int IDC_LANGUAGE = 1003;
    static constexpr UINT IDS_LANGUAGE_NAME = 61446;
    static constexpr UINT ID_SELECT_LANGUAGE = 32830;
    static constexpr const wchar_t* kDefault = L"Default";

    CLanguage();
    ~CLanguage() override;

    // Switches the texts to the bundle name in the language folder, or to the program's own for
    // "Default". A bundle that does not load leaves the program's own texts; false then.
    static bool fnLoadLanguageDLL(const CString& name);
    // The folder of the bundles: "Language Path", set to the home folder when missing or empty.
    static CString LanguageFolder();
    // "LangDLL": the per-user value when there is one (written when the machine-wide store
    // could not be), else the machine-wide one, else "Default".
    static CString StoredLanguage();
    static void StoreLanguage(const CString& name);
    // Registers the page's template and the program's own string 61446.
    static void RegisterResources();

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void OnOK() override;
    void OnCancel() override;

    const std::vector<CString>& FileNames() const { return m_FileNames; }

private:
    CString Selected() const;

    std::vector<CString> m_FileNames;
};
