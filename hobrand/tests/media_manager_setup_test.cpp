#include "hobrand/media_manager_setup.h"

#include "hobrand/hobrand_strings.h"
#include "hobrand/media_manager_blk.h"
#include "hobrand/tests/sheet_fixture.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/jox_page.h"
#include "platform/system/port_devices.h"
#include "vector/vector_style_pb.h"

#include <gtest/gtest.h>

namespace {

// Marks a block busy, as while its copies are placed.
struct BusyAccess : CMediaManagerBlk {
    static void Set(CMediaManagerBlk* b, int on) { b->*(&BusyAccess::m_bBusy) = on; }
};

class MediaManagerSetup : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        AddSheetTemplate();
    }
    void TearDown() override {
        platform::ResetPortDevicePaths();
        SheetTest::TearDown();
    }
    std::vector<UINT> ShownIds() const {
        std::vector<UINT> ids;
        for (const auto& m : m_boxes->Shown())
            ids.push_back(m.stringId);
        return ids;
    }
};

class MediaManagerSetupAlone : public SheetTest {};

TEST_F(MediaManagerSetupAlone, WithoutTheSheetTemplateNothingIsSetUpOrClosed) {
    Install(L"Plotter");
    EXPECT_EQ(g_fnMedManSetup(0, 0, 1), nullptr);
    EXPECT_EQ(g_fnDeleteAllMedMan(), 0);
    EXPECT_TRUE(m_boxes->Shown().empty());
    // Nothing can hold the cutter: it is deleted at once.
    EXPECT_EQ(g_fnDeleteInstalledCutter(L"Plotter"), 1);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"Plotter"), nullptr);
}

TEST_F(MediaManagerSetup, WithoutACutterTheOperatorIsToldAndNothingOpens) {
    EXPECT_EQ(g_fnMedManSetup(0, 0, 1), nullptr);
    EXPECT_EQ(ShownIds(), std::vector<UINT>{IDS_NO_CUTTER_INSTALLED});
    EXPECT_TRUE(SheetPages().empty());
}

TEST_F(MediaManagerSetup, OneCutterGivesASheetDocumentBoundToIt) {
    Install(L"Plotter#2");
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(SheetPages().size(), 1u);
    CJoxPage* page = SheetPages()[0];
    EXPECT_EQ(b->GetDocument(), page);
    EXPECT_EQ(page->GetTitle(), CString(L"Plotter on FILE"));
    EXPECT_EQ(b->fnGetMode(), 0);
    CString device, port;
    b->fnDeviceName(device);
    b->fnGetPortName(port);
    EXPECT_EQ(device, CString(L"Plotter#2"));
    EXPECT_EQ(port, CString(L"FILE"));
    ASSERT_NE(b->fnGetCutter(), nullptr);
    EXPECT_TRUE(b->fnGetCutter()->fnIsAttached()); // its document was started
    CWindow sheet, cutter;
    b->fnGetSheetExtents(&sheet);
    b->fnGetCutterExt(&cutter);
    EXPECT_EQ(sheet, CWindow(0, 0, 2000000, 50000100));
    EXPECT_EQ(cutter, sheet);
    // A DM/PL cutter is model 2: bottom-right anchors on a vinyl sheet.
    EXPECT_EQ(b->fnGetTileMode(), 0x42);
    EXPECT_EQ(b->fnCheckVinylSheet(), 1);
    EXPECT_EQ(b->fnGetSpace(), CLpoint(2000, 2000));
    EXPECT_NE(page->FindParam(CParamBlk::kDesignParamId), nullptr);
    auto* styles = dynamic_cast<CVectorStylePB*>(page->FindParam(CParamBlk::kVectorStyleId));
    ASSERT_NE(styles, nullptr);
    EXPECT_EQ(styles->fnGetSize(), 2);
}

TEST_F(MediaManagerSetup, ASecondSendReusesTheSheetAndMarksStartAfresh) {
    Install(L"Plotter");
    CMediaManagerBlk* first = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(first, nullptr);
    first->fnSetSpace(CLpoint(1, 1)); // tells this block from a new one
    EXPECT_EQ(g_fnMedManSetup(0, 0, 1), first);
    EXPECT_EQ(g_fnMedManSetup(1, 1, 1), first); // any mode
    CMediaManagerBlk* marks = g_fnMedManSetup(1, 0, 1);
    ASSERT_NE(marks, nullptr);
    ASSERT_EQ(SheetPages().size(), 1u);
    EXPECT_EQ(marks->fnGetSpace(), CLpoint(2000, 2000));
    // Made with mode 0: the next send with marks starts afresh again.
    EXPECT_EQ(marks->fnGetMode(), 0);
}

TEST_F(MediaManagerSetup, SheetsOfAnotherModeAreAllClosedBeforeANewOneOpens) {
    Install(L"Plotter");
    // Two sheets made for marks, then a plain send: both close while the list is walked.
    CJoxDocTemplate* t = m_app->DocTemplateForContext(kSheetContext);
    for (int i = 0; i < 2; ++i)
        GetMediaManager(dynamic_cast<CJoxPage*>(t->OpenDocumentFile(nullptr)), 1);
    ASSERT_EQ(SheetPages().size(), 2u);
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(SheetPages().size(), 1u);
    EXPECT_EQ(b->GetDocument(), SheetPages()[0]);
    EXPECT_EQ(GetMediaManager(SheetPages()[0], 1), b); // an existing block keeps its mode
    EXPECT_EQ(b->fnGetMode(), 0);
}

TEST_F(MediaManagerSetup, APortThatDoesNotOpenOpensNoSheet) {
    platform::SetPortDevicePath(L"COM9", m_box->Path("no-such-tty"));
    Install(L"Plotter", L"COM9");
    EXPECT_EQ(g_fnMedManSetup(0, 0, 1), nullptr);
    EXPECT_TRUE(SheetPages().empty());
}

TEST_F(MediaManagerSetup, ABusySheetKeepsItsCutterInstalled) {
    Install(L"Plotter");
    Install(L"Other");
    CCutterUtils::SetPreferedCutter(CCutterUtils::GetCutterFromName(L"Plotter"));
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    BusyAccess::Set(b, 1);
    EXPECT_EQ(g_fnDeleteInstalledCutter(L"Plotter"), 0);
    EXPECT_EQ(ShownIds(), std::vector<UINT>{IDS_CANT_DELETE_BUSY});
    EXPECT_NE(CCutterUtils::GetCutterFromName(L"Plotter"), nullptr);
    EXPECT_EQ(SheetPages().size(), 1u);
    // Another cutter's deletion does not touch the sheet.
    EXPECT_EQ(g_fnDeleteInstalledCutter(L"Other"), 1);
    EXPECT_EQ(SheetPages().size(), 1u);

    BusyAccess::Set(b, 0);
    EXPECT_EQ(g_fnDeleteInstalledCutter(L"Plotter"), 1);
    EXPECT_TRUE(SheetPages().empty());
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"Plotter"), nullptr);
}

TEST_F(MediaManagerSetup, ASheetWhoseCutterWentAwayAnswersNoDeviceAndClosesClean) {
    Install(L"Plotter");
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    FelgrinUtils::QuitCutterDriver();
    EXPECT_EQ(b->fnDeselectCutter(), CMediaManagerBlk::kNoDevice);
    EXPECT_EQ(g_fnDeleteAllMedMan(), 1);
    EXPECT_TRUE(SheetPages().empty());
}

} // namespace
