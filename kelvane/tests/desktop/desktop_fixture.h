// A desktop test: the real program on its own X display under a window manager, driven by
// keyboard and mouse events, with a picture of the screen at every step left in the build
// tree for a person to look at. Every picture also checks that each of the program's windows
// reaches the screen with its own picture.
#pragma once

#include "kelvane/tests/desktop/program_run.h"
#include "kelvane/tests/desktop/x_desktop.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace desktop {

// The main window's title starts so.
inline const QString kMainTitle = QStringLiteral("Vanter Ferolin");

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program on the test's profile (fresh unless an earlier run used it).
    ProgramRun& Launch(const std::vector<std::string>& args = {});
    // The same, not started yet (for more of its environment).
    ProgramRun& Prepare();
    // Another run of the program on the same display and profile (a second start).
    std::unique_ptr<ProgramRun> NewRun();
    // The first start's cutter installation, as a person does it with the keyboard: a DM/PL
    // cutter on the file port. Ends with the main window shown.
    void InstallFileCutter();
    // Takes a picture of the screen as name.png and checks every window of the program that
    // is not covered by another: its screen area shows its own picture, and is not black.
    void Shot(const std::string& name);
    // Design > Exit with a change unsaved: the question about it is answered No, and the
    // program ends with 0.
    void ExitAnsweringNo();
    // The main window, waited for.
    ShownWindow MainWindow();
    // A window of the program other than the main window and those whose titles hold one of
    // besides appeared (a dialog, a message box).
    bool WaitForSecondWindow(ShownWindow* found, std::chrono::milliseconds bound = 20s,
                             const QStringList& besides = {});

    std::filesystem::path Profile() const { return m_profile; }
    // A copy of the sample sign in the profile under this name.
    std::filesystem::path SampleCopy(const std::string& name);

    XDesktop screen;
    std::unique_ptr<ProgramRun> program;

private:
    std::filesystem::path m_profile, m_shots;
    int m_shotCount = 0;
};

} // namespace desktop
