// The start-up steps of the application object beyond its templates and frame: the product's
// presets, the screen check, the interface font and the installed cutters.
#include "felgrin/felgrin_utils.h"
#include "gastelo/browser.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "outside/joxthemes/application_font.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/screen.h"
#include "platform/framework/tooltip_manager.h"
#include "platform/system/paths.h"
#include "platform/system/reg_file.h"
#include "platform/windowing/message_box.h"
#include "varnholm/sorvane_view.h"

#include <climits>
#include <cwchar>
#include <filesystem>

namespace {

constexpr LONG kPresetBrowserFlags = 0x3FFFDD;
// The tooltips' colours (0x00BBGGRR): white fading to a light blue-grey, dark text.
constexpr COLORREF kToolTipFill = 0xFFFFFF;
constexpr COLORREF kToolTipGradient = 0xF0E4E4;
constexpr COLORREF kToolTipText = 0x50533D;
constexpr COLORREF kToolTipBorder = 0xA89590;
// Lowest colour depth and widest too-small screen the program runs on.
constexpr int kMinScreenBits = 8;
constexpr long kLowResWidth = 640;
// Problems of a registry file shown to the operator at most.
constexpr size_t kShownProblems = 5;

// The numeric font values in the order the parameters list them, with their defaults and the
// range a sound value lies in.
struct FontNumber {
    const wchar_t* name;
    int def;
    int lo, hi;
    bool saved;
};
constexpr FontNumber kFontNumbers[] = {
    {L"sysFontHeight", 12, -1000, 1000, true},     {L"sysFontWidth", 0, -1000, 1000, true},
    {L"sysFontWeight", 400, 0, 1000, true},        {L"sysFontItalic", 0, 0, 255, true},
    {L"sysFontCharSet", 0, 0, 255, true},          {L"sysFontPitch", 32, 0, 255, true},
    {L"sysFontEscapement", 0, -3600, 3600, false}, {L"sysFontOrientation", 0, -3600, 3600, false},
    {L"sysFontUnderline", 0, 0, 255, false},       {L"sysFontStrikeOut", 0, 0, 255, false},
    {L"sysFontOutPres", 0, 0, 255, false},         {L"sysFontClipPres", 0, 0, 255, false},
    {L"sysFontQuality", 0, 0, 255, false},
};
const wchar_t* const kFontFace = L"sysFontFaceName";

// The description's field of each entry of kFontNumbers, as an int.
int Get(const LOGFONTW& lf, size_t i) {
    switch (i) {
    case 0:
        return int(lf.lfHeight);
    case 1:
        return int(lf.lfWidth);
    case 2:
        return int(lf.lfWeight);
    case 3:
        return lf.lfItalic;
    case 4:
        return lf.lfCharSet;
    case 5:
        return lf.lfPitchAndFamily;
    case 6:
        return int(lf.lfEscapement);
    case 7:
        return int(lf.lfOrientation);
    case 8:
        return lf.lfUnderline;
    case 9:
        return lf.lfStrikeOut;
    case 10:
        return lf.lfOutPrecision;
    case 11:
        return lf.lfClipPrecision;
    default:
        return lf.lfQuality;
    }
}

void Set(LOGFONTW& lf, size_t i, int v) {
    switch (i) {
    case 0:
        lf.lfHeight = v;
        break;
    case 1:
        lf.lfWidth = v;
        break;
    case 2:
        lf.lfWeight = v;
        break;
    case 3:
        lf.lfItalic = BYTE(v);
        break;
    case 4:
        lf.lfCharSet = BYTE(v);
        break;
    case 5:
        lf.lfPitchAndFamily = BYTE(v);
        break;
    case 6:
        lf.lfEscapement = v;
        break;
    case 7:
        lf.lfOrientation = v;
        break;
    case 8:
        lf.lfUnderline = BYTE(v);
        break;
    case 9:
        lf.lfStrikeOut = BYTE(v);
        break;
    case 10:
        lf.lfOutPrecision = BYTE(v);
        break;
    case 11:
        lf.lfClipPrecision = BYTE(v);
        break;
    default:
        lf.lfQuality = BYTE(v);
        break;
    }
}

} // namespace

