// The script named by "-b" on the command line.
#include "kelvane/app/script_file.h"

#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const wchar_t* line;
    const wchar_t* path;
};

TEST(ScriptFile, FindsThePathOnlyAfterADashBOfItsOwn) {
    const PathCase cases[] = {
        {L"kelvane -b/tmp/run.scr", L"/tmp/run.scr"},
        {L"kelvane -b/tmp/run.scr other", L"/tmp/run.scr"},
        {L"-b/tmp/first.scr", L"/tmp/first.scr"},
        {L"kelvane -b$/tmp/my scripts/run.scr$ x", L"/tmp/my scripts/run.scr"},
        {L"kelvane -b$/tmp/no end", L""},
        {L"kelvane -b /tmp/run.scr", L""}, // a blank after "-b": no script
        {L"kelvane -bab", L""},            // under 3 characters
        {L"kelvane -b$ab$", L""},
        {L"kelvane -babc", L"abc"},
        {L"kelvane /x/my-backup.kdx", L""}, // "-b" inside a name is no option
        {L"kelvane /x/my-backup.kdx -b/tmp/s.scr", L"/tmp/s.scr"},
        {L"kelvane", L""},
        {L"kelvane -b", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FnScriptPathOf(c.line), CString(c.path)) << CString(c.line).ToUtf8();
}

TEST(ScriptFile, AMissingScriptSaysSoAndNoScriptSaysNothing) {
    SettingsSandbox box;
    platform::MessageBoxResponder boxes;
    EXPECT_TRUE(FnRunScriptFile(L"kelvane /x/my-backup.kdx", nullptr));
    EXPECT_TRUE(boxes.Shown().empty());
    const std::string missing = box.Path("none.scr");
    EXPECT_FALSE(FnRunScriptFile(CString("kelvane -b" + missing), nullptr));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(CString(boxes.Shown()[0].text.c_str()),
              CString(L"Script ERROR : Unable to open ") + CString(missing));
    SettingsSandbox::Write(box.Path("run.scr"), "; nothing the program knows\nZOOM 1\n");
    EXPECT_TRUE(FnRunScriptFile(CString("kelvane -b" + box.Path("run.scr")), nullptr));
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

} // namespace
