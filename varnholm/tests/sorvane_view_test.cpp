#include "varnholm/sorvane_view.h"

#include "sorvane_host.h"
#include "varnholm/cut_plot_setup.h"

#include "felgrin/cutter_utils.h"

namespace {

using V = CSorvaneView;

TEST_F(SorvaneHost, EachSendCommandPassesItsVelmAndAutoFlags) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    struct Case {
        UINT id;
        int velm, autoSend;
    } cases[] = {{V::ID_SEND_TO_CUTTER, 0, 0},
                 {V::ID_SEND_TO_VELM_CUTTER, 1, 0},
                 {V::ID_AUTO_SEND_TO_CUTTER, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        g_calls.sends = 0;
        Command(c.id);
        EXPECT_EQ(g_calls.sends, 1);
        EXPECT_EQ(g_calls.velm, c.velm);
        EXPECT_EQ(g_calls.autoSend, c.autoSend);
        EXPECT_EQ(V::IsBusy(), 0);
        if (c.autoSend)
            break; // the posted finish closes the design
    }
}

TEST_F(SorvaneHost, ASendWhileBusyIsIgnoredAndANewViewKeepsTheFlag) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    int busyInside = -1;
    g_calls.during = [&] {
        // A design window opened while the send pumps messages.
        delete new CSorvaneView;
        busyInside = V::IsBusy();
        Command(V::ID_SEND_TO_CUTTER);
        Command(V::ID_NEW_ROLL);
        Command(V::ID_CUTTER_DESIGN_SIZE);
    };
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(busyInside, 1);
    EXPECT_EQ(g_calls.sends, 1);
    EXPECT_EQ(g_calls.deleteAll, 0);
    EXPECT_EQ(g_calls.designSize, 0);
    EXPECT_EQ(V::IsBusy(), 0);
}

TEST_F(SorvaneHost, NoCutterRunsTheInstallationWhoseCancelLeavesTheFlagClear) {
    ASSERT_NE(Open(), nullptr);
    int setups = 0, busyInside = -1;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        if (id != CCutPlotSetup::IDD)
            return;
        ++setups;
        busyInside = V::IsBusy();
        ::EndDialog(h, IDCANCEL);
    });
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(busyInside, 1);
    EXPECT_EQ(g_calls.sends, 0);
    EXPECT_EQ(V::IsBusy(), 0);
    EXPECT_EQ(CCutterUtils::m_oaCutters.GetSize(), 0);
    // A later send runs once a cutter is there.
    Install(L"Plotter");
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(g_calls.sends, 1);
}

TEST_F(SorvaneHost, NewRollResetsTheMediaManagersAndSetsUpANewOne) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    Command(V::ID_NEW_ROLL);
    EXPECT_EQ(g_calls.deleteAll, 1);
    EXPECT_EQ(g_calls.setup, 1);
    Command(V::ID_CUTTER_DESIGN_SIZE);
    EXPECT_EQ(g_calls.designSize, 1);
}

TEST_F(SorvaneHost, AutomaticSendClosesTheDesignOnceSent) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    Command(V::ID_AUTO_SEND_TO_CUTTER);
    EXPECT_EQ(g_calls.sends, 1);
    Pump();
    EXPECT_EQ(m_tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_hWnd));
}

} // namespace