void CVanterFerolinApp::fnSetToolTipLook() {
    InitTooltipManager();
    CToolTipLook look;
    look.m_bBoldLabel = FALSE;
    look.m_bDrawDescription = FALSE;
    look.m_bDrawIcon = TRUE;
    look.m_bRoundedCorners = FALSE;
    look.m_bDrawSeparator = FALSE;
    look.m_bVisualManagerTheme = FALSE;
    look.m_clrFill = kToolTipFill;
    look.m_clrFillGradient = kToolTipGradient;
    look.m_clrText = kToolTipText;
    look.m_clrBorder = kToolTipBorder;
    GetTooltipManager()->SetTooltipParams(AFX_TOOLTIP_TYPE_ALL, &look);
}

void CVanterFerolinApp::fnSetProductPresets() {
    QvSetAppParamSection(L"Application-Settings");
    if (QvGetAppParam(L"Run Default Registry", 1)) {
        CString file;
        QvHomePath(L"InstallUtils.Reg", file);
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::path(platform::MapPath(file)), ec)) {
            std::vector<CString> problems;
            platform::ImportRegFile(file, problems);
            if (!problems.empty()) {
                CString text = file + L" was not read whole:";
                for (size_t i = 0; i < problems.size() && i < kShownProblems; ++i)
                    text += L"\n" + problems[i];
                AfxMessageBox(text);
            }
        }
        // Once, whether or not there was a file.
        QvSetAppParam(L"Run Default Registry", 0);
    }
    gfnSetBrowserInterfaceFlags(kPresetBrowserFlags);
    FnSetProductBitmapName(L"RUZUVUZAVIZUV.EZU");
    QvSetAppParam(L"Must Choose Template", 1);
    QvSetAppParam(L"Preset Open Template", CString(L"Default.cut"));
    QvSetAppParam(L"Allow Cutter Makers", CString(L"VanterGraphics"));
    QvSetAppParam(L"Allow Cutter Models", CString(L"Vanter"));
    QvSetAppParam(L"Allow Cutter Types", CString(L"DMPL VanterQX3"));
    CString title;
    if (AfxLoadString(kelvane::IDR_MAINFRAME, title) && !title.IsEmpty()) {
        m_strAppName = title;
        m_pszAppName = m_strAppName.GetString();
    }
}

BOOL CVanterFerolinApp::fnCheckScreen() {
    if (ScreenColours() <= kMinScreenBits &&
        AfxMessageBox(kelvane::IDS_SCREEN_COLOURS, MB_YESNO) == IDYES)
        return FALSE;
    if (IsScreenLowRes(kLowResWidth) && AfxMessageBox(kelvane::IDS_SCREEN_SIZE, MB_YESNO) == IDYES)
        return FALSE;
    return TRUE;
}

void CVanterFerolinApp::fnLoadApplicationFont() {
    LOGFONTW& lf = m_pAppFont->Description();
    for (size_t i = 0; i < std::size(kFontNumbers); ++i) {
        const FontNumber& f = kFontNumbers[i];
        int v = QvGetAppParam(f.name, f.def);
        // A value no font has is the damage of a hand edit: the default stands in.
        if (v < f.lo || v > f.hi)
            v = f.def;
        Set(lf, i, v);
    }
    CString face;
    if (QvGetAppParam(kFontFace, face) && !face.IsEmpty()) {
        std::wcsncpy(lf.lfFaceName, face.GetString(), LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    m_pAppFont->ChangeFont(false);
    m_bFontLoaded = true;
}

void CVanterFerolinApp::fnSaveApplicationFont() {
    const LOGFONTW& lf = m_pAppFont->Description();
    for (size_t i = 0; i < std::size(kFontNumbers); ++i)
        if (kFontNumbers[i].saved)
            QvSetAppParam(kFontNumbers[i].name, Get(lf, i));
    QvSetAppParam(kFontFace, CString(lf.lfFaceName));
}

void CVanterFerolinApp::fnLoadCutterDevices(int installWhenNone) {
    if (!FelgrinUtils::LoadCutterDevices(nullptr) && installWhenNone)
        CSorvaneView::FnInstallCutter(1);
}
