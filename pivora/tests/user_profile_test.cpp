#include "pivora/framework/user_profile.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

KELVANE_SETTINGS_SANDBOX();

TEST(UserProfile, ScramblingIsAShiftPerPosition) {
    CString s = L"abc";
    CUserProfile::fnEncryptUPD(s);
    EXPECT_EQ(s, L"bad");
    CUserProfile::fnDecryptUPD(s);
    EXPECT_EQ(s, L"abc");
    // Plain records, which start with a line break, are left as they are.
    CString plain = L"\r[settings]\r";
    CUserProfile::fnDecryptUPD(plain);
    EXPECT_EQ(plain, L"\r[settings]\r");
}

TEST(UserProfile, GeneratedIdsHaveTwoToNineNumbers) {
    CUserProfile p;
    for (int i = 0; i < 200; ++i) {
        CString uid;
        p.fnGenerateUID(uid);
        ASSERT_GE(uid.GetLength(), 2);
        ASSERT_LE(uid.GetLength(), 18);
        EXPECT_EQ(uid.SpanIncluding(L"0123456789"), uid);
    }
}

TEST(UserProfile, SavedRecordLoadsBack) {
    SettingsSandbox box;
    CString file = CString::FromUtf8(box.Path("home/user.ini"));
    CUserProfile p;
    p.m_profileFile = file;
    p.m_shortName = L"ann";
    p.m_longName = L"Ann Other";
    p.m_password = L"pa=ss";
    p.m_properties = 6;
    p.fnSaveUserProfile();
    // Stored scrambled: the name is not there in plain text.
    EXPECT_EQ(SettingsSandbox::Read(box.Path("home/user.ini")).find("Ann Other"),
              std::string::npos);

    CUserProfile q;
    EXPECT_EQ(q.fnLoadProfile(L"ANN", file), 1);
    EXPECT_EQ(q.m_uid, p.m_uid);
    EXPECT_EQ(q.m_longName, L"Ann Other");
    EXPECT_EQ(q.m_password, L"pa=ss");
    EXPECT_EQ(q.m_properties, 6);
    EXPECT_EQ(q.fnGetProperty(4), 4);
    EXPECT_EQ(q.fnUserIsAdministrator(), 2);
    EXPECT_FALSE(std::filesystem::exists(box.Path("home/user.ini.TMP")));

    CUserProfile r;
    EXPECT_EQ(r.fnLoadProfile(L"bob", file), 0);
    EXPECT_EQ(r.fnLoadProfile(L"ann", CString::FromUtf8(box.Path("home/none.ini"))), 0);
}

TEST(UserProfile, TheBuiltInAdministratorInAnyCase) {
    CUserProfile p;
    for (const wchar_t* name : {L"Warden", L"WARDEN", L"wArDeN"}) {
        p.m_shortName = name;
        p.m_properties = 0;
        EXPECT_EQ(p.fnUserIsAdministrator(), 1);
    }
    p.m_shortName = L"Wardens";
    EXPECT_EQ(p.fnUserIsAdministrator(), 0);
}
