#include "pivora/framework/app_param.h"
#include "pivora/tests/app_settings_fixture.h"

#include <memory>

using AppParam = AppSettingsTest;

TEST_F(AppParam, IntegerEntryWritesAndLoadsThroughTheProfile) {
    CAppOnOff on(L"AutoPan", 1);
    EXPECT_EQ(on.WriteProfile(), 1);
    DWORD v = 0;
    ASSERT_TRUE(StoredInt(L"AutoPan", v));
    EXPECT_EQ(v, 1u);

    CAppOnOff other(L"AutoPan", 9);
    EXPECT_EQ(other.LoadProfile(), 1);
    EXPECT_EQ(other.GetParamValue(), 1);
    CString s;
    other.GetParamStr(s);
    EXPECT_EQ(s, L"1");
    other.SetParamStr(L"  -42x");
    EXPECT_EQ(other.GetParamValue(), -42);
    other.SetParamStr(L"none");
    EXPECT_EQ(other.GetParamValue(), -42);

    // The absent marker of the profile call: a stored 65535 reads as nothing stored.
    StoreInt(L"Marker", 0xFFFF);
    CAppOnOff marker(L"Marker", 3);
    EXPECT_EQ(marker.LoadProfile(), 0);
    EXPECT_EQ(marker.GetParamValue(), 3);
    CAppOnOff missing(L"Missing", 4);
    EXPECT_EQ(missing.LoadProfile(), 0);
    EXPECT_EQ(missing.GetParamValue(), 4);
}

TEST_F(AppParam, StringEntryConvertsAndKnowsItsMarker) {
    CAppString text(L"Import path", L"D:\\Data\\a.ai");
    EXPECT_EQ(text.WriteProfile(), 1);
    EXPECT_EQ(StoredText(L"Import path"), L"D:\\Data\\a.ai");
    EXPECT_EQ(text.GetParamValue(), 0);
    text.SetParamValue(-7);
    CString s;
    text.GetParamStr(s);
    EXPECT_EQ(s, L"-7");
    EXPECT_EQ(text.GetParamValue(), -7);

    StoreText(L"Odd", L"String-Not-Found");
    CAppString odd(L"Odd", L"kept");
    EXPECT_EQ(odd.LoadProfile(), 0);
    odd.GetParamStr(s);
    EXPECT_EQ(s, L"kept");
}

TEST_F(AppParam, NamesAreExactAndCopiesCarryTheValue) {
    CAppOnOff on(L"Log File", 5);
    EXPECT_EQ(on.MatchAppParam(L"Log File"), 1);
    EXPECT_EQ(on.MatchAppParam(L"log file"), 0);
    on.Default(true);
    std::unique_ptr<CAppOnOff> copy(static_cast<CAppOnOff*>(on.CopyObject(nullptr)));
    EXPECT_EQ(copy->GetParamValue(), 5);
    EXPECT_EQ(copy->MatchAppParam(L"Log File"), 1);
    EXPECT_FALSE(copy->Default()); // the flag is not copied
    CAppString into(L"x", L"");
    EXPECT_EQ(on.CopyObject(&into), &into);
    CString s;
    into.GetParamStr(s);
    EXPECT_EQ(s, L"5");

    CAppParam base(L"base");
    EXPECT_EQ(base.WriteProfile(), 0);
    EXPECT_EQ(base.LoadProfile(), 0);
    EXPECT_EQ(base.CopyObject(&into), &into);
}

TEST_F(AppParam, WithoutAnApplicationNothingIsReadOrWritten) {
    m_app.reset();
    CAppOnOff on(L"AutoPan", 1);
    EXPECT_EQ(on.WriteProfile(), 0);
    EXPECT_EQ(on.LoadProfile(), 0);
    CAppString text(L"Log File", L"x");
    EXPECT_EQ(text.WriteProfile(), 0);
    EXPECT_EQ(text.LoadProfile(), 0);
    EXPECT_FALSE(std::filesystem::exists(m_box.UserHive()));
}
