#include "gastelo/browser.h"

#include "gastelo/design_param_blk.h"
#include "gastelo/emb_table_param_blk.h"
#include "gastelo/gastelo_strings.h"

#include "browsing_fixture.h"

#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_frame_wnd.h"
#include "pivora/framework/jox_win_app_ex.h"

#include "platform/framework/view.h"
#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class BrowserTest : public BrowsingTest {
protected:
    void SetUp() override {
        BrowsingTest::SetUp();
        BrowserResetState();
        CJoxPage::CloseModifiedAction(eCloseModNone);
    }
    void TearDown() override {
        CJoxPage::CloseModifiedAction(eCloseModNone);
        BrowsingTest::TearDown();
    }
    CString DesignFolder() {
        CString folder;
        BrowserGetDesignPath(folder);
        return folder;
    }
    static bool Exists(const CString& path) { return fs::exists(platform::MapPath(path)); }
    static void Touch(const CString& path) { std::ofstream(platform::MapPath(path)) << "x"; }
    // A page with both blocks, as the design page makes one.
    static std::unique_ptr<CJoxPage> DesignPage() {
        auto page = NewPage();
        BrowserOnNewDocument(page.get());
        return page;
    }
    static CDesignParamBlk* Design(CJoxPage& page) {
        return DYNAMIC_DOWNCAST(CDesignParamBlk, page.FindParam(CParamBlk::kDesignParamId));
    }
    static CEmbTableParamBlk* Table(CJoxPage& page) {
        return DYNAMIC_DOWNCAST(CEmbTableParamBlk, page.FindParam(CParamBlk::kEmbTableParamId));
    }
};

const wchar_t kDesignDirParam[] = L"DefaultDesignDirectory";

} // namespace

TEST_F(BrowserTest, TheDesignFolderFallsBackToHomeAndIsStored) {
    const CString home = Home();
    const CString fallback = home + L"Designs";
    CString folder = DesignFolder();
    EXPECT_EQ(folder, fallback);
    EXPECT_TRUE(fs::is_directory(platform::MapPath(folder)));
    CString stored;
    ASSERT_TRUE(QvGetAppParam(kDesignDirParam, stored));
    EXPECT_EQ(stored, fallback);

    // A stored folder that exists is used as it is.
    const CString own = home + L"Mine";
    fs::create_directories(platform::MapPath(own));
    QvSetAppParam(kDesignDirParam, own);
    EXPECT_EQ(DesignFolder(), own);

    // One that has gone is replaced, and the parameter rewritten.
    fs::remove(platform::MapPath(own));
    EXPECT_EQ(DesignFolder(), fallback);
    ASSERT_TRUE(QvGetAppParam(kDesignDirParam, stored));
    EXPECT_EQ(stored, fallback);
}

TEST_F(BrowserTest, ADesignFolderThatCannotBeMadeIsStillUsedAndTheSaveFailsCleanly) {
    // A file where the folder should be: no folder can be made there.
    const CString blocked = Home() + L"Designs";
    Touch(blocked);
    EXPECT_EQ(DesignFolder(), blocked);

    platform::MessageBoxResponder responder;
    auto page = DesignPage();
    CString name(L"sign");
    BrowserSetPathName(page.get(), name);
    EXPECT_EQ(page->GetPathName(), blocked + L"\\sign.KDX");
    page->SetModifiedFlag(TRUE);
    EXPECT_EQ(BrowserDoSave(page.get(), page->GetPathName(), TRUE), 0);
    EXPECT_FALSE(page->GetLastErrorText().IsEmpty());
    EXPECT_TRUE(page->IsModified());
    EXPECT_EQ(SettingsSandbox::Read(platform::MapPath(blocked)), "x");
}

