// CDesignFileDlg: the open dialog of designs and artwork: several files at once, the filter list
// (sorted without regard to case when "OpenDialogSortFilters" says so), the "Choose Template"
// box, and the values it remembers after OK (the extension chosen, the box, the folder).
#pragma once

#include "kelvane/app/filter_info.h"
#include "platform/framework/file_dialog.h"

#include <vector>

class CDesignFileDlg : public CFileDialog {
    DECLARE_DYNAMIC(CDesignFileDlg)

public:
    CDesignFileDlg(BOOL open, int useLastExtension, int importFlags, CWnd* parent = nullptr);
    ~CDesignFileDlg() override;

    INT_PTR DoModal() override;

    const std::vector<CFilterInfo>& Filters() const { return m_Filters; }
    // The entry the person ended on; null before OK.
    const CFilterInfo* ChosenFilter() const { return m_pChosen; }
    int ChooseTemplate() const { return m_nChooseTemplate; }
    int LastExtension() const { return m_nLastExtension; }
    bool SortFilters() const { return m_bSort; }
    // The text handed to the dialog: every entry's text and a final "|", with NULs for "|".
    const CString& FilterText() const { return m_strFilterText; }

protected:
    void OnInitDone() override;
    BOOL OnFileNameOK() override;

private:
    void AddFilter(const CString& text, int extId, int context);

    std::vector<CFilterInfo> m_Filters;
    const CFilterInfo* m_pChosen = nullptr;
    bool m_bSort;
    int m_nChooseTemplate;
    int m_nLastExtension;
    int m_nUseLastExtension;
    int m_nImportFlags;
    CString m_strFilterText;
};
