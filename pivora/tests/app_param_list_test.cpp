#include "pivora/framework/app_param_list.h"
#include "pivora/tests/app_settings_fixture.h"

#include <memory>

using AppParamList = AppSettingsTest;

TEST_F(AppParamList, AMissIsRememberedAndEachCallerGetsItsDefault) {
    CAppParamList list;
    int v = 5;
    EXPECT_EQ(list.GetAppParam(L"Grid", v), 0);
    EXPECT_EQ(v, 5);
    // Stored by someone else meanwhile: the remembered miss does not read again.
    StoreInt(L"Grid", 11);
    v = 7;
    EXPECT_EQ(list.GetAppParam(L"Grid", v), 0);
    EXPECT_EQ(v, 7);
    list.SetAppParam(L"Grid", 3);
    v = 0;
    EXPECT_EQ(list.GetAppParam(L"Grid", v), 1);
    EXPECT_EQ(v, 3);
    DWORD stored = 0;
    EXPECT_TRUE(StoredInt(L"Grid", stored));
    EXPECT_EQ(stored, 3u);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(AppParamList, KindIsFixedByTheFirstUse) {
    CAppParamList list;
    int v = 12;
    list.GetAppParam(L"Speed", v);
    list.SetAppParam(L"Speed", 40);
    CString text = L"unchanged";
    EXPECT_EQ(list.GetAppParam(L"Speed", text), 1);
    EXPECT_EQ(text, L"40");

    list.SetAppParam(L"Name", CString(L"17 cuts"));
    v = 0;
    EXPECT_EQ(list.GetAppParam(L"Name", v), 1);
    EXPECT_EQ(v, 17);
    list.SetAppParam(L"Name", 9); // an integer on a string entry stores its text
    EXPECT_EQ(StoredText(L"Name"), L"9");
}

TEST_F(AppParamList, StoredValuesLoadOnceAndTheFactoryMakesEntries) {
    StoreInt(L"Stored", 21);
    StoreText(L"Path", L"D:\\x");
    CAppParamList list;
    int v = 0;
    EXPECT_EQ(list.GetAppParam(L"Stored", v), 1);
    EXPECT_EQ(v, 21);
    CString text;
    EXPECT_EQ(list.GetAppParam(L"Path", text), 1);
    EXPECT_EQ(text, L"D:\\x");

    EXPECT_EQ(list.GetAppParam(L"Made", nullptr), nullptr);
    auto factory = [](const CString& name) -> CAppParam* { return new CAppOnOff(name, 77); };
    CAppParam* made = list.GetAppParam(L"Made", factory);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetParamValue(), 77);
    EXPECT_FALSE(made->Default());
    EXPECT_EQ(list.GetAppParam(L"Made", nullptr), made);
    CAppParam* loaded = list.GetAppParam(L"Stored", factory);
    EXPECT_EQ(loaded->GetParamValue(), 21);

    std::unique_ptr<CAppParamList> copy(static_cast<CAppParamList*>(list.CopyObject(nullptr)));
    EXPECT_EQ(copy->GetCount(), list.GetCount());
    copy->Discard();
}

TEST_F(AppParamList, DestroyedWhileTheApplicationLivesWritesEveryEntry) {
    {
        CAppParamList list;
        CString text = L"caller default";
        EXPECT_EQ(list.GetAppParam(L"Log File", text), 0);
        int v = 5;
        list.GetAppParam(L"AutoPan", v);
    }
    EXPECT_EQ(StoredText(L"Log File"), L"caller default");
    DWORD v = 0;
    EXPECT_TRUE(StoredInt(L"AutoPan", v));
    EXPECT_EQ(v, 5u);

    // Without an application object nothing is written.
    {
        CAppParamList list;
        int w = 1;
        list.GetAppParam(L"Later", w);
        m_app.reset();
    }
    m_app = std::make_unique<CAppRegistry>();
    m_app->SetRegistryKey(L"Oquen");
    m_app->SetProfileName(L"VanterFerolin");
    EXPECT_FALSE(StoredInt(L"Later", v));
}