TEST_F(BrowserTest, FreshNamesCountUpPastFilesThatExist) {
    const CString folder = DesignFolder();
    EXPECT_EQ(BrowserGetFreshDesignName(folder), CString(L"Design1"));
    EXPECT_EQ(BrowserGetFreshDesignName(folder), CString(L"Design2"));
    Touch(folder + L"\\Design3.KDX");
    Touch(folder + L"\\design4.kdx"); // the same file to a path spelt in capitals
    EXPECT_EQ(BrowserGetFreshDesignName(folder), CString(L"Design5"));
}

TEST_F(BrowserTest, SetPathNameNamesThePageInTheDesignFolder) {
    const CString folder = DesignFolder();
    auto page = DesignPage();
    page->SetPathName(L"\\work\\logo.kdx", FALSE);
    page->SetFlags(kPageFlagPathChanged);
    CString name;
    BrowserSetPathName(page.get(), name);
    EXPECT_EQ(name, CString(L"logo"));
    const CString expected = folder + L"\\logo.KDX";
    EXPECT_EQ(page->GetPathName(), expected);
    CDesignParamBlk* design = Design(*page);
    EXPECT_EQ(design->m_strDesignName, CString(L"logo"));
    // Stored as given: an upper-cased path would name another file here.
    EXPECT_EQ(design->m_strPathName, expected);
    EXPECT_FALSE(page->FlagsOn(kPageFlagPathChanged));

    // A path that differs only in case is the same design: kept, flag untouched.
    design->m_strPathName = expected;
    design->m_strPathName.MakeUpper();
    page->SetFlags(kPageFlagPathChanged);
    name.Empty();
    BrowserSetPathName(page.get(), name);
    EXPECT_NE(design->m_strPathName, expected);
    EXPECT_TRUE(page->FlagsOn(kPageFlagPathChanged));
}

TEST_F(BrowserTest, SetPathNameTakesTheTitleFromTheFileNameOnly) {
    const CString folder = DesignFolder();
    const struct {
        const wchar_t* path;
        const wchar_t* title;
        const wchar_t* name;
    } cases[] = {
        {L"\\my.designs\\logo", L"", L"logo"}, // a dot in a folder is no extension
        {L"C:\\a\\b.c\\sign.v2.kdx", L"", L"sign.v2"},
        {L"", L"Banner", L"Banner"},
        {L"", L"", L"Design1"},
    };
    for (const auto& c : cases) {
        auto page = DesignPage();
        if (*c.path)
            page->SetPathName(c.path, FALSE);
        else
            page->SetTitle(c.title);
        CString name;
        BrowserSetPathName(page.get(), name);
        EXPECT_EQ(name, CString(c.name)) << CString(c.path).ToUtf8();
        EXPECT_EQ(page->GetPathName(), folder + L"\\" + c.name + L".KDX");
    }
    // A name given is used as it is.
    auto page = DesignPage();
    CString name(L"Shop Front");
    BrowserSetPathName(page.get(), name);
    EXPECT_EQ(page->GetPathName(), folder + L"\\Shop Front.KDX");
    EXPECT_EQ(Design(*page)->m_strDesignName, CString(L"Shop Front"));
}

TEST_F(BrowserTest, BlocksAreAddedOnceAndOpeningHandsOverTheTableWord) {
    BrowserAddParamBlocks(nullptr, kAddAllParamBlocks);
    auto sheet = NewPage();
    sheet->SetPathName(L"C:\\Sheets\\roll.KDX", FALSE);
    BrowserAddParamBlocks(sheet.get(), kAddDesignParamBlock);
    ASSERT_NE(Design(*sheet), nullptr);
    EXPECT_EQ(Design(*sheet)->m_strDesignName, CString(L"roll"));
    EXPECT_EQ(Design(*sheet)->m_strPathName, CString(L"C:\\Sheets\\roll.KDX"));
    EXPECT_EQ(Table(*sheet), nullptr);

    CDesignParamBlk* first = Design(*sheet);
    BrowserAddParamBlocks(sheet.get(), kAddAllParamBlocks);
    EXPECT_EQ(Design(*sheet), first);
    EXPECT_NE(Table(*sheet), nullptr);
    EXPECT_EQ(sheet->ParamCount(), 2);

    auto page = DesignPage();
    Design(*page)->m_nEmbTable = 5;
    EXPECT_EQ(BrowserOnOpenDocument(page.get(), L"x.KDX"), 1);
    EXPECT_EQ(Design(*page)->m_nState, CDesignParamBlk::kStateOpened);
    EXPECT_EQ(Table(*page)->m_nFirstWord, 5);

    auto plain = DesignPage();
    Table(*plain)->m_nFirstWord = 3;
    BrowserOnOpenDocument(plain.get(), L"x.KDX");
    EXPECT_EQ(Table(*plain)->m_nFirstWord, 3); // a word of 1 is not handed over
}

