#include "kelvane/app/language.h"

#include "pivora/framework/app_params.h"
#include "platform/system/paths.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/list_controls.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

IMPLEMENT_DYNAMIC(CLanguage, CPropertyPage)

namespace {

constexpr int IDC_PROMPT = 1004;
constexpr int IDC_NOTE = 1005;

bool IsBundleName(const std::string& name) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    };
    const std::string n = lower(name);
    return n.size() > 7 && n.rfind("lang", 0) == 0 && n.compare(n.size() - 3, 3, ".so") == 0;
}

std::string PathOf(const CString& name) {
    return platform::MapPath(CLanguage::LanguageFolder() + name);
}

} // namespace

CLanguage::CLanguage() : CPropertyPage(IDD) {}
CLanguage::~CLanguage() = default;

void CLanguage::RegisterResources() {
    platform::RegisterStrings({{IDS_LANGUAGE_NAME, L"English V10.00"}});
    platform::RegisterDialogTemplate(
        {IDD,
         WS_CHILD | WS_CAPTION,
         220,
         90,
         L"Language",
         L"MS Sans Serif",
         8,
         {{IDC_PROMPT, L"Static", L"Select Language:", WS_VISIBLE | SS_LEFT, 7, 10, 70, 8},
          {IDC_LANGUAGE, L"ComboBox", L"", WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
           80, 8, 130, 100},
          {IDC_NOTE, L"Static",
           L"Selecting a language will automatically apply the change. To view the corresponding "
           L"international version, log out and login back again. ",
           WS_VISIBLE | SS_LEFT, 7, 35, 206, 40}}});
}

CString CLanguage::LanguageFolder() {
    CString folder;
    if (!QvGetAppParam(L"Language Path", folder) || folder.IsEmpty()) {
        QvHomePath(L"", folder);
        QvSetAppParam(L"Language Path", folder);
    }
    if (!platform::EndsWithSeparator(folder))
        folder += L"\\";
    return folder;
}

CString CLanguage::StoredLanguage() {
    CString name;
    if (QvGetAppParam(L"LangDLL", name) && !name.IsEmpty())
        return name;
    name = kDefault;
    FnGetAppParamFromLocalMachine(L"LangDLL", name);
    return name.IsEmpty() ? CString(kDefault) : name;
}

void CLanguage::StoreLanguage(const CString& name) {
    CString user;
    const bool hasUser = QvGetAppParam(L"LangDLL", user) != 0;
    // Without a writable machine-wide store the choice is kept per user, where it is read first.
    if (!FnSetAppParamInLocalMachine(L"LangDLL", name) || hasUser)
        QvSetAppParam(L"LangDLL", name);
}

bool CLanguage::fnLoadLanguageDLL(const CString& name) {
    platform::UnloadLanguageBundle();
    if (name == kDefault)
        return true;
    return platform::LoadLanguageBundle(PathOf(name));
}

BOOL CLanguage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_FileNames.clear();
    m_FileNames.emplace_back(kDefault);
    SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_ADDSTRING, 0, LPARAM(kDefault));

    std::vector<std::string> names;
    std::error_code ec;
    const std::string folder = platform::MapPath(LanguageFolder());
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsBundleName(name) && it->is_regular_file(ec))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::wstring title;
        // A module that does not load as a bundle is left out.
        if (!platform::PeekLanguageString(folder + "/" + name, IDS_LANGUAGE_NAME, title))
            continue;
        m_FileNames.emplace_back(CString::FromUtf8(name));
        SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_ADDSTRING, 0, LPARAM(title.c_str()));
    }

    const CString stored = StoredLanguage();
    int chosen = 0;
    for (size_t i = 1; i < m_FileNames.size(); ++i)
        if (m_FileNames[i] == stored) {
            chosen = int(i);
            break;
        }
    SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_SETCURSEL, WPARAM(chosen), 0);
    return TRUE;
}

CString CLanguage::Selected() const {
    const LRESULT at = SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    return at >= 0 && size_t(at) < m_FileNames.size() ? m_FileNames[size_t(at)] : CString(kDefault);
}

BOOL CLanguage::OnCommand(WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) == IDC_LANGUAGE && HIWORD(wp) == CBN_SELCHANGE) {
        fnLoadLanguageDLL(Selected());
        return TRUE;
    }
    return CPropertyPage::OnCommand(wp, lp);
}

void CLanguage::OnOK() {
    StoreLanguage(Selected());
}

void CLanguage::OnCancel() {
    const CString stored = StoredLanguage();
    if (stored != Selected())
        fnLoadLanguageDLL(stored);
}
