// The application object's shell and help overrides, headless: the shell's open
// command (OnDDECommand), the help call (WinHelp) and its "Display Help Commands" message, the
// About item's text (string 50003), the recent files loaded at their step after the command
// line's file, and a main frame made while one stands (fnCreateMainFrame).
#include "kelvane/app/app_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/document.h"
#include "platform/framework/recent_file_list.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/menu.h"
#include "qvutils/qv_utils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using AppShell = AppFixture;

void Command(CMainFrame* frame, UINT id) {
    ASSERT_NE(frame, nullptr);
    frame->SendMessage(WM_COMMAND, id, 0);
}

std::vector<std::string> Paths(CVanterFerolinApp& app) {
    std::vector<std::string> paths;
    for (POSITION pos = app.DesignTemplate()->GetFirstDocPosition(); pos;)
        paths.push_back(app.DesignTemplate()->GetNextDoc(pos)->GetPathName().ToUtf8());
    return paths;
}

TEST_F(AppShell, TheShellsOpenCommandOpensItsFileOnceAndBringsTheMinimisedWindowBack) {
    const std::string sign = box.Path("sign.kdx");
    ASSERT_TRUE(Start({"a", "b"}));
    SaveDesign(sign);
    HWND main = app->MainFrame()->m_hWnd;
    ::ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(main));
    // The class library's form of the command, then the plain path: one design, shown.
    std::wstring command = L"[open(\"" + std::wstring(CString(sign).GetString()) + L"\")]";
    EXPECT_TRUE(app->OnDDECommand(command.data()));
    EXPECT_FALSE(::IsIconic(main));
    std::wstring plain = std::wstring(CString(sign).GetString());
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(app->OnDDECommand(plain.data()));
    EXPECT_EQ(Paths(*app), std::vector<std::string>{sign});
    // In silent mode the window stays down.
    QvSetSilentModeOn(1);
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(app->OnDDECommand(plain.data()));
    EXPECT_TRUE(::IsIconic(main));
    QvSetSilentModeOn(0);
    // Neither a file nor a command.
    std::wstring nonsense = L"[print(\"x\")]";
    EXPECT_FALSE(app->OnDDECommand(nonsense.data()));
}

TEST_F(AppShell, HelpIsToldFirstWhenDisplayHelpCommandsIsSetThenTheHelpFileIsLookedFor) {
    ASSERT_TRUE(Start({"a", "b"}));
    Command(app->MainFrame(), kelvane::ID_HELP_INDEX);
    ASSERT_EQ(boxes.Shown().size(), 1u); // only the missing file
    EXPECT_NE(boxes.Shown()[0].text.find(L"help_en.pdf"), std::wstring::npos);
    QvSetAppParam(L"Display Help Commands", 1);
    Command(app->MainFrame(), kelvane::ID_HELP_INDEX);
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[1].text, L"Winhelp index 0x0 ( 0 ), nCmd 3");
    EXPECT_NE(boxes.Shown()[2].text.find(L"help_en.pdf"), std::wstring::npos);
    app->WinHelp(0x2A, HELP_CONTEXT);
    ASSERT_GE(boxes.Shown().size(), 4u);
    EXPECT_EQ(boxes.Shown()[3].text, L"Winhelp index 0x2A ( 42 ), nCmd 1");
}

TEST_F(AppShell, TheAboutItemNamesTheProgram) {
    ASSERT_TRUE(Start());
    HMENU bar = ::GetMenu(app->MainFrame()->m_hWnd);
    ASSERT_NE(bar, nullptr);
    HMENU help = GetSubMenu(bar, GetMenuItemCount(bar) - 1);
    ASSERT_NE(help, nullptr);
    app->MainFrame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 0);
    wchar_t text[128] = {};
    GetMenuStringW(help, kelvane::ID_ABOUT, text, 128, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"About Vanter Ferolin");
}

TEST_F(AppShell, TheRecentFilesAreReadAfterTheCommandLinesFileOpened) {
    const std::string one = box.Path("one.kdx"), two = box.Path("two.kdx");
    ASSERT_TRUE(Start({"a", "b"}));
    SaveDesign(one);
    SaveDesign(two);
    app->AddToRecentFileList(CString(one));
    app->AddToRecentFileList(CString(two));
    Restart({one});
    ASSERT_EQ(Paths(*app), std::vector<std::string>{one});
    // The list is the stored one: the file opened before it was read is not put on top.
    CRecentFileList* list = app->GetRecentFileList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ((*list)[0].ToUtf8(), two);
    EXPECT_EQ((*list)[1].ToUtf8(), one);
}

TEST_F(AppShell, AMainFrameMadeWhileOneStandsTakesOverAndTheOldOneGoesQuietly) {
    ASSERT_TRUE(Start({"a", "b"}));
    CMainFrame* old = app->MainFrame();
    ASSERT_NE(old, nullptr);
    HWND oldWindow = old->m_hWnd;
    ASSERT_NE(old->GetToolbarName(36), CString());
    ASSERT_TRUE(app->fnCreateMainFrame());
    CMainFrame* now = app->MainFrame();
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now->m_hWnd, oldWindow);
    EXPECT_FALSE(::IsWindow(oldWindow));
    EXPECT_EQ(AfxGetMainWnd(), now);
    EXPECT_EQ(now->GetToolbarName(36), CString(L"Select/Zoom"));
    // The old window's going does not end the program.
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_NE(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
}

} // namespace
