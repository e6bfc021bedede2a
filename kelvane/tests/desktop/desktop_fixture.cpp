#include "kelvane/tests/desktop/desktop_fixture.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace desktop {

namespace {

std::string TestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

} // namespace

void DesktopTest::SetUp() {
    char folder[] = "/tmp/kelvane-desktop-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    m_profile = folder;
    m_shots = std::filesystem::path(TEST_BINARY_DIR) / "desktop" / TestName();
    std::filesystem::remove_all(m_shots);
    std::filesystem::create_directories(m_shots);
    if (!screen.Start())
        GTEST_SKIP() << screen.Why();
}

void DesktopTest::TearDown() {
    if (program && program->Running()) {
        Shot("left-running");
        program->Kill();
    }
    program.reset();
    screen.Stop();
    std::error_code ec;
    // What the program said stays with the pictures.
    std::filesystem::copy_file(m_profile / "program.log", m_shots / "program.log",
                               std::filesystem::copy_options::overwrite_existing, ec);
    std::filesystem::remove_all(m_profile, ec);
}

ProgramRun& DesktopTest::Launch(const std::vector<std::string>& args) {
    Prepare();
    EXPECT_TRUE(program->Start(args));
    return *program;
}

ProgramRun& DesktopTest::Prepare() {
    program = NewRun();
    screen.SetSettle([this] {
        if (program)
            program->WaitUntilIdle();
    });
    return *program;
}

std::unique_ptr<ProgramRun> DesktopTest::NewRun() {
    auto run = std::make_unique<ProgramRun>(m_profile, screen.Name());
    run->WatchAlongside(screen.Processes());
    // The keyboard library strndup()s counted names without a terminator, which strict string
    // checks take for an overflow; what the display libraries keep for good is not a leak.
    const char* asan = std::getenv("ASAN_OPTIONS");
    run->AddEnvironment(std::string("ASAN_OPTIONS=") + (asan ? asan : "") +
                        ":strict_string_checks=0");
    run->AddEnvironment("LSAN_OPTIONS=suppressions=" KELVANE_LSAN_DISPLAY);
    return run;
}

std::filesystem::path DesktopTest::SampleCopy(const std::string& name) {
    const std::filesystem::path to = m_profile / name;
    std::filesystem::copy_file(KELVANE_SAMPLE, to,
                               std::filesystem::copy_options::overwrite_existing);
    return to;
}

ShownWindow DesktopTest::MainWindow() {
    ShownWindow main;
    EXPECT_TRUE(screen.WaitForWindow(kMainTitle, &main)) << "no main window";
    return main;
}

