#include "platform/system/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

TEST(FileNames, PathsSplitIntoFolderNameAndExtension) {
    struct Case {
        const wchar_t* path;
        const wchar_t *folder, *name, *ext;
    };
    const Case cases[] = {
        {L"C:\\Designs\\sign.v2.KDX", L"\\Designs\\", L"sign.v2", L".KDX"},
        {L"/home/shop/logo.ai", L"/home/shop/", L"logo", L".ai"},
        {L"plain", L"", L"plain", L""},
        {L"folder.d\\name", L"folder.d\\", L"name", L""},
        {L"D:file.eps", L"", L"file", L".eps"},
        {L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.path).ToUtf8());
        wchar_t drive[8], dir[260], name[260], ext[260];
        ASSERT_EQ(_wsplitpath_s(c.path, drive, 8, dir, 260, name, 260, ext, 260), 0);
        EXPECT_STREQ(drive, L"");
        EXPECT_STREQ(dir, c.folder);
        EXPECT_STREQ(name, c.name);
        EXPECT_STREQ(ext, c.ext);
    }
    wchar_t small[4];
    EXPECT_NE(_wsplitpath_s(L"/a/long-name.txt", nullptr, 0, nullptr, 0, small, 4, nullptr, 0), 0);
    EXPECT_STREQ(small, L"");
    EXPECT_NE(_wsplitpath_s(nullptr, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), 0);
}

TEST(FileNames, FoldersAndFiles) {
    char pattern[] = "/tmp/kelvane-names-XXXXXX";
    std::string root = mkdtemp(pattern);
    CString base(root.c_str());
    EXPECT_TRUE(platform::CreateFolders(base + L"\\Temp\\Deeper"));
    EXPECT_TRUE(std::filesystem::is_directory(root + "/Temp/Deeper"));
    EXPECT_TRUE(platform::CreateFolders(base + L"\\Temp")); // already there
    EXPECT_FALSE(CreateDirectory(base + L"\\Temp", nullptr));
    EXPECT_TRUE(CreateDirectory(base + L"\\Other", nullptr));

    std::ofstream(root + "/Temp/a.eps") << "x";
    EXPECT_TRUE(DeleteFile(base + L"\\Temp\\a.eps"));
    EXPECT_FALSE(std::filesystem::exists(root + "/Temp/a.eps"));
    EXPECT_FALSE(DeleteFile(base + L"\\Temp\\a.eps"));
    EXPECT_FALSE(DeleteFile(base + L"\\Temp")); // never a folder
    std::filesystem::remove_all(root);
}
