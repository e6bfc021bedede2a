#include "hobrand/vanter_media_manager.h"

#include "hobrand/choose_cutter.h"
#include "hobrand/hobrand_strings.h"
#include "hobrand/media_manager_blk.h"
#include "hobrand/media_manager_setup.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/felgrin_utils.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/message_box.h"
#include "qvutils/qv_utils.h"

#include <algorithm>
#include <cwchar>

IMPLEMENT_DYNAMIC(CVanterMediaManager, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kStatic = -1;
// Tenths of a millimetre in one data unit (micrometres) and in one millimetre and inch.
constexpr int kUnitsPerTenth = 100;
constexpr double kTenthsPerMm = 10.0;
constexpr double kTenthsPerInch = 254.0;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(
        DialogTemplate{IDD_VANTER_MEDIA_MANAGER,
                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       230,
                       90,
                       L"Cutter/Plotter Vinyl Manager",
                       L"MS Sans Serif",
                       8,
                       {{kStatic, WC_STATIC, L"Cutter", kChild, 7, 9, 45, 8},
                        {IDC_MANAGER_TITLE, WC_EDIT, L"",
                         kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 55, 7, 168, 12},
                        {kStatic, WC_STATIC, L"Width", kChild, 7, 27, 45, 8},
                        {IDC_MEDIA_WIDTH, WC_EDIT, L"",
                         kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 55, 25, 60, 12},
                        {IDC_MEDIA_WIDTH_UNIT, WC_STATIC, L"(mm)", kChild, 120, 27, 30, 8},
                        {kStatic, WC_STATIC, L"Length", kChild, 7, 45, 45, 8},
                        {IDC_MEDIA_LENGTH, WC_EDIT, L"",
                         kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 55, 43, 60, 12},
                        {IDC_MEDIA_LENGTH_UNIT, WC_STATIC, L"(mm)", kChild, 120, 45, 30, 8},
                        {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP,
                         60, 68, 50, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 120, 68, 50, 14}}});
    return true;
}();

int Tenths(int64_t units) {
    return int(std::clamp<int64_t>(units / kUnitsPerTenth, INT32_MIN, INT32_MAX));
}

} // namespace

CVanterMediaManager::CVanterMediaManager(CWnd* parent, int automatic, int marksFound)
    : CTavrinDialog(IDD_VANTER_MEDIA_MANAGER, parent), m_bAutomatic(automatic),
      m_bInchDisplay(QvGetInchDisplayOn()), m_bMarksFound(marksFound) {
    (void)kRegistered;
}

CString CVanterMediaManager::fnManagerTitle(const CString& cutterName, const CString& port) {
    CString name = cutterName;
    const int stop = name.FindOneOf(kTitleStops);
    if (stop >= 0)
        name = name.Left(stop);
    CString title;
    title.Format(L"%s on %s", name.GetString(), port.GetString());
    return title.Left(kTitleLimit);
}

void CVanterMediaManager::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_MANAGER_TITLE, m_strTitle);
    DDX_Text(dx, IDC_MEDIA_LENGTH, m_strLength);
    DDX_Text(dx, IDC_MEDIA_WIDTH, m_strWidth);
}

BOOL CVanterMediaManager::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    CenterWindow();
    for (int id : {IDC_MEDIA_WIDTH, IDC_MEDIA_LENGTH})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    if (m_bInchDisplay)
        for (int id : {IDC_MEDIA_WIDTH_UNIT, IDC_MEDIA_LENGTH_UNIT})
            fnSetInchMMDisplay(id);
    if (!m_bCutterChosen) {
        CStringArray names;
        int index = FelgrinUtils::InquireCutterNames(names);
        if (index < 0 || index >= names.GetSize())
            index = 0;
        if (names.GetSize() > 1) {
            CChooseCutter choose(&names, index, this);
            choose.DoModal();
            index = choose.m_nSelected;
        }
        if (names.GetSize() > 0 && index >= 0 && index < names.GetSize()) {
            m_strCutterName = names.GetAt(index);
            m_bCutterChosen = 1;
        }
    }
    if (m_bCutterChosen && !fnFillFromCutter())
        return TRUE;
    if (m_bAutomatic)
        EndDialog(IDOK);
    return TRUE;
}