bool DesktopTest::WaitForSecondWindow(ShownWindow* found, std::chrono::milliseconds bound,
                                      const QStringList& besides) {
    const auto end = std::chrono::steady_clock::now() + bound;
    auto known = [&besides](const QString& title) {
        for (const QString& part : besides)
            if (title.contains(part))
                return true;
        return false;
    };
    do {
        for (const ShownWindow& w : screen.Windows())
            if (w.wmClass == "kelvane" && !w.overlay && !w.title.startsWith(kMainTitle) &&
                !known(w.title)) {
                if (found)
                    *found = w;
                return true;
            }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

void DesktopTest::InstallFileCutter() {
    // The installation opens with the search for cutters on top: nothing is found here.
    ASSERT_TRUE(screen.WaitForWindow("Detected cutters", nullptr, 60s));
    ASSERT_TRUE(screen.WaitUntilActive("Detected cutters"));
    Shot("install-detected-cutters");
    screen.Key("Escape");
    ASSERT_TRUE(screen.WaitUntilGone("Detected cutters"));
    ShownWindow setup;
    ASSERT_TRUE(screen.WaitForWindow("Plotter-Cutter Setup", &setup));
    ASSERT_TRUE(screen.WaitUntilActive("Plotter-Cutter Setup"))
        << "active: " << screen.ActiveTitle().toStdString();
    Shot("install-setup");
    // A click in the name field (7 by 14 pixels to 4 by 8 dialog units, the display's dialog
    // font here), as a person makes sure where typing goes; the next control is "Manual input".
    screen.Click(setup.rect.x() + 213, setup.rect.y() + 30);
    program->WaitUntilIdle();
    screen.Key("Tab");
    program->WaitUntilIdle();
    screen.Key("space");
    // The port settings follow, after a message when the printer queues cannot be listed: what
    // comes up decides the next key, however long it takes to come.
    const auto end = std::chrono::steady_clock::now() + 60s;
    for (;;) {
        ShownWindow next;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        ASSERT_TRUE(WaitForSecondWindow(&next, std::max(left, 0ms), {"Plotter-Cutter Setup"}))
            << "no port settings; active: " << screen.ActiveTitle().toStdString();
        if (next.title.contains("Communications Setup"))
            break;
        ASSERT_TRUE(screen.WaitUntilActive(next.title));
        Shot("install-message");
        screen.Key("Return");
        ASSERT_TRUE(screen.WaitUntilGone(next.title));
    }
    ASSERT_TRUE(screen.WaitUntilActive("Communications Setup"));
    // The port list has the focus: "F" picks the file port.
    screen.Key("f");
    Shot("install-file-port");
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitUntilGone("Communications Setup"));
    ASSERT_TRUE(screen.WaitUntilActive("Plotter-Cutter Setup"))
        << "active: " << screen.ActiveTitle().toStdString();
    Shot("install-setup-file");
    screen.Key("Return");
    ASSERT_TRUE(screen.WaitUntilGone("Plotter-Cutter Setup"));
    MainWindow();
    ASSERT_TRUE(screen.WaitUntilActive(kMainTitle))
        << "active: " << screen.ActiveTitle().toStdString();
}

void DesktopTest::ExitAnsweringNo() {
    screen.Key("alt+d");
    screen.Key("x");
    ShownWindow question;
    ASSERT_TRUE(WaitForSecondWindow(&question));
    ASSERT_TRUE(screen.WaitUntilActive(question.title));
    Shot("exit-question");
    screen.Key("alt+n");
    EXPECT_EQ(program->WaitForExit(60s), 0);
}

void DesktopTest::Shot(const std::string& name) {
    // The program paints at its own pace: a moment for what the last input changed.
    std::this_thread::sleep_for(400ms);
    const QImage shown = screen.Screen();
    ASSERT_FALSE(shown.isNull()) << "no screen picture";
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++m_shotCount);
    shown.save(QString::fromStdString((m_shots / (prefix + name + ".png")).string()));
    const std::vector<ShownWindow> windows = screen.Windows();
    for (size_t i = 0; i < windows.size(); ++i) {
        const ShownWindow& w = windows[i];
        if (w.wmClass != "kelvane")
            continue;
        // What lies above (its frame included) is left out of the comparison.
        const QRect area = w.rect.intersected(shown.rect());
        if (area.isEmpty())
            continue;
        QImage onScreen = shown.copy(area);
        QImage own = screen.Picture(w).copy(area.translated(-w.rect.topLeft()));
        QPainter a(&onScreen), b(&own);
        for (size_t j = i + 1; j < windows.size(); ++j) {
            const QRect above = windows[j].rect.adjusted(-8, -32, 8, 8).translated(-area.topLeft());
            a.fillRect(above, Qt::magenta);
            b.fillRect(above, Qt::magenta);
        }
        a.end();
        b.end();
        EXPECT_GT(SameFraction(onScreen, own), 0.97)
            << name << ": the window \"" << w.title.toStdString()
            << "\" does not show its own picture on the screen";
        EXPECT_FALSE(MostlyBlack(onScreen))
            << name << ": the window \"" << w.title.toStdString() << "\" shows black";
    }
}

} // namespace desktop
