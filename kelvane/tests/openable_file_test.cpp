// Which files the program takes, by extension identifier, and when two paths are one file.
#include "kelvane/app/openable_file.h"

#include "gastelo/file_extensions.h"
#include "kelvane/app/design_file_dlg.h"
#include "pivora/framework/app_params.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(OpenableFile, SupportedExtensionsIncludeTemplatesAndCutterFiles) {
    SettingsSandbox box;
    QvResetAppParamCache();
    CDesignFileDlg dialog(TRUE, 0, 0);
    const struct {
        const wchar_t* path;
        bool accepted;
        int idAfter;
    } cases[] = {
        {L"a.kdx", true, 0},
        {L"a.AI", true, 11},
        {L"a.eps", true, 12},
        {L"a.pdf", true, 65},
        {L"a.cut", true, 38},
        {L"a.spl", true, 40},
        {L"a.hgl", true, 16},
        {L"a.hpg", true, 33},
        {L"a.plt", true, 42},
        {L"a.gnm", true, 54},
        {L"a.pnl", true, 60},
        {L"a.dxf", false, 14},
        {L"a.kom", false, 1},
        {L"/x/noext", false, -1},
        {L"/x/output.spl.old", true, 40},
        {L"/x/CutLog.txt", true, 40},
        {L"/x/cutlog.txt", false, -1},
    };
    for (const auto& c : cases) {
        int id = BrowserGetFileExtID(c.path);
        EXPECT_EQ(FnIsSupportedExtension(id, dialog, c.path), c.accepted) << c.path;
        EXPECT_EQ(id, c.idAfter) << c.path;
        EXPECT_EQ(FnIsOpenableFile(c.path), c.accepted) << c.path;
    }
    QvResetAppParamCache();
}

TEST(OpenableFile, PathsNameOneFileOnlyWhenEqualOnceResolved) {
    SettingsSandbox box;
    const std::filesystem::path dir(box.Path("d"));
    std::filesystem::create_directories(dir / "sub");
    std::ofstream(dir / "Logo.kdx") << "x";
    std::ofstream(dir / "logo.kdx") << "y";
    const CString logo((dir / "Logo.kdx").string());
    const struct {
        CString other;
        bool same;
    } cases[] = {
        {CString((dir / "logo.kdx").string()), false}, // two files on this system
        {CString((dir / "sub" / ".." / "Logo.kdx").string()), true},
        {logo, true},
        {CString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kelvane::SameFile(logo, c.other), c.same) << c.other.ToUtf8();
}

} // namespace
