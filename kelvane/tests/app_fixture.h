// The program on a temporary home and hive: the application object started with a command
// line, message boxes answered, timers on an injected clock.
#pragma once

#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "platform/system/clock.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with these arguments (after the program name).
    bool Start(std::vector<std::string> args = {});
    // Destroys the main frame and ends the application as the program's exit does.
    void Stop();
    int DesignCount() const;
    // Dispatches what is queued (bounded).
    void Pump();
    // Moves the injected clock on and fires the timers that fall due.
    void Advance(ULONGLONG ms);
    // The folder of the recovery copies (the "AutoSaveDir" parameter, made).
    std::filesystem::path RecoveryDir() const { return m_recover; }
    // A new design saved through the running program's design template at the path, then
    // closed.
    void SaveDesign(const std::filesystem::path& path);
    // Ends the program and starts a fresh one with these arguments.
    void Restart(std::vector<std::string> args = {});
    // Starts the program (its offer to install a cutter declined) and installs a DM/PL cutter
    // named "Plotter" on the file port through the program's own code, as an operator would.
    void StartWithFilePortCutter();
    // Closes the main window as the operator does and runs the program's message loop to its
    // end: the exit code, or -1 when the window stayed open (a question declined the close).
    int CloseProgram();

    SettingsSandbox box;
    platform::ManualClock clock{100000};
    std::unique_ptr<platform::ScopedClock> scopedClock;
    platform::MessageBoxResponder boxes;
    std::unique_ptr<CVanterFerolinApp> app;

private:
    std::filesystem::path m_recover;
    bool m_ended = false;
};
