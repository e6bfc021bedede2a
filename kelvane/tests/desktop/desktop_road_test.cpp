// The program as a person meets it on a desktop: the first start's cutter installation, a design
// opened through the open dialog, selected, rotated, the rotation undone and redone, saved under
// a new name through the save dialog, closed, opened again from the recent files and the
// program left through Exit, answering its question about the change. Keys and clicks are real
// X input; every step leaves a picture in the build tree (desktop/<test>/).
#include "kelvane/tests/desktop/desktop_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

namespace desktop {
namespace {

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

using DesktopRoad = DesktopTest;

TEST_F(DesktopRoad, OpenEditSaveCloseReopenAndExitWithTheKeyboard) {
    const std::filesystem::path sign = SampleCopy("road.kdx");
    const std::filesystem::path turned = Profile() / "turned.kdx";
    Launch();
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    Shot("first-start");

    // Design > Open: the path typed into the dialog's name field.
    screen.Key("alt+d");
    Shot("design-menu");
    screen.Key("o");
    ShownWindow open;
    ASSERT_TRUE(screen.WaitForWindow("Open", &open));
    ASSERT_TRUE(screen.WaitUntilActive("Open"));
    Shot("open-dialog");
    screen.Type(sign.string());
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - road.kdx"));
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle + " - road.kdx"));
    Shot("opened");

    // Everything selected, then Edit > Rotate with the angle typed: the rotate tool takes it.
    screen.Key("ctrl+a");
    Shot("selected");
    screen.Key("alt+e");
    Shot("edit-menu");
    screen.Key("r");
    screen.Type("30");
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - road.kdx*"));
    Shot("rotated");
    screen.Key("ctrl+z");
    Shot("undone");
    screen.Key("ctrl+y");
    Shot("redone");

    // Design > Save As: the new name typed over the proposed one.
    screen.Key("alt+d");
    screen.Key("a");
    ASSERT_TRUE(screen.WaitForWindow("Save As"));
    ASSERT_TRUE(screen.WaitUntilActive("Save As"));
    Shot("save-as-dialog");
    screen.Key("ctrl+a");
    screen.Type(turned.string());
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - turned.kdx"));
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle + " - turned.kdx"));
    Shot("saved-as");
    ASSERT_TRUE(std::filesystem::exists(turned));
    EXPECT_NE(Bytes(turned), Bytes(sign)) << "the rotation was not saved";
    EXPECT_EQ(Bytes(sign), Bytes(KELVANE_SAMPLE)) << "the design opened was changed";

    // Design > Close, then the recent file brings it back.
    screen.Key("alt+d");
    screen.Key("c");
    ASSERT_TRUE(screen.WaitUntilGone("turned.kdx"));
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle));
    Shot("closed");
    screen.Key("alt+d");
    Shot("recent-files");
    screen.Key("1");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - turned.kdx"));
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle + " - turned.kdx"));
    Shot("reopened");

    // With a design open and nothing happening, the program sleeps.
    std::this_thread::sleep_for(2s);
    const double before = CpuSeconds(program->Pid());
    std::this_thread::sleep_for(10s);
    const double idle = CpuSeconds(program->Pid()) - before;
    std::printf("idle: %.2f CPU seconds in 10 s\n", idle);
    EXPECT_LT(idle, 0.2) << "CPU seconds used in 10 s of idle";

    // A change, then Design > Exit: the question about it is answered No.
    const std::string saved = Bytes(turned);
    screen.Key("ctrl+a");
    screen.Key("Delete");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - turned.kdx*"));
    ASSERT_NO_FATAL_FAILURE(ExitAnsweringNo());
    EXPECT_EQ(Bytes(turned), saved) << "the answer No saved the design";
}

} // namespace
} // namespace desktop
