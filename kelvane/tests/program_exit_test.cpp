// The program itself, started as a person starts it (on the offscreen display, with a cutter
// on the file port so that no installation is offered), told from outside to end: it closes
// its window as the operator would and exits with 0.
#include "kelvane/app/workspace_settings.h"
#include "kelvane/tests/app_fixture.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

class ProgramExit : public AppFixture {
protected:
    void TearDown() override {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        AppFixture::TearDown();
    }

    // Starts the program with this environment added to the test's own, and these arguments.
    bool Launch(const std::vector<std::string>& extra, std::vector<std::string> args = {}) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            bool replaced = false;
            for (const std::string& x : extra)
                replaced =
                    replaced || entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
            if (!replaced)
                env.push_back(entry);
        }
        env.insert(env.end(), extra.begin(), extra.end());
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = KELVANE_PROGRAM;
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        return ::posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) ==
               0;
    }

    // Whether a file ending in suffix appeared in the folder before the time ran out.
    static bool Appears(const std::filesystem::path& folder, const std::string& suffix,
                        std::chrono::seconds bound) {
        const auto end = std::chrono::steady_clock::now() + bound;
        while (std::chrono::steady_clock::now() < end) {
            std::error_code ec;
            for (const auto& f : std::filesystem::directory_iterator(folder, ec))
                if (f.path().string().ends_with(suffix))
                    return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // The exit status, or -1 when the program was still running after the bound.
    int WaitForExit(std::chrono::seconds bound) {
        const auto end = std::chrono::steady_clock::now() + bound;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }

    pid_t m_pid = -1;
};

TEST_F(ProgramExit, TheRunningProgramToldToEndClosesAndExitsWithZero) {
    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());
    Stop();

    // Its own runtime folder: the instance lock and channel of no other run are seen there.
    const std::filesystem::path runtime = box.Path("runtime");
    std::filesystem::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    ASSERT_TRUE(Launch({"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.string(),
                        "LSAN_OPTIONS=suppressions=" KELVANE_LSAN_DISPLAY}));
    // The channel for second starts opens once the main window stands.
    ASSERT_TRUE(Appears(runtime, ".sock", 120s)) << "the program did not come up";
    CString placement;
    ASSERT_FALSE(kelvane::ReadWorkspaceString(L"Settings", L"WindowPos", placement));
    ASSERT_EQ(::kill(m_pid, SIGTERM), 0);
    EXPECT_EQ(WaitForExit(120s), 0);
    // It went through the window's close: the placement is kept for the next start.
    platform::ResetSettingsStore();
    EXPECT_TRUE(kelvane::ReadWorkspaceString(L"Settings", L"WindowPos", placement));
}

// Nobody sits at a run without a display or one that takes a picture: the imported design's
// save question at close is declined, so nothing is written and no design of its name is
// replaced, and the run ends (by itself without a display, when told to with a picture).
TEST_F(ProgramExit, UnattendedRunsOnAnImportDeclineTheSaveQuestionAndEnd) {
    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());
    Stop();
    const std::filesystem::path designs = box.Path("home/Designs");
    std::filesystem::create_directories(designs);
    SettingsSandbox::Write((designs / "Sign.KDX").string(), "the shop's own sign");
    const std::string eps = box.Path("Sign.eps");
    SettingsSandbox::Write(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 72 72\n"
                                "%%EndComments\n%%EndSetup\n0 0 m 72 0 l 72 72 l S\n");
    const std::filesystem::path runtime = box.Path("runtime");
    std::filesystem::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    const std::string env[] = {"XDG_RUNTIME_DIR=" + runtime.string(),
                               "LSAN_OPTIONS=suppressions=" KELVANE_LSAN_DISPLAY};
    const std::string png = box.Path("shot.png");
    for (bool picture : {false, true}) {
        SCOPED_TRACE(picture ? "taking a picture" : "without a display");
        if (picture) {
            ASSERT_TRUE(Launch(
                {"QT_QPA_PLATFORM=offscreen", "KELVANE_SCREENSHOT=" + png, env[0], env[1]}, {eps}));
            ASSERT_TRUE(Appears(box.root(), "shot.png", 120s)) << "no picture was taken";
            ASSERT_EQ(::kill(m_pid, SIGTERM), 0);
        } else {
            ASSERT_TRUE(Launch({"KELVANE_HEADLESS=1", env[0], env[1]}, {eps}));
        }
        EXPECT_EQ(WaitForExit(120s), 0);
        std::vector<std::filesystem::path> kept;
        for (const auto& f : std::filesystem::directory_iterator(designs))
            kept.push_back(f.path().filename());
        EXPECT_EQ(kept, std::vector<std::filesystem::path>{"Sign.KDX"});
        std::ifstream in(designs / "Sign.KDX", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the shop's own sign");
    }
}

} // namespace
