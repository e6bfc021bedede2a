#include "platform/core/replace_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ReplaceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "kelvane-replace-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.insert(e.path().filename().string());
        return names;
    }
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static std::vector<BYTE> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
    std::string m_dir;
};

TEST_F(ReplaceFileTest, ReplacesTheFileAndKeepsItsPermissions) {
    std::ofstream(Path("Logo.KDX")) << "old";
    ::chmod(Path("Logo.KDX").c_str(), 0640);
    std::vector<platform::ReplaceStep> steps;
    EXPECT_EQ(platform::ReplaceFile(Path("Logo.KDX"), Bytes("new"),
                                    [&](platform::ReplaceStep s) { steps.push_back(s); }),
              0);
    EXPECT_EQ(Text(Path("Logo.KDX")), "new");
    struct stat st;
    ASSERT_EQ(::stat(Path("Logo.KDX").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    using S = platform::ReplaceStep;
    EXPECT_EQ(steps, (std::vector<S>{S::TemporaryCreated, S::TemporaryWritten, S::ReadyToRename,
                                     S::Renamed}));
    EXPECT_EQ(Names(), std::set<std::string>{"Logo.KDX"});
}

TEST_F(ReplaceFileTest, AnAbandonedReplacementLeavesTheOldFileAndNoTemporary) {
    std::ofstream(Path("Logo.KDX")) << "old";
    EXPECT_THROW(platform::ReplaceFile(Path("Logo.KDX"), Bytes("new"),
                                       [](platform::ReplaceStep s) {
                                           if (s == platform::ReplaceStep::ReadyToRename)
                                               throw std::runtime_error("stop");
                                       }),
                 std::runtime_error);
    EXPECT_EQ(Text(Path("Logo.KDX")), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"Logo.KDX"});
    EXPECT_NE(platform::ReplaceFile(m_dir + "/missing/Logo.KDX", Bytes("new")), 0);
}

// Temporaries of the same file that no writer holds are left by a killed save; one that a
// writer holds locked is in use, and other files' temporaries are theirs.
TEST_F(ReplaceFileTest, StaleTemporariesOfTheSameFileAreRemoved) {
    for (const char* name : {".Logo.KDX.a1B2c3", ".Logo.KDX.held99", ".Sign.KDX.a1B2c3",
                             ".Logo.KDX.toolong7", "Logo.KDX.a1B2c3"})
        std::ofstream(Path(name)) << "x";
    int held = ::open(Path(".Logo.KDX.held99").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // A lock is per open file: this process's other descriptor cannot take it either.
    EXPECT_EQ(platform::ReplaceFile(Path("Logo.KDX"), Bytes("new")), 0);
    ::close(held);
    EXPECT_EQ(Names(), (std::set<std::string>{"Logo.KDX", ".Logo.KDX.held99", ".Sign.KDX.a1B2c3",
                                              ".Logo.KDX.toolong7", "Logo.KDX.a1B2c3"}));
    platform::RemoveStaleTemporaries(Path("Logo.KDX"));
    EXPECT_FALSE(fs::exists(Path(".Logo.KDX.held99")));
}

} // namespace
