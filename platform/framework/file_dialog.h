// CFileDialog: the class library's file dialog over the platform's (open or save, one or
// several files, filter pairs with a 1-based index, one optional extra check box). The chosen
// paths are kept whole, however many there are.
#pragma once

#include "platform/core/position.h"
#include "platform/framework/dialog.h"
#include "platform/windowing/file_dialog.h"

#include <vector>

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

struct OPENFILENAMEW {
    DWORD Flags = 0;
    // Parts each ending in a NUL, the list in a second NUL: description, pattern, ...
    LPCWSTR lpstrFilter = nullptr;
    DWORD nFilterIndex = 1; // 1-based
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    LPCWSTR lpstrDefExt = nullptr;
    UINT nTemplateId = 0; // a custom template (kept for its owner's use)
};

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)

public:
    // The filter is given with "|" between its parts ("KDX (*.kdx)|*.kdx||").
    explicit CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt = nullptr,
                         LPCWSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCWSTR filter = nullptr, CWnd* parent = nullptr);
    ~CFileDialog() override;

    // IDOK when a name was chosen (and, when saving over a file with OFN_OVERWRITEPROMPT, the
    // replace was confirmed); IDCANCEL otherwise.
    INT_PTR DoModal() override;

    // The extra check box.
    void AddCheckButton(int id, const CString& label, BOOL checked);
    void SetCheckButtonState(int id, BOOL checked);
    BOOL GetCheckButtonState(int id) const;
    void HideCheckButton(int id, BOOL hide);

    // Every chosen path, in the order given.
    int GetPathCount() const { return int(m_paths.size()); }
    CString GetPathName(int index) const;
    CString GetPathName() const { return GetPathName(0); }
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;
    // Of the first chosen path: the name with and without its extension, the extension.
    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetFileExt() const;

    OPENFILENAMEW m_ofn;

protected:
    // Called before the dialog shows; the check box can still be set.
    virtual void OnInitDone() {}
    // Called after the person chose names, before DoModal returns; TRUE refuses them (the
    // dialog then ends as cancelled).
    virtual BOOL OnFileNameOK() { return FALSE; }

    BOOL m_bOpenFileDialog;

private:
    CString m_strFilter;
    CString m_strDefExt;
    CString m_strFileName;
    int m_nCheckId = 0;
    CString m_strCheckText;
    BOOL m_bChecked = FALSE;
    BOOL m_bCheckHidden = FALSE;
    std::vector<CString> m_paths;
};
