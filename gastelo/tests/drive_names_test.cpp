#include "gastelo/drive_names.h"

#include <gtest/gtest.h>

namespace {

// The mount table the tests hand in.
BrowserMountTable g_table;
bool g_readable = true;

bool FakeReader(BrowserMountTable& table) {
    table = g_table;
    return g_readable;
}

class DriveNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_table = BrowserParseMountLines("/dev/sda2 / ext4 rw,relatime 0 0\n"
                                         "proc /proc proc rw 0 0\n"
                                         "/dev/sdb1 /media/sam/DATA vfat rw 0 0\n"
                                         "/dev/sdc1 /media/sam/My\\040Stick vfat rw 0 0\n"
                                         "//server/signs /mnt/signs cifs rw 0 0\n"
                                         "nas:/export/jobs /mnt/jobs nfs4 rw 0 0\n"
                                         "/dev/sda3 /mnt/jobs/local ext4 rw 0 0\n");
        g_table[2].removable = true;
        g_table[2].label = L"DATA";
        g_table[3].removable = true;
        g_readable = true;
        BrowserSetMountTableReader(FakeReader);
    }
    void TearDown() override { BrowserSetMountTableReader(nullptr); }
};

} // namespace

TEST_F(DriveNamesTest, ParsesTheKernelsMountLines) {
    ASSERT_EQ(g_table.size(), 7u);
    EXPECT_EQ(g_table[0].source, CString(L"/dev/sda2"));
    EXPECT_EQ(g_table[0].mountPoint, CString(L"/"));
    EXPECT_EQ(g_table[0].fsType, CString(L"ext4"));
    EXPECT_EQ(g_table[3].mountPoint, CString(L"/media/sam/My Stick"));
    EXPECT_TRUE(BrowserParseMountLines("\n  \nbroken\n").empty());
}

TEST_F(DriveNamesTest, NamesTheStorageAPathLiesOn) {
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"/media/sam/DATA/logo.KDX", L"<DATA>"},
        {L"\\media\\sam\\DATA\\jobs\\logo.KDX", L"<DATA>"},
        {L"/media/sam/My Stick/a.KDX", L"<>"}, // a medium without a label
        {L"/media/sam/DATA2/a.KDX", L"[]"},    // not below the DATA mount
        {L"/home/sam/Designs/a.KDX", L"[]"},
        {L"/mnt/signs/shop/a.KDX", L"//server/signs"},
        {L"/mnt/jobs/a.KDX", L"nas:/export/jobs"},
        {L"/mnt/jobs/local/a.KDX", L"[]"}, // a local disk mounted inside a network one
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserGetDriveName(c.path), CString(c.name)) << CString(c.path).ToUtf8();
}

TEST_F(DriveNamesTest, LongLabelsAreCutAndAnUnreadableTableNamesALocalDisk) {
    g_table[2].label = CString(L"L") + CString(L"0123456789012345678901234567890123456789");
    CString name = BrowserGetDriveName(L"/media/sam/DATA/x");
    EXPECT_EQ(name.GetLength(), kVolumeLabelChars + 2);
    EXPECT_EQ(name, L"<" + g_table[2].label.Left(32) + L">");

    g_readable = false;
    EXPECT_EQ(BrowserGetDriveName(L"/mnt/signs/x"), CString(L"[]"));
    CString out(L"kept");
    EXPECT_EQ(GetUniversalName(out, L"/mnt/signs/x"), 0);
    EXPECT_EQ(out, CString(L"kept"));
}

TEST_F(DriveNamesTest, UniversalNamesComeFromNetworkMountsOnly) {
    CString out(L"kept");
    EXPECT_EQ(GetUniversalName(out, L"/mnt/signs/a.KDX"), 1);
    EXPECT_EQ(out, CString(L"//server/signs"));
    out = L"kept";
    EXPECT_EQ(GetUniversalName(out, L"/media/sam/DATA/a.KDX"), 0);
    EXPECT_EQ(GetUniversalName(out, L"/home/a.KDX"), 0);
    EXPECT_EQ(out, CString(L"kept"));
}

TEST(DriveNamesSystemTest, TheSystemMountTableHoldsTheRoot) {
    BrowserMountTable table;
    ASSERT_TRUE(BrowserReadMountTable(table));
    bool root = false;
    for (const BrowserMount& m : table)
        root = root || m.mountPoint == CString(L"/");
    EXPECT_TRUE(root);
    // Whatever holds the temporary folder, it is named without failing.
    CString name = BrowserGetDriveName(L"/tmp/x.KDX");
    EXPECT_TRUE(name == L"[]" || name.IsEmpty() || name[0] == L'<' || name.GetLength() > 2);
}
