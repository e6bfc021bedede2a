// The language page: the bundles found and their names, the stored choice matched exactly, a
// choice applied at once, Cancel going back and OK storing; the choice applied at start.
#include "kelvane/app/app_resources.h"
#include "kelvane/app/language.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring Text(UINT id) {
    std::wstring s;
    platform::LoadResourceString(id, s);
    return s;
}

class LanguagePage : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        m_folder = std::filesystem::path(box.Path("languages"));
        std::filesystem::create_directories(m_folder);
        QvSetAppParam(L"Language Path", CString(m_folder.string()));
        ASSERT_TRUE(Start({"a", "b"}));
    }
    void TearDown() override {
        platform::UnloadLanguageBundle();
        AppFixture::TearDown();
    }
    void Put(const char* bundle, const char* as = nullptr) {
        std::filesystem::copy_file(std::string(TEST_BUNDLE_DIR) + "/" + bundle,
                                   m_folder / (as ? as : bundle));
    }
    void PutAll() {
        Put("LangFrench.so");
        Put("LangGerman.so");
        Put("LangNoEntry.so");
        Put("LangFrench.so", "langcase.SO");
        Put("LangFrench.so", "Other.so");
        std::ofstream(m_folder / "LangBroken.so") << "not a module";
    }
    // The page's combo entries, as shown.
    std::vector<std::wstring> Shown(CLanguage& page) {
        std::vector<std::wstring> texts;
        const int n =
            int(SendDlgItemMessageW(page.m_hWnd, CLanguage::IDC_LANGUAGE, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t buffer[100] = {};
            SendDlgItemMessageW(page.m_hWnd, CLanguage::IDC_LANGUAGE, CB_GETLBTEXT, WPARAM(i),
                                LPARAM(buffer));
            texts.push_back(buffer);
        }
        return texts;
    }
    int Selection(CLanguage& page) {
        return int(SendDlgItemMessageW(page.m_hWnd, CLanguage::IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
    }
    void Choose(CLanguage& page, int index) {
        SendDlgItemMessageW(page.m_hWnd, CLanguage::IDC_LANGUAGE, CB_SETCURSEL, WPARAM(index), 0);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(CLanguage::IDC_LANGUAGE, CBN_SELCHANGE), 0);
    }
    std::wstring FirstMenuTitle() {
        HMENU menu = LoadMenuW(nullptr, kelvane::IDR_MAINFRAME);
        wchar_t buffer[60] = {};
        GetMenuStringW(menu, 0, buffer, 60, MF_BYPOSITION);
        DestroyMenu(menu);
        return buffer;
    }

    std::filesystem::path m_folder;
};

TEST_F(LanguagePage, ListsDefaultAndEachBundleByItsName) {
    {
        CLanguage page;
        ASSERT_TRUE(page.CreatePage(app->MainFrame()));
        EXPECT_EQ(Shown(page), std::vector<std::wstring>{L"Default"}); // an empty folder
        page.DestroyWindow();
    }
    PutAll();
    CLanguage page;
    ASSERT_TRUE(page.CreatePage(app->MainFrame()));
    EXPECT_EQ(page.FileNames(), (std::vector<CString>{L"Default", L"LangFrench.so",
                                                      L"LangGerman.so", L"langcase.SO"}));
    EXPECT_EQ(Shown(page), (std::vector<std::wstring>{L"Default", L"Fran\u00e7ais V10.00",
                                                      L"Deutsch V10.00", L"Fran\u00e7ais V10.00"}));
    EXPECT_EQ(Selection(page), 0);
    page.DestroyWindow();
}

TEST_F(LanguagePage, TheStoredNameIsMatchedExactly) {
    PutAll();
    const struct {
        const wchar_t* stored;
        int selection;
    } cases[] = {
        {L"LangGerman.so", 2}, {L"langgerman.so", 0}, {L"langcase.SO", 3}, {L"Gone.so", 0}};
    for (const auto& c : cases) {
        QvSetAppParam(L"LangDLL", c.stored);
        CLanguage page;
        ASSERT_TRUE(page.CreatePage(app->MainFrame()));
        EXPECT_EQ(Selection(page), c.selection) << CString(c.stored).ToUtf8();
        page.DestroyWindow();
    }
}

TEST_F(LanguagePage, AChoiceAppliesAtOnceCancelGoesBackOkStores) {
    PutAll();
    EXPECT_EQ(FirstMenuTitle(), L"&Design");
    CLanguage page;
    ASSERT_TRUE(page.CreatePage(app->MainFrame()));
    Choose(page, 1);
    EXPECT_EQ(Text(CLanguage::IDS_LANGUAGE_NAME), L"Fran\u00e7ais V10.00");
    EXPECT_EQ(FirstMenuTitle(), L"&Fichier");
    page.OnCancel(); // the stored one is "Default"
    EXPECT_EQ(Text(CLanguage::IDS_LANGUAGE_NAME), L"English V10.00");
    EXPECT_EQ(FirstMenuTitle(), L"&Design");
    Choose(page, 2);
    page.OnOK();
    EXPECT_EQ(CLanguage::StoredLanguage(), CString(L"LangGerman.so"));
    CString machine;
    FnGetAppParamFromLocalMachine(L"LangDLL", machine);
    EXPECT_EQ(machine, CString(L"LangGerman.so"));
    page.DestroyWindow();
    // The next start uses it.
    Restart({"a", "b"});
    EXPECT_EQ(Text(CLanguage::IDS_LANGUAGE_NAME), L"Deutsch V10.00");
}

TEST_F(LanguagePage, WithoutAWritableMachineStoreTheChoiceIsKeptPerUser) {
    // A hive whose folder is a file cannot be written.
    std::ofstream(m_folder / "file") << "x";
    setenv("KELVANE_MACHINE_HIVE", (m_folder / "file" / "machine.hive").c_str(), 1);
    CLanguage::StoreLanguage(L"LangFrench.so");
    EXPECT_EQ(CLanguage::StoredLanguage(), CString(L"LangFrench.so"));
    CString user;
    EXPECT_TRUE(QvGetAppParam(L"LangDLL", user));
    EXPECT_EQ(user, CString(L"LangFrench.so"));
}

TEST_F(LanguagePage, ABundleThatDoesNotLoadLeavesTheProgramsTexts) {
    PutAll();
    ASSERT_TRUE(CLanguage::fnLoadLanguageDLL(L"LangFrench.so"));
    for (const wchar_t* name : {L"LangNoEntry.so", L"LangBroken.so", L"Gone.so"}) {
        EXPECT_FALSE(CLanguage::fnLoadLanguageDLL(name));
        EXPECT_EQ(Text(CLanguage::IDS_LANGUAGE_NAME), L"English V10.00");
    }
}

} // namespace

namespace {

TEST_F(LanguagePage, TheSelectLanguageCommandShowsThePage) {
    int shown = 0;
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
        ++shown;
        EndDialog(dlg, IDCANCEL);
    });
    app->MainFrame()->SendMessage(WM_COMMAND, CLanguage::ID_SELECT_LANGUAGE, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Text(CLanguage::IDS_LANGUAGE_NAME), L"English V10.00");
}

} // namespace
