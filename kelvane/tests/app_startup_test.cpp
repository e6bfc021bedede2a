// Start-up steps of the application object: the product presets with the registry file of the
// first start, the screen check that may end the start, the interface font read and written
// back, and the cutter installation offered when none is installed.
#include "kelvane/app/app_resources.h"
#include "kelvane/app/workspace_settings.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/tooltip_manager.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/system_metrics.h"
#include "platform/windowing/window_placement.h"

namespace {

using AppStartup = AppFixture;

CString Param(const wchar_t* name) {
    CString v;
    QvGetAppParam(name, v);
    return v;
}

TEST_F(AppStartup, TheRegistryFileOfTheFirstStartIsReadOnceAndThePresetsEveryTime) {
    SettingsSandbox::Write(
        box.Path("home/InstallUtils.Reg"),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Oquen\\VanterFerolin\\Settings]\n"
        "\"WindowPos\"=\"0,1,-1,-1,-1,-1,50,60,850,660\"\n");
    QvSetAppParam(L"Preset Open Template", CString(L"Mine.cut"));
    ASSERT_TRUE(Start({"x", "y"}));
    EXPECT_EQ(QvGetAppParam(L"Run Default Registry", 1), 0);
    EXPECT_EQ(QvGetAppParam(L"Must Choose Template", 0), 1);
    EXPECT_EQ(Param(L"Preset Open Template"), CString(L"Default.cut"));
    EXPECT_EQ(Param(L"Allow Cutter Types"), CString(L"DMPL VanterQX3"));
    EXPECT_EQ(CString(app->m_pszAppName), CString(L"Vanter Ferolin"));
    // The file's window place was taken.
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(app->MainFrame()->m_hWnd, &wp));
    EXPECT_EQ(wp.rcNormalPosition.left, 50);
    // A later file is not read: the flag is already off.
    SettingsSandbox::Write(
        box.Path("home/InstallUtils.Reg"),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Oquen\\Later]\n\"v\"=\"1\"\n");
    Restart({"x", "y"});
    CString later;
    EXPECT_FALSE(kelvane::ReadWorkspaceString(L"..\\Later", L"v", later));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\Later", 0, KEY_READ, &key),
              ERROR_SUCCESS);
}

TEST_F(AppStartup, AGarbageRegistryFileIsReportedAndTheStartGoesOn) {
    SettingsSandbox::Write(box.Path("home/InstallUtils.Reg"), "\x7f"
                                                              "ELF garbage\n[x\n");
    ASSERT_TRUE(Start({"x", "y"}));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find(L"InstallUtils.Reg"), std::wstring::npos);
    EXPECT_EQ(QvGetAppParam(L"Run Default Registry", 1), 0);
}

TEST_F(AppStartup, TheScreenCheckAsksInItsOrderAndAYesEndsTheStart) {
    struct Case {
        int bits, width, answer;
        std::vector<UINT> asked;
        bool starts;
    } cases[] = {
        {24, 1280, IDYES, {}, true},
        {8, 1280, IDYES, {kelvane::IDS_SCREEN_COLOURS}, false},
        {8, 1280, IDNO, {kelvane::IDS_SCREEN_COLOURS}, true},
        {24, 640, IDYES, {kelvane::IDS_SCREEN_SIZE}, false},
        {8, 640, IDNO, {kelvane::IDS_SCREEN_COLOURS, kelvane::IDS_SCREEN_SIZE}, true},
    };
    for (const Case& c : cases) {
        platform::SetMonitors(
            {{RECT{0, 0, c.width, 480}, RECT{0, 0, c.width, 480}, L"\\\\.\\DISPLAY1", c.bits}});
        Stop();
        app = std::make_unique<CVanterFerolinApp>();
        const size_t before = boxes.Shown().size();
        boxes.SetDefault(c.answer);
        EXPECT_EQ(bool(Start({"x", "y"})), c.starts) << c.bits << " " << c.width;
        std::vector<UINT> asked;
        for (size_t i = before; i < boxes.Shown().size(); ++i)
            asked.push_back(boxes.Shown()[i].stringId);
        EXPECT_EQ(asked, c.asked) << c.bits << " " << c.width;
        EXPECT_EQ(app->MainFrame() != nullptr, c.starts);
    }
    platform::SetMonitors({});
}

TEST_F(AppStartup, TheFontComesFromItsValuesAndSevenGoBackAtTheEnd) {
    QvSetAppParam(L"sysFontHeight", -15);
    QvSetAppParam(L"sysFontWeight", 700);
    QvSetAppParam(L"sysFontItalic", 999); // no font has it: the default stands in
    QvSetAppParam(L"sysFontQuality", 5);
    QvSetAppParam(L"sysFontFaceName", CString(L"DejaVu Sans"));
    ASSERT_TRUE(Start({"x", "y"}));
    LOGFONTW lf{};
    ASSERT_TRUE(app->AppFont()->GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, -15);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfQuality, 5);
    EXPECT_STREQ(lf.lfFaceName, L"DejaVu Sans");
    QvSetAppParam(L"sysFontQuality", 6);
    Stop();
    app.reset();
    EXPECT_EQ(QvGetAppParam(L"sysFontHeight", 0), -15);
    EXPECT_EQ(QvGetAppParam(L"sysFontItalic", 1), 0);
    EXPECT_EQ(Param(L"sysFontFaceName"), CString(L"DejaVu Sans"));
    // Only read, never written.
    EXPECT_EQ(QvGetAppParam(L"sysFontQuality", 0), 6);
    app = std::make_unique<CVanterFerolinApp>();
}

TEST_F(AppStartup, WithoutAnInstalledCutterTheInstallationIsOfferedOnce) {
    std::vector<UINT> dialogs;
    platform::ScopedDialogResponder record([&dialogs](HWND dialog, UINT id) {
        dialogs.push_back(id);
        EndDialog(dialog, IDCANCEL);
    });
    ASSERT_TRUE(Start({"x", "y"}));
    EXPECT_EQ(dialogs.size(), 1u);
}

} // namespace

namespace {

TEST_F(AppStartup, EveryKindOfTooltipGetsTheProgramsPlainLookAndColours) {
    ASSERT_TRUE(Start({"x", "y"}));
    CTooltipManager* tips = AfxGetTooltipManager();
    ASSERT_NE(tips, nullptr);
    for (int kind = 0; kind < CTooltipManager::kKinds; ++kind) {
        const CToolTipLook* look = tips->FindTooltipParams(1u << kind);
        ASSERT_NE(look, nullptr) << kind;
        EXPECT_FALSE(look->m_bBoldLabel);
        EXPECT_FALSE(look->m_bDrawDescription);
        EXPECT_TRUE(look->m_bDrawIcon);
        EXPECT_FALSE(look->m_bRoundedCorners);
        EXPECT_FALSE(look->m_bDrawSeparator);
        EXPECT_FALSE(look->m_bVisualManagerTheme);
        EXPECT_EQ(look->m_clrFill, 0xFFFFFFu);
        EXPECT_EQ(look->m_clrFillGradient, 0xF0E4E4u);
        EXPECT_EQ(look->m_clrText, 0x50533Du);
        EXPECT_EQ(look->m_clrBorder, 0xA89590u);
    }
}

} // namespace
