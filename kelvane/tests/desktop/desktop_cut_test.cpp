// The cut road as a person meets it on a desktop: the sample sign sent from its design window to
// the cutter on the file port, a network cutter installed through the Options menu and picked by
// New Roll, the sign sent to it, and a network cutter that never answers: while the driver waits
// for it, the windows keep painting and the cancel dialog ends the send at once. Keys are real X
// input; every step leaves a picture in the build tree (desktop/<test>/).
#include "kelvane/tests/desktop/desktop_fixture.h"
#include "kelvane/tests/port9100_cutter.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace desktop {
namespace {

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class DesktopCut : public DesktopTest {
protected:
    // Picks the cutter whose name starts with the key from the list that asks which.
    void PickCutter(const std::string& key) {
        ASSERT_TRUE(screen.WaitForWindow("Select Cutter"));
        ASSERT_TRUE(screen.WaitUntilActive("Select Cutter"));
        screen.Key(key);
        Shot("select-cutter");
        screen.Key("Return");
    }

    // Output > Send to Cutter, taking the output details as they stand; a key picks the cutter
    // when the program asks which, and the vinyl manager shows before the first cut of a roll.
    void SendToCutter(const std::string& cutter, bool newRoll) {
        // The cutter on the other end may have changed since the last wait (one went, one came):
        // the program catches up first.
        program->WaitUntilIdle();
        screen.Key("alt+o");
        Shot("output-menu");
        screen.Key("Down");
        screen.Key("Return");
        if (!cutter.empty()) {
            ASSERT_NO_FATAL_FAILURE(PickCutter(cutter));
        }
        if (newRoll) {
            ASSERT_TRUE(screen.WaitForWindow("Cutter/Plotter Vinyl Manager"));
            ASSERT_TRUE(screen.WaitUntilActive("Cutter/Plotter Vinyl Manager"));
            Shot("vinyl-manager");
            screen.Key("Return");
        }
        ASSERT_TRUE(screen.WaitForWindow("Output Setup Details"));
        ASSERT_TRUE(screen.WaitUntilActive("Output Setup Details"));
        Shot("output-details");
        screen.Key("Return");
    }

    // A click on the design's tab, the first of the strip under the toolbar.
    void BackToTheDesign() {
        const QString design = kMainTitle + " - sign.kdx";
        const ShownWindow main = MainWindow();
        for (int i = 0; i < 3 && !screen.ActiveTitle().startsWith(design); ++i) {
            screen.Click(main.rect.x() + 37, main.rect.y() + 62);
            screen.WaitUntilActive(design, 3s);
        }
        ASSERT_TRUE(screen.WaitUntilActive(design))
            << "active: " << screen.ActiveTitle().toStdString();
    }

    // Design > Cutters > Install Cutter: a DM/PL cutter at 127.0.0.1, its name typed over the
    // proposed one.
    void InstallNetworkCutter(const std::string& name) {
        screen.Key("alt+d");
        for (const char* key : {"Down", "Down", "Right", "Return"}) {
            std::this_thread::sleep_for(300ms);
            screen.Key(key);
        }
        ASSERT_TRUE(screen.WaitForWindow("Plotter-Cutter Setup"));
        ASSERT_TRUE(screen.WaitUntilActive("Plotter-Cutter Setup"));
        screen.Key("ctrl+a");
        screen.Type(name);
        Shot("network-setup");
        screen.Key("Tab");
        screen.Key("space");
        ASSERT_TRUE(screen.WaitForWindow("Communications Setup"));
        ASSERT_TRUE(screen.WaitUntilActive("Communications Setup"));
        screen.Key("Tab");
        screen.Key("space");
        ASSERT_TRUE(screen.WaitForWindow("Configure IP Address"));
        ASSERT_TRUE(screen.WaitUntilActive("Configure IP Address"));
        screen.Type("127.0.0.1");
        Shot("network-address");
        screen.Key("Return");
        ASSERT_TRUE(screen.WaitUntilGone("Configure IP Address"));
        ASSERT_TRUE(screen.WaitUntilActive("Communications Setup"));
        screen.Key("Return");
        ASSERT_TRUE(screen.WaitUntilGone("Communications Setup"));
        ASSERT_TRUE(screen.WaitUntilActive("Plotter-Cutter Setup"));
        Shot("network-setup-done");
        screen.Key("Return");
        ASSERT_TRUE(screen.WaitUntilGone("Plotter-Cutter Setup"));
        ASSERT_TRUE(screen.WaitUntilActive(kMainTitle));
    }

    // Output > New Roll, on the cutter the key picks.
    void NewRoll(const std::string& cutter) {
        screen.Key("alt+o");
        Shot("output-menu");
        screen.Key("Return");
        ASSERT_NO_FATAL_FAILURE(PickCutter(cutter));
        ASSERT_TRUE(screen.WaitForWindow("Cutter/Plotter Vinyl Manager"));
        ASSERT_TRUE(screen.WaitUntilActive("Cutter/Plotter Vinyl Manager"));
        Shot("new-roll");
        screen.Key("Return");
        ASSERT_TRUE(screen.WaitUntilGone("Cutter/Plotter Vinyl Manager"));
    }
};

TEST_F(DesktopCut, TheSignCutOnTheFilePortAndOnTheNetworkAndAMuteCutterCancelledAtOnce) {
    const std::string golden = Bytes(KELVANE_TEST_DATA "/sample_dmpl.txt");
    ASSERT_FALSE(golden.empty());
    const std::filesystem::path sign = SampleCopy("sign.kdx");
    auto network = std::make_unique<kelvane::tests::Port9100Cutter>();
    std::string why;
    ASSERT_TRUE(network->Listen(why)) << why;
    Launch({sign.string()});
    ASSERT_NO_FATAL_FAILURE(InstallFileCutter());
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle + " - sign.kdx"));
    // A second cutter, on the network, from the menu the frame shows without a design.
    screen.Key("alt+d");
    screen.Key("c");
    ASSERT_TRUE(screen.WaitUntilGone("sign.kdx"));
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle));
    ASSERT_NO_FATAL_FAILURE(InstallNetworkCutter("Network Plotter"));
    screen.Key("ctrl+o");
    ASSERT_TRUE(screen.WaitForWindow("Open"));
    ASSERT_TRUE(screen.WaitUntilActive("Open"));
    screen.Type(sign.string());
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle + " - sign.kdx"));
    Shot("opened");

    // The first send asks which cutter: the one on the file port writes "output.spl" in the
    // data folder.
    ASSERT_NO_FATAL_FAILURE(SendToCutter("V", true));
    ASSERT_TRUE(screen.WaitUntilActive("Tiles"))
        << "active: " << screen.ActiveTitle().toStdString();
    Shot("sent-to-file");
    EXPECT_EQ(Bytes(program->DataFolder() / "output.spl"), golden);
    ASSERT_NO_FATAL_FAILURE(BackToTheDesign());

    // New Roll picks the network cutter, which is asked for its medium on a connection of its
    // own; the job then goes on another.
    ASSERT_NO_FATAL_FAILURE(NewRoll("N"));
    ASSERT_NO_FATAL_FAILURE(BackToTheDesign());
    ASSERT_NO_FATAL_FAILURE(SendToCutter("", false));
    EXPECT_EQ(network->Received(), (std::vector<std::string>{";:ER", golden}));
    Shot("sent-to-network");
    ASSERT_NO_FATAL_FAILURE(BackToTheDesign());
    network.reset();

    // A cutter that takes the connection and never answers.
    kelvane::tests::Port9100Cutter mute(false);
    ASSERT_TRUE(mute.Listen(why)) << why;
    ASSERT_NO_FATAL_FAILURE(SendToCutter("", false));
    ASSERT_TRUE(screen.WaitForWindow("Cutting in Progress", nullptr, 20s));
    // Each picture checks that every window shows its own picture: one that stopped painting
    // while the driver waits would show what lay there before.
    Shot("waiting-for-a-mute-cutter");
    std::this_thread::sleep_for(1s);
    Shot("still-waiting");
    ASSERT_TRUE(screen.WaitUntilActive("Cutting in Progress"));
    screen.Key("Return");
    EXPECT_TRUE(screen.WaitUntilGone("Cutting in Progress", 3s));
    Shot("cancelled");
    EXPECT_GE(mute.Connections(), 1);
    EXPECT_TRUE(mute.WaitUntilClosed(5s)) << "the connection to the mute cutter stays open";

    // The send says it got no medium from the cutter.
    ShownWindow told;
    ASSERT_TRUE(WaitForSecondWindow(&told));
    ASSERT_TRUE(screen.WaitUntilActive(told.title));
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitUntilGone(told.title));

    // Nothing was changed: Design > Exit ends the program without a question.
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle));
    screen.Key("alt+d");
    Shot("design-menu");
    screen.Key("x");
    EXPECT_EQ(program->WaitForExit(60s), 0);
}

} // namespace
} // namespace desktop
