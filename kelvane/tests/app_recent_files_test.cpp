#include "design/design_page.h"
#include "kelvane/tests/app_fixture.h"
#include "platform/framework/recent_file_list.h"
#include "platform/framework/reserved_commands.h"
#include "platform/windowing/menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class RecentFiles : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(Start({"a", "b"})); // no design of its own
        for (const char* name : {"one.kdx", "two.kdx"}) {
            paths.push_back(std::filesystem::path(box.Path(name)));
            SaveDesign(paths.back());
        }
    }
    CDocument* Open(const std::filesystem::path& p) {
        return app->OpenDocumentFile(CString(p.string()));
    }
    // The texts of the design menu's items between "Save As" and "Exit", as the operator
    // sees them when it opens.
    std::vector<std::wstring> DesignMenu(std::vector<bool>* enabled = nullptr) {
        CMainFrame* frame = app->MainFrame();
        HMENU popup = frame ? GetSubMenu(::GetMenu(frame->m_hWnd), 0) : nullptr;
        std::vector<std::wstring> out;
        if (!popup)
            return out;
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const UINT id = GetMenuItemID(popup, i);
            if (id < ID_FILE_MRU_FIRST || id > ID_FILE_MRU_LAST)
                continue;
            wchar_t text[128] = {};
            GetMenuStringW(popup, UINT(i), text, 128, MF_BYPOSITION);
            out.emplace_back(text);
            if (enabled)
                enabled->push_back(!(GetMenuState(popup, UINT(i), MF_BYPOSITION) & MF_GRAYED));
        }
        return out;
    }
    void Choose(int entry) {
        app->MainFrame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FIRST + UINT(entry), 0);
    }
    std::vector<std::filesystem::path> paths;
};

TEST_F(RecentFiles, EmptyListShowsTheGreyedItem) {
    std::vector<bool> enabled;
    EXPECT_EQ(DesignMenu(&enabled), std::vector<std::wstring>{L"Recent File"});
    EXPECT_EQ(enabled, std::vector<bool>{false});
}

TEST_F(RecentFiles, OpenedDesignsAreListedAndChosenEntriesOpen) {
    ASSERT_NE(Open(paths[0]), nullptr);
    ASSERT_NE(Open(paths[1]), nullptr);
    std::vector<bool> enabled;
    EXPECT_EQ(DesignMenu(&enabled), (std::vector<std::wstring>{L"&1 two.kdx", L"&2 one.kdx"}));
    EXPECT_EQ(enabled, (std::vector<bool>{true, true}));

    app->OnCloseAll();
    ASSERT_EQ(DesignCount(), 0);
    Choose(1);
    EXPECT_EQ(DesignCount(), 1);
    // The opened one comes to the top.
    EXPECT_EQ(DesignMenu(), (std::vector<std::wstring>{L"&1 one.kdx", L"&2 two.kdx"}));
}

TEST_F(RecentFiles, ADesignSavedUnderANameGoesToTheTop) {
    ASSERT_NE(Open(paths[0]), nullptr);
    auto* page = dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE));
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->DoSave(CString(box.Path("three.kdx")), TRUE));
    EXPECT_EQ(DesignMenu(), (std::vector<std::wstring>{L"&1 three.kdx", L"&2 one.kdx"}));
}

TEST_F(RecentFiles, AFileThatIsGoneLeavesTheListWithAMessage) {
    ASSERT_NE(Open(paths[0]), nullptr);
    ASSERT_NE(Open(paths[1]), nullptr);
    app->OnCloseAll();
    std::filesystem::remove(paths[1]);
    const size_t shown = boxes.Shown().size();
    Choose(0);
    EXPECT_EQ(DesignCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), shown + 1);
    EXPECT_NE(boxes.Shown().back().text.find(L"two.kdx"), std::wstring::npos);
    EXPECT_EQ(DesignMenu(), std::vector<std::wstring>{L"&1 one.kdx"});
}

TEST_F(RecentFiles, KeptAcrossARestart) {
    ASSERT_NE(Open(paths[0]), nullptr);
    ASSERT_NE(Open(paths[1]), nullptr);
    Restart({"a", "b"});
    EXPECT_EQ(DesignMenu(), (std::vector<std::wstring>{L"&1 two.kdx", L"&2 one.kdx"}));
    ASSERT_NE(app->GetRecentFileList(), nullptr);
    EXPECT_EQ(app->GetRecentFileList()->GetSize(), 10);
}

} // namespace
