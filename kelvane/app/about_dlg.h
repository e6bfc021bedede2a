// CAboutDlg: the program's name and version ("%s V%d.%d", or "%s V11.8" when the version
// record cannot be read).
#pragma once

#include "qvutils/tavrin_dialog.h"

class CAboutDlg : public CTavrinDialog {
    DECLARE_DYNAMIC(CAboutDlg)

public:
    static constexpr UINT IDD = 100;
    static constexpr UINT IDC_VERSION = 1001;

    explicit CAboutDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;

    // The text of the version field for the application name.
    static CString VersionText(const CString& appName);
};
