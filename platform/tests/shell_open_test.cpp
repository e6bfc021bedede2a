#include "platform/system/shell_open.h"

#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace {

// A stand-in opener on a private PATH: it notes what it was given and ends as told.
class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        bin = box.Path("bin");
        std::filesystem::create_directories(bin);
        box.Set("PATH", bin);
    }
    void Script(const std::string& name, const std::string& body) {
        const std::string path = bin + "/" + name;
        SettingsSandbox::Write(path, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
    }
    // A detached program runs on its own: wait (bounded) for what it leaves.
    static bool Appears(const std::string& path) {
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return std::filesystem::exists(path);
    }
    SettingsSandbox box;
    std::string bin;
};

TEST_F(ShellOpenTest, ADocumentGoesToTheOpenerWhoseErrorIsAFailure) {
    const std::string seen = box.Path("seen");
    const std::string doc = box.Path("help en.pdf");
    SettingsSandbox::Write(doc, "%PDF");
    Script("xdg-open", "printf '%s' \"$1\" > '" + seen + "'; exit ${OPEN_FAILS:-0}");
    CString error;
    EXPECT_TRUE(platform::ShellOpen(CString(doc), &error)) << error.ToUtf8();
    EXPECT_EQ(SettingsSandbox::Read(seen), doc);
    EXPECT_GT(ShellExecuteOpen(CString(doc)), 32);
    box.Set("OPEN_FAILS", "4");
    EXPECT_FALSE(platform::ShellOpen(CString(doc), &error));
    EXPECT_LE(ShellExecuteOpen(CString(doc)), 32);
    std::filesystem::remove(bin + "/xdg-open");
    EXPECT_FALSE(platform::ShellOpen(CString(doc), &error));
    EXPECT_FALSE(platform::ShellOpen(CString(), &error));
}

TEST_F(ShellOpenTest, AProgramIsStartedOnItsOwnAndAMissingOneIsNot) {
    const std::string mark = box.Path("ran");
    Script("after-exit", ": > '" + mark + "'");
    EXPECT_TRUE(platform::ShellOpen(CString(bin + "/after-exit")));
    EXPECT_TRUE(Appears(mark));
    std::filesystem::remove(mark);
    EXPECT_TRUE(platform::SpawnDetached(L"after-exit", {}));
    EXPECT_TRUE(Appears(mark));
    CString error;
    EXPECT_FALSE(platform::SpawnDetached(L"no-such-program", {}, &error));
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_TRUE(platform::FindOnPath(L"no-such-program").IsEmpty());
}

} // namespace
