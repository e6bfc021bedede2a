#include "platform/framework/file_dialog.h"

#include "platform/windowing/message_box.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// The text after the last separator of either kind.
CString NamePart(const CString& path) {
    const int cut = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    return path.Mid(cut + 1);
}

bool Exists(const CString& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path.ToUtf8()), ec);
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt, LPCWSTR fileName, DWORD flags,
                         LPCWSTR filter, CWnd* parent)
    : CDialog(platform::kFileDialogId, parent), m_bOpenFileDialog(openFileDialog),
      m_strDefExt(defaultExt ? defaultExt : L""), m_strFileName(fileName ? fileName : L"") {
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrDefExt = defaultExt ? m_strDefExt.GetString() : nullptr;
    if (filter) {
        m_strFilter = filter;
        wchar_t* p = m_strFilter.GetBuffer();
        for (; *p; ++p)
            if (*p == L'|')
                *p = 0;
        m_ofn.lpstrFilter = m_strFilter.GetString();
    }
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    OnInitDone();
    platform::FileDialogState state;
    state.open = m_bOpenFileDialog != FALSE;
    state.multiSelect = (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    if (m_ofn.lpstrTitle)
        state.title = m_ofn.lpstrTitle;
    if (m_ofn.lpstrInitialDir)
        state.folder = m_ofn.lpstrInitialDir;
    state.fileName = m_strFileName.GetString();
    state.filters = platform::ParseFilterPairs(m_ofn.lpstrFilter);
    state.filterIndex = int(m_ofn.nFilterIndex ? m_ofn.nFilterIndex : 1);
    state.checkId = m_nCheckId;
    state.checkText = m_strCheckText.GetString();
    state.checked = m_bChecked != FALSE;
    state.checkHidden = m_bCheckHidden != FALSE;

    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    m_paths.clear();
    if (!platform::RunFileDialog(owner, state))
        return IDCANCEL;
    m_ofn.nFilterIndex = DWORD(state.filterIndex);
    m_bChecked = state.checked ? TRUE : FALSE;
    for (const std::wstring& path : state.chosen)
        m_paths.emplace_back(path.c_str());
    if (!m_bOpenFileDialog) {
        CString& path = m_paths.front();
        if (!m_strDefExt.IsEmpty() && NamePart(path).Find(L'.') < 0)
            path += L"." + m_strDefExt;
        if ((m_ofn.Flags & OFN_OVERWRITEPROMPT) && Exists(path)) {
            const CString question = path + L" already exists.\nDo you want to replace it?";
            if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                m_paths.clear();
                return IDCANCEL;
            }
        }
    }
    if (OnFileNameOK()) {
        m_paths.clear();
        return IDCANCEL;
    }
    return IDOK;
}

void CFileDialog::AddCheckButton(int id, const CString& label, BOOL checked) {
    m_nCheckId = id;
    m_strCheckText = label;
    m_bChecked = checked;
}

void CFileDialog::SetCheckButtonState(int id, BOOL checked) {
    if (id == m_nCheckId)
        m_bChecked = checked;
}

BOOL CFileDialog::GetCheckButtonState(int id) const {
    return id == m_nCheckId && m_bChecked;
}

void CFileDialog::HideCheckButton(int id, BOOL hide) {
    if (id == m_nCheckId)
        m_bCheckHidden = hide;
}

CString CFileDialog::GetPathName(int index) const {
    if (index < 0 || index >= int(m_paths.size()))
        return CString();
    return m_paths[size_t(index)];
}

POSITION CFileDialog::GetStartPosition() const {
    return m_paths.empty() ? nullptr : reinterpret_cast<POSITION>(intptr_t(1));
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    const intptr_t at = reinterpret_cast<intptr_t>(pos);
    if (at < 1 || at > intptr_t(m_paths.size())) {
        pos = nullptr;
        return CString();
    }
    pos = at < intptr_t(m_paths.size()) ? reinterpret_cast<POSITION>(at + 1) : nullptr;
    return m_paths[size_t(at - 1)];
}

CString CFileDialog::GetFileName() const {
    return NamePart(GetPathName(0));
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}
