// What a person met on a desktop besides the road: a second start handing over a file, the help
// file opened by the desktop's opener, a message box over the main window, modifiers pressed a
// few milliseconds before their key, the program told to end or its dialogs closed by the window
// manager while the first start's dialogs are up, and the display going away.
#include "kelvane/tests/desktop/desktop_fixture.h"

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>

namespace desktop {
namespace {

using DesktopFaults = DesktopTest;

TEST_F(DesktopFaults, ASecondStartHandsItsFileOverAndEndsWithZero) {
    const std::filesystem::path first = SampleCopy("first.kdx");
    const std::filesystem::path second = SampleCopy("second.kdx");
    Launch();
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    screen.Key("ctrl+o");
    ASSERT_TRUE(screen.WaitForWindow("Open"));
    screen.Type(first.string());
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - first.kdx"));

    // As a file manager opens a file: the program again, with the file's name.
    std::unique_ptr<ProgramRun> again = NewRun();
    ASSERT_TRUE(again->Start({second.string()}));
    EXPECT_EQ(again->WaitForExit(60s), 0);
    EXPECT_TRUE(screen.WaitForWindow(kMainTitle + " - second.kdx"));
    Shot("handed-over");
}

TEST_F(DesktopFaults, HelpOpensTheRealPathAndAMissingFileIsSaidAboveTheMainWindow) {
    // The desktop's opener is played by a script that writes down what it was given.
    const std::filesystem::path bin = Profile() / "bin", opened = Profile() / "opened.txt";
    std::filesystem::create_directories(bin);
    {
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << opened.string() << "'\n";
    }
    ::chmod((bin / "xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    Prepare().AddEnvironment("PATH=" + bin.string() + ":" + (path ? path : ""));
    ASSERT_TRUE(program->Start());
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());

    // No help file yet: the message says so, on top of the main window.
    screen.Key("alt+h");
    screen.Key("h");
    ShownWindow box;
    ASSERT_TRUE(WaitForSecondWindow(&box));
    Shot("help-missing");
    const std::vector<ShownWindow> shown = screen.Windows();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().id, box.id) << "the message box is not the top window";
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitUntilGone(box.title));

    const std::filesystem::path help = program->DataFolder() / "HELP" / "help_en.pdf";
    std::filesystem::create_directories(help.parent_path());
    std::ofstream(help) << "%PDF-1.4\n";
    screen.Key("alt+h");
    screen.Key("h");
    for (int i = 0; i < 100 && !std::filesystem::exists(opened); ++i)
        std::this_thread::sleep_for(100ms);
    std::ifstream in(opened);
    std::string given;
    std::getline(in, given);
    EXPECT_EQ(given, help.string());
}

TEST_F(DesktopFaults, ModifiersPressedJustBeforeTheirKeyCountForIt) {
    const std::filesystem::path sign = SampleCopy("keys.kdx");
    Launch({sign.string()});
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - keys.kdx"));
    // Ctrl+A as four events a few milliseconds apart: a plain "A" would ask the tool for
    // something to act on and show a message.
    for (int i = 0; i < 10; ++i) {
        screen.Key("ctrl+a", 3ms);
        screen.Key("Escape", 3ms);
    }
    EXPECT_FALSE(WaitForSecondWindow(nullptr, 3s)) << "a key arrived without its Ctrl";
    Shot("after-keys");
}

TEST_F(DesktopFaults, ToldToEndDuringTheFirstStartDialogsItEndsThemAndExitsWithZero) {
    Launch();
    ASSERT_TRUE(screen.WaitForWindow("Detected cutters", nullptr, 60s));
    Shot("first-start-dialogs");
    ASSERT_EQ(::kill(program->Pid(), SIGTERM), 0);
    EXPECT_EQ(program->WaitForExit(60s), 0);
}

TEST_F(DesktopFaults, DialogsClosedByTheWindowManagerEndAsCancelled) {
    Launch();
    ShownWindow dialog;
    ASSERT_TRUE(screen.WaitForWindow("Detected cutters", &dialog, 60s));
    screen.CloseWithManager(dialog);
    ASSERT_TRUE(screen.WaitUntilGone("Detected cutters"));
    ASSERT_TRUE(screen.WaitForWindow("Plotter-Cutter Setup", &dialog));
    screen.CloseWithManager(dialog);
    ASSERT_TRUE(screen.WaitUntilGone("Plotter-Cutter Setup"));
    // No cutter was installed; the program goes on with its main window.
    MainWindow();
    Shot("without-cutter");
}

TEST_F(DesktopFaults, ADisplayThatGoesAwayEndsTheProgram) {
    const std::filesystem::path sign = SampleCopy("gone.kdx");
    Launch({sign.string()});
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    ASSERT_TRUE(screen.WaitForWindow(kMainTitle + " - gone.kdx"));
    screen.KillServer();
    EXPECT_GE(program->WaitForExit(60s), 0) << "the program hangs without its display";
}

} // namespace
} // namespace desktop
