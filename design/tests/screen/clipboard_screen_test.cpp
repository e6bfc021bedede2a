// Under Xvfb: articles copied in one process are pasted in another through the system
// clipboard. The test starts a second run of itself for the paste and keeps its own display
// answering the clipboard until that run ends.
#include "design/select_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/display.h"
#include "platform/windowing/clipboard.h"

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* kChildMark = "KELVANE_PASTE_CHILD";
// Only a guard against a run that never ends: 2 minutes of 10 ms waits.
constexpr int kMaxWaits = 12000;

class ClipboardScreen : public OnDisplay<SelectToolHost> {
protected:
    void SetUp() override {
        OnDisplay<SelectToolHost>::SetUp();
        view->Abilities() |= CSelectTool::kAbilityEdit;
    }
    void TearDown() override {
        platform::ResetClipboard();
        OnDisplay<SelectToolHost>::TearDown();
    }
    int TopLevelCount() {
        int n = 0;
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
            ++n;
        return n;
    }
};

// The second run: the display took the other process's copy when it started.
TEST_F(ClipboardScreen, PastesWhatAnotherProcessCopied) {
    if (!std::getenv(kChildMark))
        GTEST_SKIP() << "run by ACopyInOneProcessPastesInAnother";
    ASSERT_TRUE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));
    Command(CSelectTool::ID_EDIT_PASTE);
    ASSERT_EQ(TopLevelCount(), 2);
    const CWindow a = static_cast<CArticle*>(page->RootArticle()->GetFirstChild())->Extents(0);
    EXPECT_EQ(a.x2 - a.x1, 10000);
    EXPECT_EQ(a.y2 - a.y1, 20000);
}

TEST_F(ClipboardScreen, ACopyInOneProcessPastesInAnother) {
    if (std::getenv(kChildMark))
        GTEST_SKIP() << "the second run only pastes";
    CArticle* a = Path(CWindow(20000, 20000, 30000, 40000));
    if (!a)
        GTEST_SKIP() << "the curve library is not linked";
    CArticle* b = Path(CWindow(40000, 20000, 50000, 30000));
    page->AddObjectSelection(a, 1, 1);
    page->AddObjectSelection(b, 1, 1);
    Command(CSelectTool::ID_EDIT_COPY);
    platform::display::Flush();

    std::string self(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    ASSERT_GT(n, 0);
    self.resize(size_t(n));
    std::string filter = "--gtest_filter=ClipboardScreen.PastesWhatAnotherProcessCopied";
    char* args[] = {self.data(), filter.data(), nullptr};
    ::setenv(kChildMark, "1", 1);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, self.c_str(), nullptr, nullptr, args, environ);
    ::unsetenv(kChildMark);
    ASSERT_EQ(spawned, 0);
    int status = 0, waits = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (++waits > kMaxWaits) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            FAIL() << "the pasting run did not end";
        }
        platform::display::Flush(); // answers the other run's requests for the clipboard
        ::usleep(10000);
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
