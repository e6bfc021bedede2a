// Start-up headless: the templates of contexts 43 and 10, the main frame with its menu, slot
// table and status panes, and the design the command line names (or a new one).
#include "design/design_page.h"
#include "design/design_view.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "kelvane/tests/app_fixture.h"
#include "outside/quintar/quintar.h"
#include "pivora/framework/app_params.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/message.h"
#include "platform/windowing/message_box.h"
#include "qvutils/qv_utils.h"
#include "varnholm/sorvane_view.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using AppStart = AppFixture;

TEST_F(AppStart, RegistersBothTemplatesAndOpensANewDesignInTheMainFrame) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->DocTemplateForContext(CDesignView::kContext), app->DesignTemplate());
    EXPECT_EQ(app->IndustryForContext(CDesignView::kContext), 2);
    EXPECT_EQ(app->DocTemplateForContext(CQuintar::kContext), app->TileTemplate());
    EXPECT_EQ(app->IndustryForContext(CQuintar::kContext), 0);
    CMainFrame* frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(::GetMenu(frame->m_hWnd), nullptr);
    EXPECT_EQ(frame->StatusBar().GetCount(), CMainFrame::kPaneCount);
    EXPECT_EQ(frame->StatusBar().GetItemID(4), kelvane::ID_INDICATOR_CAP);
    EXPECT_EQ(frame->StatusBar().GetItemID(6), kelvane::ID_INDICATOR_INS);
    EXPECT_EQ(frame->GetToolbarName(36), CString(L"Select/Zoom"));
    EXPECT_EQ(frame->GetToolbarResourceId(47), int(kelvane::IDR_COLOUR_TOOLBAR));
    EXPECT_EQ(frame->GetToolbarResourceId(5), -1);
    EXPECT_EQ(DesignCount(), 1);
    // The design shows in the view that carries the cutter's output commands.
    POSITION docs = app->DesignTemplate()->GetFirstDocPosition();
    CDocument* design = app->DesignTemplate()->GetNextDoc(docs);
    POSITION views = design->GetFirstViewPosition();
    EXPECT_NE(DynamicDowncast<CSorvaneView>(design->GetNextView(views)), nullptr);
    // A new design opens on a page of 100 x 100 mm, not on a point.
    EXPECT_EQ(static_cast<CDesignPage*>(design)->Extents(), CWindow(0, 0, 100000, 100000));
}

// The menu bar is the design window's while one is open, and the short one with none.
TEST_F(AppStart, TheMenuBarFollowsWhetherADesignIsOpen) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    const auto titles = [&] {
        std::vector<std::wstring> out;
        HMENU menu = ::GetMenu(frame->m_hWnd);
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
            out.emplace_back(text);
        }
        return out;
    };
    EXPECT_EQ(titles(), (std::vector<std::wstring>{L"&Design", L"&Output", L"&Edit", L"&View",
                                                   L"&Tools", L"&Window", L"&Options", L"&Help"}));
    app->DesignTemplate()->CloseAllDocuments(FALSE);
    EXPECT_EQ(titles(), (std::vector<std::wstring>{L"&Design", L"&Options", L"&Help"}));
}

TEST_F(AppStart, TheStatusTextStaysThroughTheIdleUpdates) {
    ASSERT_TRUE(Start());
    QvSetStatusText(1, L"3 paths");
    for (LONG idle = 0; app->OnIdle(idle); ++idle) {
    }
    app->MainFrame()->StatusBar().OnUpdateCmdUI(app->MainFrame(), TRUE);
    EXPECT_EQ(app->MainFrame()->StatusBar().GetPaneText(1), CString(L"3 paths"));
}

TEST_F(AppStart, OpensTheDesignTheCommandLineNamesOnceAndNothingForTwoArguments) {
    const std::string path = box.Path("sign.kdx");
    ASSERT_TRUE(Start({"a", "b"}));
    EXPECT_EQ(DesignCount(), 0);
    SaveDesign(path);
    Restart({path});
    ASSERT_EQ(DesignCount(), 1);
    POSITION pos = app->DesignTemplate()->GetFirstDocPosition();
    CDocument* doc = app->DesignTemplate()->GetNextDoc(pos);
    EXPECT_EQ(doc->GetPathName(), CString(path));
    // Opening it again activates the window it has.
    EXPECT_EQ(app->OpenDocumentFile(CString(path)), doc);
    EXPECT_EQ(DesignCount(), 1);
}

TEST_F(AppStart, AnAutomaticOpenAsksEachCuttingViewToSendAndAPlainOpenDoesNot) {
    const std::string path = box.Path("job.kdx");
    ASSERT_TRUE(Start({"a", "b"}));
    SaveDesign(path);
    Pump();
    for (int autoSend : {0, 1}) {
        CDesignPage* page = app->fnOpenDesignFile(CString(path), autoSend);
        ASSERT_NE(page, nullptr);
        POSITION views = page->GetFirstViewPosition();
        auto* view = DynamicDowncast<CSorvaneView>(page->GetNextView(views));
        ASSERT_NE(view, nullptr);
        MSG msg;
        bool asked = false;
        while (::PeekMessageW(&msg, view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            asked = asked || LOWORD(msg.wParam) == CSorvaneView::ID_AUTO_SEND_TO_CUTTER;
        EXPECT_EQ(asked, autoSend == 1);
        page->OnCloseDocument();
    }
}

TEST_F(AppStart, TheProgramNamedToRunAfterOursStartsAtTheEndAndAFailureIsTold) {
    const std::string mark = box.Path("after");
    const std::string program = box.Path("after.sh");
    SettingsSandbox::Write(program, "#!/bin/sh\n: > '" + mark + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    for (const std::string& command : {program, box.Path("missing.sh")}) {
        ASSERT_TRUE(Start({"a", "b"}));
        ASSERT_TRUE(FnSetAppParamInLocalMachine(L"Exit Application", CString(command)));
        const size_t before = boxes.Shown().size();
        Stop();
        app.reset(); // the object's end runs it
        app = std::make_unique<CVanterFerolinApp>();
        if (command == program) {
            for (int i = 0; i < 500 && !std::filesystem::exists(mark); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_TRUE(std::filesystem::exists(mark));
            EXPECT_EQ(boxes.Shown().size(), before);
        } else {
            ASSERT_EQ(boxes.Shown().size(), before + 1);
            EXPECT_NE(boxes.Shown().back().text.find(L"Failed to launch application on exit."),
                      std::wstring::npos);
        }
    }
}

} // namespace
