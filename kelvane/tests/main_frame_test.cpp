// The main frame headless: the autosave timer on the injected clock, the recovery of an
// earlier run's copies at start, and what the close does with them.
#include "design/design_page.h"
#include "design/design_view.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/auto_save.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/message_filter.h"
#include "platform/framework/mfc_tab_ctrl.h"
#include "platform/framework/palette_messages.h"
#include "platform/framework/tab_tooltip.h"
#include "platform/framework/view.h"
#include "platform/system/termination_request.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::string Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MainFrameTest : public AppFixture {
protected:
    // A real design file left in the recovery folder under the name.
    std::filesystem::path LeaveRecoveryCopy(const std::string& name) {
        const auto path = RecoveryDir() / name;
        SaveDesign(path);
        return path;
    }
    CDesignPage* OnlyDesign() {
        POSITION pos = app->DesignTemplate()->GetFirstDocPosition();
        return pos ? dynamic_cast<CDesignPage*>(app->DesignTemplate()->GetNextDoc(pos)) : nullptr;
    }
};

TEST_F(MainFrameTest, AnIntervalOfNothingAutosavesEveryFiveMinutes) {
    QvSetAppParam(L"AutoSaveInterval", 0);
    ASSERT_TRUE(Start());
    Advance(5 * 60000 - 1000);
    EXPECT_TRUE(kelvane::FindRecoveryFiles(RecoveryDir()).empty());
    Advance(2000);
    EXPECT_EQ(kelvane::FindRecoveryFiles(RecoveryDir()).size(), 1u);
}

