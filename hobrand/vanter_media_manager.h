// "Cutter/Plotter Vinyl Manager": before a sheet document opens, picks the cutter (asking
// which when more than one is installed), reads the medium's size from it and suggests the
// sheet document's title. In an automatic send it closes itself with OK.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "qvutils/tavrin_dialog.h"

constexpr UINT IDD_VANTER_MEDIA_MANAGER = 14038;
constexpr int IDC_MANAGER_TITLE = 15081;
constexpr int IDC_MEDIA_WIDTH = 15082;
constexpr int IDC_MEDIA_LENGTH = 15083;
constexpr int IDC_MEDIA_WIDTH_UNIT = 15084;
constexpr int IDC_MEDIA_LENGTH_UNIT = 15085;

class CVanterMediaManager : public CTavrinDialog {
    DECLARE_DYNAMIC(CVanterMediaManager)

public:
    static constexpr int kTitleLimit = 127;
    // The cutter's name is cut before the first of these when it becomes the title.
    static constexpr const wchar_t* kTitleStops = L"#%;/\\";
    // Inquiry results that end the dialog with Cancel: the port did not open, the operator
    // stopped retrying a write.
    static constexpr int kPortFailed = -2;
    static constexpr int kWriteFailed = -7;
    static constexpr int kNoDevice = -3;

    CVanterMediaManager(CWnd* parent, int automatic, int marksFound);

    // "<name> on <port>" from the cutter's name cut at kTitleStops, at most kTitleLimit long.
    static CString fnManagerTitle(const CString& cutterName, const CString& port);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void DoDataExchange(CDataExchange* dx) override;

    CString m_strTitle;
    CString m_strLength;
    CString m_strWidth;
    int m_bCutterChosen = 0;
    int m_bAutomatic;
    // The medium in 0.1 mm.
    int m_nWidth = 4000;
    int m_nLength = 4000;
    CString m_strCutterName;
    CString m_strPortName;
    // The medium as read from the cutter, in data units.
    CWindow m_wExtents;
    int m_nInquiryResult = 0;
    int m_bInchDisplay;
    int m_bMarksFound;

protected:
    // Reads the chosen cutter's medium and port; false when the dialog ended with Cancel.
    bool fnFillFromCutter();
    void fnShowSizes();
    // A size typed into an enabled field, checked against the medium.
    void fnTakeSize(int controlId, int& tenths, LONG mediumTenths, UINT tooBigId);
};
