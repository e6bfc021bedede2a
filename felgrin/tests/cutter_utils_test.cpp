#include "felgrin/cutter_utils.h"

#include "cutter_fixture.h"
#include "felgrin/cutter_instance.h"
#include "felgrin/dmpl_cutter.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/vanter_qx3_cutter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class CutterTable : public CutterTest {
protected:
    void TearDown() override {
        FelgrinUtils::QuitCutterDriver();
        CutterTest::TearDown();
    }
};

TEST_F(CutterTable, TheTypeTableHasTheTwoDrivers) {
    const tagCUTTERINFO& dmpl = CCutterUtils::m_aCutterInfo[CUTTER_TYPE_DMPL];
    EXPECT_STREQ(dmpl.szName, L"Generic DM/PL");
    EXPECT_EQ(dmpl.nType, 0);
    EXPECT_STREQ(dmpl.szDescription, L"Generic DM/PL");
    EXPECT_EQ(dmpl.pClass, RUNTIME_CLASS(CDMPLCutter));
    const tagCUTTERINFO& qx3 = CCutterUtils::m_aCutterInfo[CUTTER_TYPE_QX3];
    EXPECT_STREQ(qx3.szName, L"Vanter QX3");
    EXPECT_EQ(qx3.nType, 1);
    EXPECT_STREQ(qx3.szDescription, L"QX3 DM/PL");
    EXPECT_EQ(qx3.pClass, RUNTIME_CLASS(CVanterQX3Cutter));
}

TEST_F(CutterTable, CuttersAreMadeByTypeRow) {
    struct Case {
        int type;
        CRuntimeClass* cls; // null: nothing is made
        int model;
    };
    // Rows that do not exist (a type from a damaged setting) make nothing.
    for (const Case& k : std::vector<Case>{{CUTTER_TYPE_DMPL, RUNTIME_CLASS(CDMPLCutter), 2},
                                           {CUTTER_TYPE_QX3, RUNTIME_CLASS(CVanterQX3Cutter), 3},
                                           {-1, nullptr, 0},
                                           {CUTTER_TYPE_COUNT, nullptr, 0},
                                           {1000000, nullptr, 0}}) {
        SCOPED_TRACE(k.type);
        std::unique_ptr<CBaseCutter> c(CCutterUtils::CreateCutter(k.type));
        if (!k.cls) {
            EXPECT_EQ(c, nullptr);
            continue;
        }
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetRuntimeClass(), k.cls);
        EXPECT_EQ(c->GetType(), k.type);
        EXPECT_EQ(c->fnGetCutterModel(), k.model);
    }
}

TEST_F(CutterTable, CuttersAreMadeByTheExactClassName) {
    struct Case {
        const wchar_t* name;
        CRuntimeClass* cls;
        int type;
    };
    for (const Case& k :
         std::vector<Case>{{L"CDMPLCutter", RUNTIME_CLASS(CDMPLCutter), 0},
                           {L"CVanterQX3Cutter", RUNTIME_CLASS(CVanterQX3Cutter), 1},
                           {L"cdmplcutter", nullptr, 0},
                           {L"CDMPLCutter ", nullptr, 0},
                           {L"CBaseCutter", nullptr, 0},
                           {L"CCutterInstance", nullptr, 0},
                           {L"", nullptr, 0},
                           {nullptr, nullptr, 0}}) {
        SCOPED_TRACE(k.name ? CString(k.name).ToUtf8() : "null");
        std::unique_ptr<CBaseCutter> c(CCutterUtils::CreateCutter(k.name));
        if (!k.cls) {
            EXPECT_EQ(c, nullptr);
            continue;
        }
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetRuntimeClass(), k.cls);
        EXPECT_EQ(c->GetType(), k.type);
    }
}

TEST_F(CutterTable, TheTableTakesOneCutterOfEachNameInAnyCase) {
    CBaseCutter* a = CCutterUtils::CreateCutter(CUTTER_TYPE_DMPL);
    a->fnSetName(L"Plotter");
    ASSERT_EQ(CCutterUtils::AddCutterToArray(a), 1);
    EXPECT_EQ(CCutterUtils::AddCutterToArray(a), 0);
    EXPECT_EQ(CCutterUtils::AddCutterToArray(nullptr), 0);
    // Names that differ only in case would share one settings key: refused, still the caller's.
    for (const wchar_t* name : {L"Plotter", L"PLOTTER", L"plotter"}) {
        std::unique_ptr<CBaseCutter> same(CCutterUtils::CreateCutter(CUTTER_TYPE_QX3));
        same->fnSetName(name);
        EXPECT_EQ(CCutterUtils::AddCutterToArray(same.get()), 0) << name;
    }
    CBaseCutter* b = CCutterUtils::CreateCutter(CUTTER_TYPE_QX3);
    b->fnSetName(L"Plotter 2");
    ASSERT_EQ(CCutterUtils::AddCutterToArray(b), 1);
    ASSERT_EQ(CCutterUtils::m_oaCutters.GetSize(), 2);
    EXPECT_EQ(CCutterUtils::m_oaCutters[0], a);
    EXPECT_EQ(CCutterUtils::m_oaCutters[1], b);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"Plotter"), a);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"Plotter 2"), b);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"plotter"), nullptr);
}

TEST_F(CutterTable, ThePreferredCutterIsKeptNotOwned) {
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
    CDMPLCutter outside;
    CCutterUtils::SetPreferedCutter(&outside);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), &outside);
    FelgrinUtils::QuitCutterDriver(); // forgets it, deletes nothing it does not own
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
}

} // namespace