TEST_F(MainFrameTest, AnIllegalMethodIsReportedRewrittenAndEveryDesignSaved) {
    QvSetAppParam(L"AutoSaveMethod", 3);
    ASSERT_TRUE(Start());
    ASSERT_NE(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
    app->MainFrame()->fnAutoSave();
    EXPECT_EQ(QvGetAppParam(L"AutoSaveMethod", 0), kelvane::kAutoSaveAll);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(kelvane::FindRecoveryFiles(RecoveryDir()).size(), 2u);
}

TEST_F(MainFrameTest, ARestoredCopyOpensUnderADesignNameAndGoesOnceItHasANewCopy) {
    ASSERT_TRUE(Start({"x", "y"}));
    const auto found = LeaveRecoveryCopy("sign-1.kdr");
    const std::filesystem::path designs(box.Path("designs"));
    std::filesystem::create_directories(designs);
    QvSetAppParam(L"DefaultDesignDirectory", CString(designs.string()));
    boxes.SetDefault(IDYES);
    Restart({"x", "y"});
    CDesignPage* page = OnlyDesign();
    ASSERT_NE(page, nullptr);
    // Its save goes to a design file, not to a name the close removes.
    EXPECT_EQ(page->GetPathName(), CString((designs / "sign-1.KDX").string()));
    EXPECT_TRUE(page->IsModified());
    EXPECT_FALSE(std::filesystem::exists(found));
    EXPECT_FALSE(std::filesystem::exists(RecoveryDir() / "sign-1.KDX"));
    // The one copy left is the new one.
    EXPECT_EQ(kelvane::FindRecoveryFiles(RecoveryDir()).size(), 1u);
}

TEST_F(MainFrameTest, ARestoredCopyNeverReplacesADesignOfItsName) {
    ASSERT_TRUE(Start({"x", "y"}));
    LeaveRecoveryCopy("sign.KDR");
    const auto design = RecoveryDir() / "sign.KDX";
    SettingsSandbox::Write(design.string(), "someone's design");
    boxes.SetDefault(IDYES);
    Restart({"x", "y"});
    ASSERT_NE(OnlyDesign(), nullptr);
    EXPECT_EQ(Bytes(design), "someone's design");
}

TEST_F(MainFrameTest, ADamagedCopyThatDoesNotOpenIsKeptUnderItsName) {
    ASSERT_TRUE(Start({"x", "y"}));
    const auto damaged = RecoveryDir() / "broken.KDR";
    SettingsSandbox::Write(damaged.string(), "not a design at all");
    boxes.SetDefault(IDYES);
    Restart({"x", "y"});
    EXPECT_EQ(DesignCount(), 0);
    EXPECT_EQ(Bytes(damaged), "not a design at all");
    EXPECT_FALSE(std::filesystem::exists(RecoveryDir() / "broken.KDX"));
}

TEST_F(MainFrameTest, ACopyNotRestoredStaysAndTheCloseRemovesCopiesOnlyWhenItGoesThrough) {
    ASSERT_TRUE(Start({"x", "y"}));
    const auto left = LeaveRecoveryCopy("old.KDR");
    boxes.SetDefault(IDNO);
    Restart({"x", "y"});
    EXPECT_EQ(DesignCount(), 0);
    ASSERT_TRUE(std::filesystem::exists(left));
    // A modified design whose save question is cancelled keeps the program and the copies.
    CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    boxes.SetDefault(IDCANCEL);
    HWND frame = app->MainFrame()->m_hWnd;
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_TRUE(std::filesystem::exists(left));
    // Not saved: the close goes through and the copies go.
    boxes.SetDefault(IDNO);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(std::filesystem::exists(left));
}

TEST_F(MainFrameTest, ACopyWrittenBeforeItsDesignWasLastSavedGoesWithoutAQuestion) {
    const std::filesystem::path designs(box.Path("designs"));
    std::filesystem::create_directories(designs);
    QvSetAppParam(L"DefaultDesignDirectory", CString(designs.string()));
    const std::filesystem::path design = designs / "Shop Sign-7.KDX";
    const CString path(design.string());
    for (bool savedAfterTheCopy : {true, false}) {
        SCOPED_TRACE(savedAfterTheCopy ? "saved after the copy" : "changed after the save");
        ASSERT_TRUE(Start({"x", "y"}));
        CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
        ASSERT_NE(doc, nullptr);
        ASSERT_TRUE(doc->OnSaveDocument(path));
        doc->SetModifiedFlag(TRUE);
        app->MainFrame()->fnAutoSave();
        if (savedAfterTheCopy) {
            ASSERT_TRUE(doc->OnSaveDocument(path));
        }
        const auto copies = kelvane::FindRecoveryFiles(RecoveryDir());
        ASSERT_EQ(copies.size(), 1u);
        // The autosave timer and the operator's save lie minutes apart, not within one tick of
        // the file clock as here.
        const auto saved = std::filesystem::last_write_time(design);
        std::filesystem::last_write_time(copies[0], savedAfterTheCopy
                                                        ? saved - std::chrono::minutes(5)
                                                        : saved + std::chrono::minutes(5));
        // Killed: no close removes the copy.
        boxes.SetDefault(IDYES);
        const size_t asked = boxes.Shown().size();
        Restart({"x", "y"});
        if (savedAfterTheCopy) {
            EXPECT_EQ(boxes.Shown().size(), asked);
            EXPECT_EQ(DesignCount(), 0);
            EXPECT_FALSE(std::filesystem::exists(copies[0]));
        } else {
            ASSERT_EQ(boxes.Shown().size(), asked + 1);
            EXPECT_EQ(boxes.Shown().back().text.rfind(L"Auto-recovery file found", 0), 0u);
            EXPECT_EQ(DesignCount(), 1);
        }
        Stop();
        app.reset();
        app = std::make_unique<CVanterFerolinApp>();
        for (const auto& f : kelvane::FindRecoveryFiles(RecoveryDir()))
            std::filesystem::remove(f);
    }
}

TEST_F(MainFrameTest, PartsOfCopiesThatAKilledAutosaveLeftGoAtTheNextStart) {
    ASSERT_TRUE(Start({"x", "y"}));
    Stop();
    const auto left = RecoveryDir() / ".Sign-4243.KDR.a1B2c3";
    const auto held = RecoveryDir() / ".Logo-17.KDR.x9Y8z7"; // a running autosave's
    const auto other = RecoveryDir() / ".notes.txt.q1w2e3";
    for (const auto& p : {left, held, other})
        SettingsSandbox::Write(p.string(), "part of a copy");
    const int lock = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    Restart({"x", "y"});
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(other));
    ::close(lock);
}

