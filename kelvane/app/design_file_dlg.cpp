#include "kelvane/app/design_file_dlg.h"

#include "gastelo/file_extensions.h"
#include "kelvane/app/open_resources.h"
#include "pivora/framework/app_params.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNAMIC(CDesignFileDlg, CFileDialog)

namespace {

constexpr DWORD kOpenFlags =
    OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_ENABLETEMPLATE;

CString Resource(UINT id, const wchar_t* fallback) {
    CString text = kelvane::LoadAppString(id);
    return text.IsEmpty() ? CString(fallback) : text;
}

} // namespace

CDesignFileDlg::CDesignFileDlg(BOOL open, int useLastExtension, int importFlags, CWnd* parent)
    : CFileDialog(open, nullptr, nullptr, kOpenFlags, nullptr, parent),
      m_bSort(QvGetAppParam(L"OpenDialogSortFilters", 1) != 0),
      m_nChooseTemplate(QvGetAppParam(
          kelvane::LoadAppString(kelvane::IDS_LAST_OPEN_CHOOSE_TEMPLATE).GetString(), 0)),
      m_nLastExtension(
          QvGetAppParam(kelvane::LoadAppString(kelvane::IDS_LAST_OPEN_EXTENSION).GetString(), 0)),
      m_nUseLastExtension(useLastExtension), m_nImportFlags(importFlags) {
    constexpr int kContext = CFilterInfo::kDesignContext;
    AddFilter(Resource(kelvane::IDS_DESIGN_FILTER, L"KDX Design File (*.kdx)|*.kdx|"), 0, kContext);
    AddFilter(L"Adobe Illustrator (*.ai)|*.ai|", 11, kContext);
    AddFilter(L"Encapsulated PostScript (*.eps)|*.eps|", 12, kContext);
    AddFilter(L"Portable Document Format (*.pdf)|*.pdf|", 65, kContext);
    AddFilter(Resource(kelvane::IDS_ALL_FILES_FILTER, L"--All files-- (*.*)|*.*|"), -1,
              CFilterInfo::kDesignContextMark);
    m_strFilterText.Empty();
    for (const CFilterInfo& f : m_Filters)
        m_strFilterText += f.m_strFilter;
    m_strFilterText += L"|";
    m_ofn.lpstrFilter = FNConvertPipesToNull(m_strFilterText);
    m_ofn.nTemplateId = kelvane::IDD_OPEN_TEMPLATE;
    AddCheckButton(kelvane::IDC_CHOOSE_TEMPLATE, L"Choose Template", FALSE);
}

CDesignFileDlg::~CDesignFileDlg() = default;

void CDesignFileDlg::AddFilter(const CString& text, int extId, int context) {
    CFilterInfo entry(text, extId, context);
    if (m_bSort) {
        for (auto it = m_Filters.begin(); it != m_Filters.end(); ++it)
            if (it->m_strFilter.CompareNoCase(text) > 0) {
                m_Filters.insert(it, entry);
                return;
            }
    }
    m_Filters.push_back(entry);
}

void CDesignFileDlg::OnInitDone() {
    const bool must = QvGetAppParam(L"Must Choose Template", 0) != 0;
    SetCheckButtonState(kelvane::IDC_CHOOSE_TEMPLATE, must || m_nChooseTemplate ? TRUE : FALSE);
    HideCheckButton(kelvane::IDC_CHOOSE_TEMPLATE, must ? TRUE : FALSE);
}

BOOL CDesignFileDlg::OnFileNameOK() {
    m_nChooseTemplate = GetCheckButtonState(kelvane::IDC_CHOOSE_TEMPLATE) ? 1 : 0;
    return FALSE;
}

INT_PTR CDesignFileDlg::DoModal() {
    m_pChosen = nullptr;
    const INT_PTR result = CFileDialog::DoModal();
    if (result != IDOK)
        return result;
    const size_t index = m_ofn.nFilterIndex >= 1 ? size_t(m_ofn.nFilterIndex - 1) : 0;
    if (index < m_Filters.size())
        m_pChosen = &m_Filters[index];
    if (m_pChosen)
        m_nLastExtension = m_pChosen->m_nExtID;
    QvSetAppParam(kelvane::LoadAppString(kelvane::IDS_LAST_OPEN_EXTENSION).GetString(),
                  m_nLastExtension);
    QvSetAppParam(kelvane::LoadAppString(kelvane::IDS_LAST_OPEN_CHOOSE_TEMPLATE).GetString(),
                  m_nChooseTemplate);
    CString ext;
    BrowserGetFileExt(m_nLastExtension, ext);
    CString name;
    name.Format(kelvane::LoadAppString(kelvane::IDS_LAST_OPEN_DIR), ext.GetString());
    const CString path = GetPathName();
    const int cut = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    QvSetAppParam(name.GetString(), cut >= 0 ? path.Left(cut) : CString());
    return result;
}
