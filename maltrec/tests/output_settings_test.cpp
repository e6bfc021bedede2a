#include "maltrec/output_settings.h"

#include "pivora/tests/app_settings_fixture.h"

namespace {

StOutputSettings Loaded(eSettingsMode mode, int itemsSelected = 0) {
    StOutputSettings s(mode, itemsSelected);
    s.LoadFromReg();
    return s;
}

} // namespace

using OutputSettings = AppSettingsTest;

TEST_F(OutputSettings, DefaultsWithNothingStored) {
    StOutputSettings velm(eVelmMode, 0), normal(eNormalMode, 1);
    EXPECT_EQ(velm.m_nFeedOption, 1);
    EXPECT_EQ(normal.m_nFeedOption, 2);
    EXPECT_EQ(normal.ItemsSelected(), 1);

    StOutputSettings general = Loaded(eGeneralMode);
    EXPECT_EQ(general.m_nCopies, 1);
    EXPECT_EQ(general.m_bOptimizeCurves, 1);
    EXPECT_EQ(general.m_nFeedOption, 2);
    EXPECT_EQ(general.m_nWeedMargin, 2000);
    EXPECT_EQ(general.m_nOrderMode, eOrderLeastMovement);
    EXPECT_EQ(general.m_bInsideFirst, 1);
    EXPECT_EQ(general.m_nStartPointMode, eStartUnchanged);
    EXPECT_EQ(general.m_nTileToCut, -1);
}

TEST_F(OutputSettings, VelmSendsNeverWeedRotateOrPreloadAndFeedAfterTheJob) {
    for (const wchar_t* key : {L"Cut Out Weed", L"Cut Out Rotate", L"Preload", L"Cut VELM marks",
                               L"VELM sheet mode", L"Cut Out Feed Then Cut"})
        StoreInt(key, 1);
    StoreInt(L"Cut Out Feed Options", 2);
    StoreInt(L"Cut Out WeedAdd Thou", 2000);

    StOutputSettings velm = Loaded(eVelmMode);
    EXPECT_EQ(velm.m_nFeedOption, 1);
    EXPECT_EQ(velm.m_nWeedMargin, 0);
    EXPECT_EQ(velm.m_bWeedBox + velm.m_bAutoRotate + velm.m_bPreload, 0);
    EXPECT_EQ(velm.m_bCutVelmMarks, 1);
    EXPECT_EQ(velm.m_bVelmSheetMode, 1);
    EXPECT_EQ(velm.m_bCutOffAfterFeed, 1);

    StOutputSettings normal = Loaded(eNormalMode);
    EXPECT_EQ(normal.m_bCutVelmMarks + normal.m_bVelmSheetMode, 0);
    EXPECT_EQ(normal.m_nFeedOption, 2);
    EXPECT_EQ(normal.m_bWeedBox, 1);
}

TEST_F(OutputSettings, CutScopeOnlyWithASelectionOrInGeneralMode) {
    StoreInt(L"Cut selection", 1);
    EXPECT_EQ(Loaded(eNormalMode, 0).m_nCutScope, 0);
    EXPECT_EQ(Loaded(eNormalMode, 1).m_nCutScope, 1);
    EXPECT_EQ(Loaded(eGeneralMode, 0).m_nCutScope, 1);

    StOutputSettings s(eNormalMode, 0);
    s.m_nCutScope = 2;
    s.SaveToReg();
    DWORD stored = 0;
    ASSERT_TRUE(StoredInt(L"Cut selection", stored));
    EXPECT_EQ(stored, 1u);
}

TEST_F(OutputSettings, NoFeedNeitherReadsNorWritesTheCutOff) {
    StoreInt(L"Cut Out Feed Options", 0);
    StoreInt(L"Cut Out Feed Then Cut", 1);
    StOutputSettings s = Loaded(eNormalMode);
    EXPECT_EQ(s.m_nFeedOption, 0);
    EXPECT_EQ(s.m_bCutOffAfterFeed, 0);

    RegDeleteKey(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings");
    QvResetAppParamCache();
    FnSetRegistryStem(L"VanterFerolin");
    s.SaveToReg();
    DWORD stored = 0;
    EXPECT_FALSE(StoredInt(L"Cut Out Feed Then Cut", stored));
    EXPECT_TRUE(StoredInt(L"Cut Out Feed Options", stored));
}

TEST_F(OutputSettings, InsideFirstAndStartPointModeKeptUnderEachOthersName) {
    StOutputSettings s(eGeneralMode, 0);
    s.m_bInsideFirst = 0;
    s.m_nStartPointMode = eStartAlwaysRight;
    s.SaveToReg();
    DWORD stored = 99;
    ASSERT_TRUE(StoredInt(L"Startpoint mode", stored));
    EXPECT_EQ(stored, 0u);
    ASSERT_TRUE(StoredInt(L"Inside first", stored));
    EXPECT_EQ(stored, 2u);

    QvResetAppParamCache();
    FnSetRegistryStem(L"VanterFerolin");
    StOutputSettings back = Loaded(eNormalMode);
    EXPECT_EQ(back.m_bInsideFirst, 0);
    EXPECT_EQ(back.m_nStartPointMode, eStartAlwaysRight);
}

TEST_F(OutputSettings, EachModeWritesOnlyItsOwnKeys) {
    StOutputSettings velm(eVelmMode, 0);
    velm.SaveToReg();
    DWORD stored = 0;
    EXPECT_TRUE(StoredInt(L"Cut VELM marks", stored));
    EXPECT_FALSE(StoredInt(L"Cut Out Weed", stored));
    EXPECT_FALSE(StoredInt(L"Cut selection", stored));

    StOutputSettings normal(eNormalMode, 0);
    normal.SaveToReg();
    EXPECT_TRUE(StoredInt(L"Cut Out Weed", stored));
    EXPECT_TRUE(StoredInt(L"Cut Out WeedAdd Thou", stored));
    EXPECT_EQ(stored, 2000u);
}
