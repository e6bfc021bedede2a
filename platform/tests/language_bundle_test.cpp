// Language bundles: texts taken from a loaded module before the program's own, entries that do
// not fit skipped, modules without a table or not modules at all refused.
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string Bundle(const char* name) {
    return std::string(TEST_BUNDLE_DIR) + "/" + name;
}

std::wstring Text(UINT id) {
    std::wstring s;
    platform::LoadResourceString(id, s);
    return s;
}

std::wstring MenuText(HMENU menu, UINT item, BOOL byPosition) {
    wchar_t buffer[100] = {};
    GetMenuStringW(menu, item, buffer, 100, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    return buffer;
}

class LanguageBundle : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RegisterStrings({{61446, L"English V10.00"},
                                   {57601, L"Open a design\nOpen"},
                                   {57602, L"Save"},
                                   {57603, L"Print"},
                                   {57604, L"Close"}});
        platform::RegisterMenuTemplate(
            {23012, {{MF_POPUP, 0, L"&File", {{MF_STRING, 57601, L"&Open...", {}}}}}});
    }
    void TearDown() override { platform::UnloadLanguageBundle(); }
};

TEST_F(LanguageBundle, TextsComeFromTheBundleAndFallBackToTheProgramsOwn) {
    ASSERT_TRUE(platform::LoadLanguageBundle(Bundle("LangFrench.so")));
    EXPECT_EQ(platform::CurrentLanguageBundle(), Bundle("LangFrench.so"));
    EXPECT_EQ(Text(61446), L"Fran\u00e7ais V10.00");
    EXPECT_EQ(Text(57602), L"Save"); // not in the bundle
    HMENU menu = LoadMenuW(nullptr, 23012);
    EXPECT_EQ(MenuText(menu, 0, TRUE), L"&Fichier");
    EXPECT_EQ(MenuText(menu, 57601, FALSE), L"&Ouvrir...\tCtrl+O");
    DestroyMenu(menu);
    platform::UnloadLanguageBundle();
    EXPECT_EQ(Text(61446), L"English V10.00");
    menu = LoadMenuW(nullptr, 23012);
    EXPECT_EQ(MenuText(menu, 0, TRUE), L"&File");
    DestroyMenu(menu);
}

TEST_F(LanguageBundle, EntriesThatDoNotFitAreSkipped) {
    ASSERT_TRUE(platform::LoadLanguageBundle(Bundle("LangGerman.so")));
    EXPECT_EQ(Text(61446), L"Deutsch V10.00");
    EXPECT_EQ(Text(57602), L"Save");
    EXPECT_EQ(Text(57603), L"Print");
    EXPECT_EQ(Text(57604), L"Close");
    std::wstring s;
    EXPECT_FALSE(platform::BundleString(0x1F000, s));
}

TEST_F(LanguageBundle, ModulesWithoutATableOrNotModulesAreRefusedAndKeepTheCurrentOne) {
    const std::string broken = std::filesystem::temp_directory_path() / "LangBroken.so";
    std::ofstream(broken) << "\x7f"
                          << "ELF but not really";
    ASSERT_TRUE(platform::LoadLanguageBundle(Bundle("LangFrench.so")));
    for (const std::string& path : {Bundle("LangNoEntry.so"), broken, Bundle("LangMissing.so")}) {
        EXPECT_FALSE(platform::LoadLanguageBundle(path)) << path;
        std::wstring s;
        EXPECT_FALSE(platform::PeekLanguageString(path, 61446, s)) << path;
        EXPECT_EQ(platform::CurrentLanguageBundle(), Bundle("LangFrench.so"));
    }
    std::remove(broken.c_str());
    // Peeking reads another bundle without switching.
    std::wstring name;
    EXPECT_TRUE(platform::PeekLanguageString(Bundle("LangGerman.so"), 61446, name));
    EXPECT_EQ(name, L"Deutsch V10.00");
    EXPECT_EQ(Text(61446), L"Fran\u00e7ais V10.00");
}

TEST_F(LanguageBundle, ADialogTakesItsCaptionFromTheBundle) {
    platform::RegisterDialogTemplate({131,
                                      WS_POPUP | WS_CAPTION,
                                      100,
                                      50,
                                      L"Language",
                                      nullptr,
                                      8,
                                      {{1003, L"ComboBox", L"", 0, 5, 5, 80, 60}}});
    ASSERT_TRUE(platform::LoadLanguageBundle(Bundle("LangFrench.so")));
    HWND dialog = CreateDialogParamW(nullptr, 131, nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[40] = {};
    GetWindowTextW(dialog, caption, 40);
    EXPECT_EQ(std::wstring(caption), L"Langue");
    DestroyWindow(dialog);
}

} // namespace
