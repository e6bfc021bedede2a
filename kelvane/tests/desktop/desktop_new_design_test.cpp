// New from the Design menu as a person uses it: each new design gets a fresh name ("DesignN")
// and lives under the templates folder of the program's home until it is saved elsewhere;
// saved as it is, it lands there. Keys are real X input; every step leaves a picture in the
// build tree (desktop/<test>/).
#include "kelvane/tests/desktop/desktop_fixture.h"

#include <thread>

namespace desktop {
namespace {

using DesktopNewDesign = DesktopTest;

// Whether a window of exactly this title shows within the bound (a title that only begins so,
// "…*" for a modified design, does not count).
bool WaitForTitle(const XDesktop& screen, const QString& title,
                  std::chrono::milliseconds bound = 30s) {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        for (const ShownWindow& w : screen.Windows())
            if (w.title == title)
                return true;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

TEST_F(DesktopNewDesign, NewFromTheDesignMenuIsNamedAfreshUnderTheTemplatesFolder) {
    const std::filesystem::path templates = Profile() / "data" / "kelvane" / "Templates";
    Launch();
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    Shot("first-start");

    // Design > New: the design is Design1, not yet saved.
    screen.Key("alt+d");
    Shot("design-menu");
    screen.Key("n");
    const QString first = kMainTitle + " - Design1.KDX";
    ASSERT_TRUE(screen.WaitForWindow(first + "*"))
        << "active: " << screen.ActiveTitle().toStdString();
    ASSERT_TRUE(screen.WaitUntilActive(first + "*"));
    Shot("new-design");
    EXPECT_FALSE(std::filesystem::exists(templates / "Design1.KDX"));

    // Design > Save: the save dialog confirms the fresh name first, in the templates folder of
    // the home; taken as proposed, the design goes there.
    screen.Key("alt+d");
    screen.Key("s");
    ASSERT_TRUE(screen.WaitForWindow("Save As"));
    ASSERT_TRUE(screen.WaitUntilActive("Save As"));
    Shot("save-as-proposed");
    screen.Key("Return");
    ASSERT_TRUE(WaitForTitle(screen, first)) << "active: " << screen.ActiveTitle().toStdString();
    program->WaitUntilIdle();
    Shot("saved");
    EXPECT_TRUE(std::filesystem::is_regular_file(templates / "Design1.KDX"))
        << "nothing at " << (templates / "Design1.KDX").string();

    // The next new design has the next name.
    screen.Key("alt+d");
    screen.Key("n");
    const QString second = kMainTitle + " - Design2.KDX*";
    ASSERT_TRUE(screen.WaitForWindow(second)) << "active: " << screen.ActiveTitle().toStdString();
    ASSERT_TRUE(screen.WaitUntilActive(second));
    Shot("second-new-design");

    // Design > Exit: the question about the unsaved one is answered No.
    ASSERT_NO_FATAL_FAILURE(ExitAnsweringNo());
    EXPECT_FALSE(std::filesystem::exists(templates / "Design2.KDX"));
}

} // namespace
} // namespace desktop
