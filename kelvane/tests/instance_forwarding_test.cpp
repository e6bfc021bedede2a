// Second starts, as two real processes: the program under test holds the instance lock and
// listens; the real program started again hands over its argument and ends.
#include "design/design_page.h"
#include "kelvane/app/import_readers.h"
#include "kelvane/app/instance_forwarding.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/core/file.h"
#include "platform/system/instance_channel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string>* g_imported = nullptr;
std::function<void()> g_duringImport;

int StubVector(CDesignPage*, CFile* file, UINT, CArticleList*) {
    g_imported->push_back(file->GetFilePath().ToUtf8());
    if (g_duringImport)
        g_duringImport();
    return 1;
}

class SecondStart : public AppFixture {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kvsecond-XXXXXX";
        m_runtime = mkdtemp(tmpl);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_oldRuntime = old ? old : "";
        setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
        AppFixture::SetUp();
        g_imported = &imported;
        FnCreateInstanceMutex();
        ASSERT_TRUE(FnInstanceMutexHeld());
        ASSERT_TRUE(Start({"a", "b"})); // no design of its own
        m_elsewhere = std::filesystem::path(box.Path("elsewhere"));
        std::filesystem::create_directories(m_elsewhere);
    }
    void TearDown() override {
        AppFixture::TearDown();
        FnCloseInstanceMutex();
        g_imported = nullptr;
        g_duringImport = nullptr;
        setenv("XDG_RUNTIME_DIR", m_oldRuntime.c_str(), 1);
        std::filesystem::remove_all(m_runtime);
    }

    // Starts the real program in the folder with the arguments and lets this copy answer
    // until it ended; its exit status, or -1 when it had to be killed.
    int RunSecondStart(const std::filesystem::path& folder, std::vector<std::string> args,
                       bool answer = true) {
        const std::string program = std::string(KELVANE_BINARY_DIR) + "/bin/kelvane";
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        // A guard against a hang, not a measure: the wait the program allows itself is 10 s.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > giveUp) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            // Only the timers: a paint would load the fonts for nothing.
            if (answer)
                Advance(kelvane::kInstancePollMs);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (POSITION pos = app->DesignTemplate()->GetFirstDocPosition(); pos;)
            paths.push_back(app->DesignTemplate()->GetNextDoc(pos)->GetPathName().ToUtf8());
        return paths;
    }

    std::vector<std::string> imported;
    std::filesystem::path m_elsewhere;

private:
    std::string m_runtime;
    std::string m_oldRuntime;
};

TEST_F(SecondStart, ARelativePathIsOpenedByTheRunningCopyAndTheSecondEnds) {
    const std::filesystem::path design = m_elsewhere / "sign.kdx";
    SaveDesign(design);
    ASSERT_EQ(DesignCount(), 0);
    EXPECT_NE(RunSecondStart(m_elsewhere, {"sign.kdx"}), -1);
    // Made absolute where it was given, not in this copy's folder.
    EXPECT_EQ(Paths(), std::vector<std::string>{design.string()});
    CString stored;
    QvResetAppParamCache();
    QvGetAppParam(L"Import path", stored);
    EXPECT_EQ(stored.ToUtf8(), design.string());
}

// The shell's open command for the running copy arrives as such a second start and takes the
// road of OnDDECommand: a design already open is brought forward, not opened again.
TEST_F(SecondStart, TheSameFileHandedOverTwiceIsOpenedOnce) {
    const std::filesystem::path design = m_elsewhere / "sign.kdx";
    SaveDesign(design);
    EXPECT_NE(RunSecondStart(m_elsewhere, {"sign.kdx"}), -1);
    EXPECT_NE(RunSecondStart(m_elsewhere, {design.string()}), -1);
    EXPECT_EQ(Paths(), std::vector<std::string>{design.string()});
}

TEST_F(SecondStart, ImportAiInCapitalsTakesTheExchangeFileUnderTheHomeFolder) {
    kelvane::CScopedImportReaders readers({&StubVector, kelvane::DefaultImportReaders().cutterFile,
                                           kelvane::DefaultImportReaders().panelFile});
    CString home;
    QvHomePath(L"", home);
    const std::filesystem::path exchange = std::filesystem::path(home.ToUtf8()) / "Temp";
    std::filesystem::create_directories(exchange);
    std::ofstream(exchange / "Import.AI") << "%!PS";
    std::ofstream(m_elsewhere / "IMPORT.AI") << "%!PS";
    EXPECT_NE(RunSecondStart(m_elsewhere, {"IMPORT.AI"}), -1);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(std::filesystem::path(imported[0]).lexically_normal(),
              (exchange / "Import.AI").lexically_normal());
    EXPECT_EQ(DesignCount(), 1);
}

TEST_F(SecondStart, ABusyCopyDropsTheForwardedFileAndTwoArgumentsOnlyEnd) {
    SaveDesign(m_elsewhere / "sign.kdx");
    kelvane::CScopedImportReaders readers({&StubVector, kelvane::DefaultImportReaders().cutterFile,
                                           kelvane::DefaultImportReaders().panelFile});
    // While the first forwarded import runs, another start arrives: it is answered, not opened.
    int nested = -2;
    g_duringImport = [&] {
        g_duringImport = nullptr;
        nested = RunSecondStart(m_elsewhere, {"sign.kdx"});
    };
    CString home;
    QvHomePath(L"", home);
    std::filesystem::create_directories(std::filesystem::path(home.ToUtf8()) / "Temp");
    std::ofstream(std::filesystem::path(home.ToUtf8()) / "Temp" / "Import.AI") << "%!PS";
    EXPECT_NE(RunSecondStart(m_elsewhere, {"Import.ai"}), -1);
    EXPECT_NE(nested, -1);
    EXPECT_EQ(imported.size(), 1u);
    EXPECT_EQ(DesignCount(), 1); // the import only
    EXPECT_NE(RunSecondStart(m_elsewhere, {"sign.kdx", "other.kdx"}), -1);
    EXPECT_EQ(DesignCount(), 1);
}

TEST_F(SecondStart, AStoredPathLongerThanAKilobyteIsReadWhole) {
    std::filesystem::path folder = m_elsewhere;
    for (int i = 0; i < 6; ++i)
        folder /= std::string(200, char('a' + i));
    std::filesystem::create_directories(folder);
    const std::filesystem::path design = folder / "sign.kdx";
    ASSERT_GT(design.string().size(), 1024u);
    SaveDesign(design);
    QvSetAppParam(L"Import path", CString(design.string()));
    app->MainFrame()->SendMessage(kelvane::WM_IMPORT_PATH, 0, 0);
    EXPECT_EQ(Paths(), std::vector<std::string>{design.string()});
}

TEST_F(SecondStart, ACopyThatNeverAnswersLetsTheSecondEndAfterItsWait) {
    // This copy takes the requests but never gets round to them.
    EXPECT_NE(RunSecondStart(m_elsewhere, {"sign.kdx"}, false), -1);
    EXPECT_EQ(DesignCount(), 0);
}

} // namespace