// A command as the menu sends it, and whether its menu item shows checked.
void Command(CMainFrame* frame, UINT id) {
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, id, 0);
}
struct CheckUI : CCmdUI {
    int check = -1;
    void SetCheck(int c) override { check = c; }
};
int Checked(CMainFrame* frame, UINT id) {
    CheckUI ui;
    ui.m_nID = id;
    frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.check;
}

TEST_F(MainFrameTest, SilentModeAndInchesToggleAndShowChecked) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    for (UINT id : {kelvane::ID_SILENT_MODE, kelvane::ID_DISPLAY_INCHES}) {
        EXPECT_EQ(Checked(frame, id), 0) << id;
        Command(frame, id);
        EXPECT_EQ(Checked(frame, id), 1) << id;
        Command(frame, id);
        EXPECT_EQ(Checked(frame, id), 0) << id;
    }
}

TEST_F(MainFrameTest, HelpOpensTheHelpFileAndSaysWhenItCannot) {
    const std::string bin = box.Path("bin"), seen = box.Path("seen");
    SettingsSandbox::Write(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + seen + "'\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    box.Set("PATH", bin);
    ASSERT_TRUE(Start({"x", "y"}));
    const std::string help = box.Path("home/HELP/help_en.pdf");
    // Not there: the message names the file by its real path.
    Command(app->MainFrame(), kelvane::ID_HELP_FINDER);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find(CString::FromUtf8(help).GetString()), std::wstring::npos)
        << CString(boxes.Shown()[0].text.c_str()).ToUtf8();
    EXPECT_FALSE(std::filesystem::exists(seen));

    SettingsSandbox::Write(help, "%PDF-1.4\n");
    Command(app->MainFrame(), kelvane::ID_HELP_FINDER);
    EXPECT_EQ(Bytes(seen), help);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    std::filesystem::remove(bin + "/xdg-open");
    Command(app->MainFrame(), kelvane::ID_HELP_INDEX);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_NE(boxes.Shown()[1].text.find(L"help_en.pdf"), std::wstring::npos);
}

TEST_F(MainFrameTest, CloseClosesTheActiveDesignWindow) {
    ASSERT_TRUE(Start({"x", "y"}));
    ASSERT_NE(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
    ASSERT_NE(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
    Command(app->MainFrame(), kelvane::ID_CLOSE_DESIGN);
    // Only the posted close: a paint would pull in the font libraries for nothing.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        ::DispatchMessageW(&msg);
    EXPECT_EQ(DesignCount(), 1);
}

TEST_F(MainFrameTest, BeingToldToEndAsksAboutAModifiedDesignInsteadOfLosingIt) {
    ASSERT_TRUE(Start({"x", "y"}));
    CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    platform::TerminationRequest request([] {
        CWnd* main = AfxGetMainWnd();
        return main ? main->GetSafeHwnd() : nullptr;
    });
    boxes.SetDefault(IDCANCEL);
    ASSERT_EQ(raise(SIGINT), 0);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        ::DispatchMessageW(&msg);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(DesignCount(), 1);
    ASSERT_NE(app->MainFrame(), nullptr);
    doc->SetModifiedFlag(FALSE);
}

TEST_F(MainFrameTest, TheMenuBarToggleAndAltAloneWithAHiddenBar) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    auto alt = [frame] {
        MSG down{frame->m_hWnd, WM_SYSKEYDOWN, kelvane::kKeyAlt, 0, 0, {}};
        MSG up{frame->m_hWnd, WM_SYSKEYUP, kelvane::kKeyAlt, 0, 0, {}};
        frame->PreTranslateMessage(&down);
        frame->PreTranslateMessage(&up);
    };
    EXPECT_TRUE(frame->IsMenuBarVisible());
    Command(frame, kelvane::ID_TOGGLE_MENU_BAR);
    EXPECT_FALSE(frame->IsMenuBarVisible());
    EXPECT_EQ(Checked(frame, kelvane::ID_TOGGLE_MENU_BAR), 0);
    alt();
    EXPECT_TRUE(frame->IsMenuBarVisible());
    alt();
    EXPECT_FALSE(frame->IsMenuBarVisible());
    Command(frame, kelvane::ID_TOGGLE_MENU_BAR);
    alt();
    EXPECT_TRUE(frame->IsMenuBarVisible());
    EXPECT_EQ(Checked(frame, kelvane::ID_TOGGLE_MENU_BAR), 1);
}

struct EnableUI : CCmdUI {
    int enabled = -1;
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
};

TEST_F(MainFrameTest, TheLockIndicatorsFollowTheirKeys) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    struct Case {
        UINT indicator;
        int key;
    } cases[] = {{kelvane::ID_INDICATOR_CAP, 0x14},
                 {kelvane::ID_INDICATOR_NUM_LOCK, 0x90},
                 {kelvane::ID_INDICATOR_INS, 0x2D}};
    for (const Case& c : cases) {
        auto shown = [&] {
            EnableUI ui;
            ui.m_nID = c.indicator;
            frame->OnCmdMsg(c.indicator, CN_UPDATE_COMMAND_UI, &ui, nullptr);
            return ui.enabled;
        };
        const int before = shown();
        platform::SetKeyDown(c.key, true);
        platform::SetKeyDown(c.key, true); // held: no second turn
        platform::SetKeyDown(c.key, false);
        EXPECT_EQ(shown(), 1 - before) << c.indicator;
        platform::SetKeyDown(c.key, true);
        platform::SetKeyDown(c.key, false);
        EXPECT_EQ(shown(), before) << c.indicator;
    }
}

