// The runner of the helpers with the real EPS helper: a command goes to the spare started at
// the previous one, which is shown by taking the program file away in between.
#include "../helper_runner.h"

#include "platform/system/module.h"
#include "platform/system/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/kelvane-runner-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

// A one-page PDF with a line.
void WritePdf(const std::string& path) {
    std::ofstream(path) << "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                           "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
                           "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 300 100] "
                           "/Contents 4 0 R >> endobj\n"
                           "4 0 obj << /Length 20 >> stream\n0 0 m 300 100 l S\nendstream endobj\n"
                           "trailer << /Root 1 0 R >>\n%%EOF\n";
}

} // namespace

TEST(HelperRunner, TheNextCommandGoesToTheSpareStartedAhead) {
    Folder dir;
    const std::string helper = dir.path + "/pdflibrary-helper";
    std::filesystem::copy_file(
        platform::MapPath(platform::FolderOf(platform::ProgramFilePath()) + L"pdflibrary-helper"),
        helper);
    WritePdf(dir.path + "/line.pdf");
    const CString program = CString::FromUtf8(helper);
    const CString pdf = CString::FromUtf8(dir.path + "/line.pdf");
    platform::ProcessLimits limits;
    limits.addressSpaceBytes = 2048ull << 20;

    HelperRunner runner;
    std::string output;
    HelperRunner::Outcome run = runner.Run(program, {L"info", pdf}, limits, 60000, &output, true);
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(output, "pages 1\n");

    // Only the spare, started before the file went, can answer now.
    std::filesystem::remove(helper);
    const CString eps = CString::FromUtf8(dir.path + "/line.eps");
    run = runner.Run(program, {L"load", pdf, eps}, limits, 60000, &output, true);
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(output, "pages 1\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path + "/line.eps"));

    // Other limits are not the spare's: a fresh start is needed, and there is no program.
    limits.addressSpaceBytes = 1024ull << 20;
    run = runner.Run(program, {L"info", pdf}, limits, 60000, &output, true);
    EXPECT_FALSE(run.ran);
    EXPECT_FALSE(run.ok);
}

TEST(HelperRunner, ASpareGivenNoCommandEndsWithoutRunningOne) {
    Folder dir;
    WritePdf(dir.path + "/line.pdf");
    const CString program = platform::FolderOf(platform::ProgramFilePath()) + L"pdflibrary-helper";
    platform::ChildProcess spare;
    ASSERT_TRUE(spare.Start(program, {L"serve"}, {}, 4096, platform::ChildProcess::Input::Written));
    // A command not ended as the words must be is refused.
    EXPECT_TRUE(spare.WriteInput("info"));
    spare.CloseInput();
    EXPECT_EQ(spare.Wait(60000), platform::ChildProcess::Outcome::Exited);
    EXPECT_NE(spare.ExitCode(), 0);
    EXPECT_EQ(spare.Output(), "");
}