TEST_F(BrowserTest, DoSaveWritesAndOptionallyTakesThePath) {
    const CString folder = DesignFolder();
    auto page = DesignPage();
    page->SetModifiedFlag(TRUE);
    // Without a path the save dialog asks for a name; nobody answers it here.
    EXPECT_EQ(BrowserDoSave(page.get(), nullptr, TRUE), 0);
    EXPECT_EQ(BrowserDoSave(nullptr, L"x.KDX", TRUE), 0);

    const CString copy = folder + L"\\copy.KDX";
    EXPECT_EQ(BrowserDoSave(page.get(), copy, FALSE), 1);
    EXPECT_TRUE(Exists(copy));
    EXPECT_TRUE(page->GetPathName().IsEmpty());

    const CString named = folder + L"\\named.KDX";
    EXPECT_EQ(BrowserDoSave(page.get(), named, TRUE), 1);
    EXPECT_EQ(page->GetPathName(), named);
    EXPECT_FALSE(page->IsModified());

    // The saved design reads back with its blocks.
    auto back = NewPage();
    ASSERT_TRUE(back->OnOpenDocument(named));
    EXPECT_NE(Design(*back), nullptr);
    EXPECT_NE(Table(*back), nullptr);
}

TEST_F(BrowserTest, TheClosePromptFollowsTheCloseAllAction) {
    const CString folder = DesignFolder();
    struct Case {
        const char* what;
        CloseModAction action;
        bool modified;
        int state;
        int answer; // 0: no prompt expected
        UINT buttons;
        int result;
        bool saved;
    };
    const Case cases[] = {
        {"unchanged", eCloseModNone, false, 2, 0, 0, 1, false},
        {"no save", eCloseModNoSave, true, 2, 0, 0, 1, false},
        {"save all", eCloseModSaveAll, true, 3, 0, 0, 1, true},
        {"single close, yes", eCloseModNone, true, 3, IDYES, MB_YESNOCANCEL, 1, true},
        // Never saved: Yes asks for a name in the save dialog, which nobody answers here.
        {"never saved, yes", eCloseModNone, true, 2, IDYES, MB_YESNOCANCEL, 0, false},
        {"single close, no", eCloseModNone, true, 2, IDNO, MB_YESNOCANCEL, 1, false},
        {"single close, cancel", eCloseModNone, true, 2, IDCANCEL, MB_YESNOCANCEL, 0, false},
        {"prompt, yes", eCloseModPrompt, true, 3, IDYES, MB_YESNO, 1, true},
        {"prompt, no", eCloseModPrompt, true, 3, IDNO, MB_YESNO, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString path = folder + L"\\Design1.KDX";
        // An opened design's file is there (saved under its name, no dialog); one never saved
        // has none yet.
        fs::remove(platform::MapPath(path));
        if (c.state == 3)
            std::ofstream(platform::MapPath(path)) << "old";
        auto page = DesignPage();
        page->SetPathName(path, FALSE);
        page->SetTitle(L"Design1");
        Design(*page)->m_nState = c.state;
        page->SetModifiedFlag(c.modified);
        CJoxPage::CloseModifiedAction(c.action);
        platform::MessageBoxResponder responder;
        responder.SetDefault(c.answer ? c.answer : IDCANCEL);
        EXPECT_EQ(BrowserSaveModified(page.get()), c.result);
        EXPECT_EQ(fs::exists(platform::MapPath(path)) &&
                      fs::file_size(platform::MapPath(path)) != 3,
                  c.saved);
        if (!c.answer) {
            EXPECT_TRUE(responder.Shown().empty());
            continue;
        }
        ASSERT_EQ(responder.Shown().size(), 1u);
        const platform::ShownMessage& m = responder.Shown()[0];
        EXPECT_EQ(m.type & MB_TYPEMASK, c.buttons);
        if (c.state == 3) {
            EXPECT_EQ(m.stringId, IDS_DESIGN_MODIFIED);
            EXPECT_EQ(CString(m.text.c_str()),
                      L"'" + path + L"' has been modified. Do you want to save it?");
        } else {
            EXPECT_EQ(m.stringId, IDS_DESIGN_NOT_SAVED);
            EXPECT_EQ(m.text, L"'Design1' has NOT been saved. Do you want to save it?");
        }
    }
}

TEST_F(BrowserTest, ASaveToAMadeUpNameAsksBeforeReplacingAnotherDesign) {
    CString folder;
    BrowserGetDesignPath(folder);
    const CString path = folder + L"\\Logo.KDX";
    struct Case {
        const char* what;
        int state;
        CloseModAction action;
        int replace; // the answer to the replace question; 0 when none may be asked
        int result;
        bool replaced;
    };
    const Case cases[] = {
        {"imported, no", 0, eCloseModNone, IDNO, 0, false},
        {"imported, yes", 0, eCloseModNone, IDYES, 1, true},
        {"new, save all, no", 2, eCloseModSaveAll, IDNO, 0, false},
        {"opened from that file", 3, eCloseModNone, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(platform::MapPath(path), std::ios::binary) << "another design";
        auto page = DesignPage();
        page->SetPathName(path, FALSE);
        page->SetTitle(L"Logo");
        Design(*page)->m_nState = c.state;
        page->SetModifiedFlag(TRUE);
        CJoxPage::CloseModifiedAction(c.action);
        platform::MessageBoxResponder responder;
        responder.Answer(IDS_DESIGN_NOT_SAVED, IDYES);
        responder.Answer(IDS_DESIGN_MODIFIED, IDYES);
        responder.Answer(IDS_REPLACE_EXISTING_DESIGN, c.replace);
        EXPECT_EQ(BrowserSaveModified(page.get()), c.result);
        std::ifstream in(platform::MapPath(path), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(bytes != "another design", c.replaced);
        int asked = 0;
        for (const platform::ShownMessage& m : responder.Shown())
            if (m.stringId == IDS_REPLACE_EXISTING_DESIGN) {
                ++asked;
                EXPECT_EQ(CString(m.text.c_str()),
                          path + L" already exists.\nDo you want to replace it?");
            }
        EXPECT_EQ(asked, c.replace ? 1 : 0);
        CJoxPage::CloseModifiedAction(eCloseModNone);
    }
}

TEST_F(BrowserTest, LongPromptsKeepTheirBlankLineAndAFailedSaveKeepsThePageOpen) {
    auto page = DesignPage();
    const CString longTitle(L"A title long enough that the question no longer fits well on one "
                            L"line of the box");
    page->SetTitle(longTitle);
    page->SetModifiedFlag(TRUE);
    platform::MessageBoxResponder responder;
    responder.SetDefault(IDYES);
    // No path: the save cannot happen, so the close stops.
    EXPECT_EQ(BrowserSaveModified(page.get()), 0);
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_NE(responder.Shown()[0].text.find(L"saved.\n\nDo you"), std::wstring::npos);
    EXPECT_TRUE(page->IsModified());

    // A page without a design block is asked about with its path, or its title.
    auto bare = NewPage();
    bare->SetTitle(L"Bare");
    bare->SetModifiedFlag(TRUE);
    responder.SetDefault(IDNO);
    EXPECT_EQ(BrowserSaveModified(bare.get()), 1);
    EXPECT_EQ(responder.Shown().back().text, L"'Bare' has been modified. Do you want to save it?");
}

TEST_F(BrowserTest, ALockedPageRefusesTheClose) {
    auto page = DesignPage();
    page->Lock();
    CJoxPage::CloseModifiedAction(eCloseModNoSave);
    platform::MessageBoxResponder responder;
    EXPECT_EQ(BrowserSaveModified(page.get()), 0);
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_EQ(responder.Shown()[0].stringId, IDS_DOCUMENT_LOCKED_BROWSER);
    EXPECT_EQ(responder.Shown()[0].text, L"Document Locked.");
    page->Unlock();
}

TEST_F(BrowserTest, ClosingReleasesTheLockUnlessOpenedReadOnly) {
    const CString folder = DesignFolder();
    const CString design = folder + L"\\locked.KDX";
    const CString lock = folder + L"\\locked.LOC";
    auto page = DesignPage();
    page->SetPathName(design, FALSE);

    Touch(lock);
    page->SetFlags(kPageFlagReadOnly);
    BrowserOnCloseDocument(page.get());
    EXPECT_TRUE(Exists(lock)); // another instance holds it

    page->ClrFlags(kPageFlagReadOnly);
    BrowserOnCloseDocument(page.get());
    EXPECT_FALSE(Exists(lock));
    BrowserOnCloseDocument(nullptr);
}

TEST_F(BrowserTest, FlagsProductBitmapNamesAndLookups) {
    gfnSetBrowserInterfaceFlags(0x3FFFDD);
    gfnSetBrowserInterfaceFlags(0x40000);
    EXPECT_EQ(gfnGetBrowserInterfaceFlags(), 0x3FFFDD | 0x40000);
    gfnClrBrowserInterfaceFlags(0x1);
    EXPECT_EQ(gfnGetBrowserInterfaceFlags(), (0x3FFFDD | 0x40000) & ~0x1);

    FnSetProductBitmap(128);
    EXPECT_EQ(FnGetProductBitmap(), 128);
    CString longName;
    for (int i = 0; i < 300; ++i)
        longName += wchar_t(L'a' + i % 26);
    FnSetProductBitmapName(longName);
    CString out;
    EXPECT_EQ(FnGetProductBitmapName(out), 255);
    EXPECT_EQ(out, longName.Left(255));

    CString home;
    BrowserGetHomePath(home);
    EXPECT_EQ(home, Home());
    EXPECT_EQ(gfnGetDefaultDBName(), home + L"browser.mdb");
    EXPECT_EQ(gfnGetDefaultWBName(), home + L"wbtavrin.mdb");

    CArray<LONG, LONG> ids;
    for (LONG id : {4, 9, 4})
        ids.Add(id);
    EXPECT_EQ(fnFindIdxOfID(4, ids), 0);
    EXPECT_EQ(fnFindIdxOfID(9, ids), 1);
    EXPECT_EQ(fnFindIdxOfID(7, ids), -1);
    CStringArray names;
    names.Add(L"Red");
    names.Add(L"green");
    EXPECT_EQ(fnFindIdxOfStr(L"GREEN", names), 1);
    EXPECT_EQ(fnFindIdxOfStr(L"blue", names), -1);
    EXPECT_EQ(fnFindIdxOfStr(nullptr, names), -1);

    CString value(L"kept");
    FN_DfxText(nullptr, L"Name", value);
    EXPECT_EQ(value, CString(L"kept"));
}

namespace {

constexpr UINT kDesignResource = 7043;

// A view that draws nothing: the template needs one for its frames.
class CBrowseTestView : public CView {
    DECLARE_DYNCREATE(CBrowseTestView)
};
IMPLEMENT_DYNCREATE(CBrowseTestView, CView)

// The program's shape: an application with a context table of 100, a main frame of tabbed
// windows, and a template for the design context.
class FileNewTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        platform::RegisterStrings({{kDesignResource, L"\nDesign\nDesign"}});
        m_jox = std::make_unique<CJoxWinAppEx>();
        m_jox->SetContextCount(100);
        m_main = new CJoxFrameWnd;
        ASSERT_TRUE(
            m_main->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        AfxSetMainWnd(m_main);
        m_jox->m_pMainWnd = m_main;
    }
    void TearDown() override {
        if (::IsWindow(m_main->m_hWnd))
            m_main->DestroyWindow();
        AfxSetMainWnd(nullptr);
        m_jox.reset();
        BrowserTest::TearDown();
    }
    void AddDesignTemplate() {
        m_jox->AddDocTemplate(kDesignContext,
                              new CJoxDocTemplate(kDesignResource, RUNTIME_CLASS(CJoxPage),
                                                  RUNTIME_CLASS(CJoxChildWnd),
                                                  RUNTIME_CLASS(CBrowseTestView), kDesignContext),
                              1);
    }

    std::unique_ptr<CJoxWinAppEx> m_jox;
    CJoxFrameWnd* m_main = nullptr;
};

} // namespace

TEST_F(FileNewTest, NewDesignsAreNamedDesign1ThenDesign2InTheTemplatesFolder) {
    AddDesignTemplate();
    const CString templates = Home() + L"Templates\\";
    CJoxPage* first = BrowserOnFileNew(0, nullptr, 0);
    CJoxPage* second = BrowserOnFileNew(5, L"", 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetPathName(), templates + L"Design1.KDX");
    EXPECT_EQ(second->GetPathName(), templates + L"Design2.KDX");
    EXPECT_TRUE(first->IsModified());
    EXPECT_FALSE(first->FlagsOn(kPageFlagPathChanged));
    // A fresh home gets the folder, where the new design's save dialog opens.
    EXPECT_TRUE(std::filesystem::is_directory(platform::MapPath(templates)));

    CDesignParamBlk* design = Design(*first);
    ASSERT_NE(design, nullptr);
    EXPECT_NE(Table(*first), nullptr);
    EXPECT_EQ(design->m_strDesignName, CString(L"Design1"));
    EXPECT_EQ(design->m_strPathName, templates + L"Design1.KDX");
    EXPECT_EQ(design->m_nState, CDesignParamBlk::kStateNew);
    EXPECT_EQ(design->m_nField2, -1);
    EXPECT_EQ(design->m_nEmbTable, 1);
    EXPECT_EQ(design->m_dWidth, 0.0);

    CJoxPage* named = BrowserOnFileNew(0, L"Shop Front", 0);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->GetPathName(), templates + L"Shop Front.KDX");
    EXPECT_EQ(Design(*named)->m_strDesignName, CString(L"Shop Front"));

    // The new design asks on closing with its title, on one line.
    platform::MessageBoxResponder responder;
    responder.SetDefault(IDNO);
    EXPECT_EQ(BrowserSaveModified(first), 1);
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_EQ(responder.Shown()[0].stringId, IDS_DESIGN_NOT_SAVED);
    EXPECT_EQ(CString(responder.Shown()[0].text.c_str()),
              L"'" + first->GetTitle() + L"' has NOT been saved. Do you want to save it?");
}

TEST_F(FileNewTest, WithoutTheDesignTemplateNothingIsMadeAndNoNumberUsed) {
    EXPECT_EQ(BrowserOnFileNew(0, nullptr, 0), nullptr);
    m_jox->SetContextCount(10); // too small to hold the design context
    EXPECT_EQ(BrowserOnFileNew(0, nullptr, 0), nullptr);
    m_jox->SetContextCount(100);
    AddDesignTemplate();
    CJoxPage* page = BrowserOnFileNew(0, nullptr, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Design(*page)->m_strDesignName, CString(L"Design1"));
}