TEST_F(MainFrameTest, ATabsTooltipIsItsDesignsTitleStarredWhenModified) {
    ASSERT_TRUE(Start({"x", "y"}));
    CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    CWnd* child = doc->GetNextView(pos)->GetParentFrame();
    CMFCTabCtrl* tabs = app->MainFrame()->FindTabGroup(child->m_hWnd);
    ASSERT_NE(tabs, nullptr);
    int index = -1;
    for (int i = 0; i < tabs->GetTabsNum(); ++i)
        if (tabs->GetTabWnd(i) == child)
            index = i;
    ASSERT_GE(index, 0);
    auto tip = [&] {
        TabToolTipRequest request{tabs->m_hWnd, index, {}};
        ::SendMessageW(app->MainFrame()->m_hWnd, WM_GET_TAB_TOOLTIP, 0,
                       reinterpret_cast<LPARAM>(&request));
        return request.text;
    };
    EXPECT_EQ(tip(), doc->GetTitle());
    doc->SetModifiedFlag(TRUE);
    EXPECT_EQ(tip(), doc->GetTitle() + L"*");
    doc->SetModifiedFlag(FALSE);
}

} // namespace

namespace {

TEST_F(MainFrameTest, PaletteChangesReachTheViewsWithTheActiveOneNamed) {
    ASSERT_TRUE(Start({"x", "y"}));
    CDocument* first = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    CDocument* second = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_TRUE(first && second);
    Pump();
    POSITION pos = first->GetFirstViewPosition();
    HWND firstView = first->GetNextView(pos)->m_hWnd;
    pos = second->GetFirstViewPosition();
    HWND active = second->GetNextView(pos)->m_hWnd;
    ASSERT_EQ(app->MainFrame()->fnActiveView()->m_hWnd, active);
    // What each view is told, seen before the view answers it.
    std::vector<std::pair<HWND, WPARAM>> told;
    for (HWND view : {firstView, active})
        platform::AddMessageFilter(view, [&](HWND h, UINT msg, WPARAM wp, LPARAM, LRESULT*) {
            if (msg == CDesignView::WM_REALISE_PALETTE)
                told.emplace_back(h, wp);
            return false;
        });
    HWND frame = app->MainFrame()->m_hWnd;
    ::SendMessageW(frame, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(frame), 0);
    const auto activeWp = reinterpret_cast<WPARAM>(active);
    EXPECT_EQ(told.size(), 2u);
    for (const auto& [view, wp] : told)
        EXPECT_EQ(wp, activeWp);

    told.clear();
    EXPECT_EQ(::SendMessageW(frame, WM_QUERYNEWPALETTE, 0, 0), TRUE);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first, active);
}

} // namespace