bool CVanterMediaManager::fnFillFromCutter() {
    SetDlgItemText(IDC_MANAGER_TITLE, m_strCutterName);
    // A sheet document on this cutter holds it: close them all, and when a busy one stays,
    // ask through its instance.
    CCutterInstance* instance = nullptr;
    CCutterInstance* temporary = nullptr;
    if (g_fnFindMedManWithCutterName(m_strCutterName)) {
        g_fnDeleteAllMedMan();
        if (CMediaManagerBlk* open = g_fnFindMedManWithCutterName(m_strCutterName))
            instance = open->fnGetCutter();
    }
    if (!instance)
        instance = temporary = FelgrinUtils::GetCutterInstance(m_strCutterName);
    m_wExtents = CWindow();
    m_nInquiryResult = kNoDevice;
    m_strPortName.Empty();
    if (instance) {
        m_nInquiryResult = instance->fnInquireExtents(&m_wExtents);
        if (m_bMarksFound && instance->fnGetCutter()) {
            const CBaseCutter* cutter = instance->fnGetCutter();
            m_wExtents = CWindow(0, 0, cutter->fnGetMaxWidth(), cutter->fnGetMaxHeight());
        }
        instance->fnGetPortName(m_strPortName);
    }
    delete temporary;
    m_nWidth = Tenths(int64_t(m_wExtents.x2) - m_wExtents.x1);
    m_nLength = Tenths(int64_t(m_wExtents.y2) - m_wExtents.y1);
    fnShowSizes();
    CString shown;
    GetDlgItemText(IDC_MANAGER_TITLE, shown);
    m_strTitle = fnManagerTitle(shown, m_strPortName);
    SetDlgItemText(IDC_MANAGER_TITLE, m_strTitle);
    if (m_nInquiryResult == kPortFailed || m_nInquiryResult == kWriteFailed) {
        EndDialog(IDCANCEL);
        return false;
    }
    return true;
}

void CVanterMediaManager::fnShowSizes() {
    const double per = m_bInchDisplay ? kTenthsPerInch : kTenthsPerMm;
    m_strWidth.Format(L"%.1lf", m_nWidth / per);
    m_strLength.Format(L"%.1lf", m_nLength / per);
    SetDlgItemText(IDC_MEDIA_WIDTH, m_strWidth);
    SetDlgItemText(IDC_MEDIA_LENGTH, m_strLength);
}

void CVanterMediaManager::fnTakeSize(int controlId, int& tenths, LONG mediumTenths, UINT tooBigId) {
    CString text;
    GetDlgItemText(controlId, text);
    const double per = m_bInchDisplay ? kTenthsPerInch : kTenthsPerMm;
    const double value = std::wcstod(text.GetString(), nullptr) * per;
    tenths = int(std::clamp(value, double(INT32_MIN), double(INT32_MAX)));
    if (tenths > mediumTenths) {
        HobrandMessageBox(tooBigId, HobrandLoadString(tooBigId), MB_OK | MB_ICONEXCLAMATION);
        tenths = mediumTenths;
    }
    fnShowSizes();
}

BOOL CVanterMediaManager::OnCommand(WPARAM wp, LPARAM lp) {
    // The size fields are shown disabled; typed sizes count only where they are enabled.
    if (HIWORD(wp) == EN_KILLFOCUS && ::IsWindowEnabled(HWND(lp))) {
        if (LOWORD(wp) == IDC_MEDIA_WIDTH) {
            fnTakeSize(IDC_MEDIA_WIDTH, m_nWidth, Tenths(int64_t(m_wExtents.x2) - m_wExtents.x1),
                       IDS_WIDTH_TOO_WIDE);
            return TRUE;
        }
        if (LOWORD(wp) == IDC_MEDIA_LENGTH) {
            fnTakeSize(IDC_MEDIA_LENGTH, m_nLength, Tenths(int64_t(m_wExtents.y2) - m_wExtents.y1),
                       IDS_LENGTH_TOO_LONG);
            return TRUE;
        }
    }
    return CTavrinDialog::OnCommand(wp, lp);
}
