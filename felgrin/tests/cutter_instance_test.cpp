#include "felgrin/cutter_instance.h"

#include "cutter_fixture.h"
#include "felgrin/dmpl_cutter.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

namespace {

// A cutter whose answers the test chooses.
class ScriptedCutter : public CDMPLCutter {
public:
    int InquireExtents(CWindow* w) override {
        ++inquiries;
        if (w)
            *w = CWindow(0, 0, 7000, 8000);
        return extentsResult;
    }
    int ReturnToZero() override { return returnResult; }
    int extentsResult = CUT_ERR_CANCELLED;
    int returnResult = 0;
    int inquiries = 0;
};

class CutterInstance : public CutterTest {};

TEST_F(CutterInstance, ExtentsStartFromTheCuttersMaximumAndNeedAnAttachedInstance) {
    CDMPLCutter c;
    CCutterInstance inst(&c);
    EXPECT_EQ(inst.fnGetExtents(), CWindow(0, 0, 2000000, 50000100));
    CWindow w(1, 2, 3, 4);
    EXPECT_EQ(inst.fnSetExtents(&w), CUT_ERR_BUSY);
    EXPECT_EQ(c.fnGetMediaExtents(), CWindow());
    CCutterInstance none(nullptr);
    EXPECT_EQ(none.fnGetExtents(), CWindow());
    EXPECT_EQ(none.fnStartDoc(), CUT_ERR_NO_DEVICE);
}

TEST_F(CutterInstance, ADeletedCutterLeavesItsInstancesAnsweringNoDevice) {
    auto* c = new CDMPLCutter;
    c->SetPortName(CString(L"COM1"));
    CCutterInstance held(c), idle(c);
    ASSERT_EQ(held.fnAttachToCutter(), 1);
    EXPECT_EQ(c->fnLiveInstanceCount(), 2);
    delete c; // as the driver's quit or a deleted cutter does under an open sheet document
    for (CCutterInstance* inst : {&held, &idle}) {
        EXPECT_EQ(inst->fnGetCutter(), nullptr);
        EXPECT_EQ(inst->fnIsAttached(), 0);
        CString port(L"x");
        inst->fnGetPortName(port);
        EXPECT_TRUE(port.IsEmpty());
        CLpoint p(1, 1);
        CWindow w(0, 0, 1, 1);
        EXPECT_EQ(inst->fnStartDoc(), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnStartPage(), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnDeselect(), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnRecut(1), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnFeed(&p), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnPreload(w), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnInquireExtents(&w), CUT_ERR_NO_DEVICE);
        EXPECT_EQ(inst->fnEndDoc(), CUT_ERR_NO_DEVICE);
    }
}

TEST_F(CutterInstance, ADeletedInstanceNoLongerHoldsItsCutter) {
    CDMPLCutter c;
    {
        CCutterInstance inst(&c);
        ASSERT_EQ(inst.fnAttachToCutter(), 1);
    }
    EXPECT_EQ(c.fnLiveInstanceCount(), 0);
    CCutterInstance next(&c);
    EXPECT_EQ(next.fnAttachToCutter(), 1);
}

TEST_F(CutterInstance, OnlyOneInstanceHoldsACutter) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    CCutterInstance a(&c), b(&c);
    ASSERT_EQ(a.fnStartDoc(), 0);
    EXPECT_EQ(b.fnStartDoc(), CUT_ERR_BUSY);
    CWindow w(0, 0, 100, 100);
    EXPECT_EQ(a.fnSetExtents(&w), 0);
    EXPECT_EQ(a.fnEndDoc(), 0);
    EXPECT_EQ(b.fnStartDoc(), 0);
    EXPECT_EQ(b.fnEndDoc(), 0);
}

TEST_F(CutterInstance, FailedStartLeavesTheCutterFree) {
    CDMPLCutter c;
    c.SetPortName(L"COM9");
    CCutterInstance a(&c), b(&c);
    EXPECT_EQ(a.fnStartDoc(), CUT_ERR_OPEN);
    EXPECT_FALSE(c.fnIsAttached(&a));
    c.SetPortName(L"FILE");
    EXPECT_EQ(b.fnStartDoc(), 0);
    b.fnEndDoc();
}

TEST_F(CutterInstance, CancelledCutRefusesMovesUntilTheOutputEnds) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    CCutterInstance inst(&c);
    ASSERT_EQ(inst.fnStartDoc(), 0);
    ASSERT_EQ(inst.fnStartOutput(1, 1), 0);
    ASSERT_NE(c.fnGetCancelDlg(), nullptr);
    c.fnGetCancelDlg()->OnCancel();
    POINT p = {1000, 1000};
    EXPECT_EQ(inst.fnPolyMoveTo(&p, 1), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnPolyLineTo(&p, 1), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnPenUp(), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnFeed(nullptr), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnDeselect(), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnEndOutput(), 0);
    EXPECT_FALSE(inst.fnCutCancelled());
    ASSERT_EQ(inst.fnStartOutput(1, 1), 0);
    // A feed closes the cancel window; a Cancel pressed in it still stops the job.
    c.fnGetCancelDlg()->OnCancel();
    EXPECT_EQ(c.Feed(nullptr), CUT_ERR_WRITE);
    EXPECT_EQ(c.fnGetCancelDlg(), nullptr);
    EXPECT_EQ(inst.fnPolyMoveTo(&p, 1), CUT_ERR_CANCELLED);
    EXPECT_EQ(inst.fnEndOutput(), 0);
    ASSERT_EQ(inst.fnStartOutput(0, 1), 0);
    EXPECT_EQ(inst.fnPolyMoveTo(&p, 1), 0);
    inst.fnEndOutput();
    inst.fnEndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,;:HOA,ECN,U,;:HOA,ECN,U,,U,40,-40");
}

TEST_F(CutterInstance, FailedReturnToZeroStillEndsTheOutput) {
    ScriptedCutter c;
    c.SetPortName(L"FILE");
    c.returnResult = CUT_ERR_WRITE;
    CCutterInstance inst(&c);
    ASSERT_EQ(inst.fnStartDoc(), 0);
    ASSERT_EQ(inst.fnStartOutput(0, 1), 0);
    EXPECT_EQ(inst.fnEndOutput(), CUT_ERR_WRITE);
    EXPECT_FALSE(c.InStartEndOutput());
    // The next job starts and initialises the cutter again.
    ASSERT_EQ(inst.fnStartOutput(0, 1), 0);
    c.returnResult = 0;
    inst.fnEndOutput();
    inst.fnEndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,");
}

TEST_F(CutterInstance, ReturnToZeroMovesHomeBeforeTheOutputEnds) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    c.fnSetOrigin(1);
    c.fnSetReturnToZero(1);
    CCutterInstance inst(&c);
    ASSERT_EQ(inst.fnStartDoc(), 0);
    ASSERT_EQ(inst.fnStartOutput(0, 1), 0);
    POINT p = {1000, 2000};
    ASSERT_EQ(inst.fnPolyMoveTo(&p, 1), 0);
    EXPECT_EQ(inst.fnEndOutput(), 0);
    inst.fnEndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,U,0,80,0,0");
}

TEST_F(CutterInstance, InquiryEndsAtOnceOnAFailedWriteOrStoredExtents) {
    for (int result : {CUT_ERR_WRITE, CUT_ERR_STORED, 0}) {
        ScriptedCutter c;
        c.extentsResult = result;
        CCutterInstance inst(&c);
        CWindow w;
        EXPECT_EQ(inst.fnInquireExtents(&w), result);
        EXPECT_EQ(c.inquiries, 1);
        EXPECT_TRUE(m_messages.empty());
        EXPECT_FALSE(c.fnIsAttached(&inst));
        if (result != CUT_ERR_WRITE) {
            EXPECT_EQ(w, CWindow(0, 0, 7000, 8000));
            EXPECT_EQ(c.fnGetMediaExtents(), CWindow(0, 0, 7000, 8000));
        }
    }
}

TEST_F(CutterInstance, FailedInquiryAsksAndRetryRepeats) {
    ScriptedCutter c;
    CCutterInstance inst(&c);
    int asked = 0;
    qvhost::SetMessageBoxResponder([&](const CString& text, UINT) {
        m_messages.push_back(text.ToUtf8());
        return ++asked < 3 ? qvhost::kIdRetry : qvhost::kIdCancel;
    });
    CWindow w;
    EXPECT_EQ(inst.fnInquireExtents(&w), CUT_ERR_CANCELLED);
    EXPECT_EQ(c.inquiries, 3);
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[0], "Failed to get the media size from the cutter - \nFailed due to "
                             "Timeout\nCheck if the cutter is online and the cable is connected");
    EXPECT_EQ(w, CWindow(0, 0, 2000000, 50000100));
}

TEST_F(CutterInstance, AutoRetryOfASilentCutterIsBounded) {
    qvhost::SetAppParam(L"Cutter Auto Retry", 1);
    ScriptedCutter c;
    CCutterInstance inst(&c);
    CWindow w;
    EXPECT_EQ(inst.fnInquireExtents(&w), CUT_ERR_CANCELLED);
    EXPECT_EQ(c.inquiries, CCutterInstance::kMaxAutoRetries + 1);
    // After the automatic rounds the operator is asked (the test answers Cancel).
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(CutterInstance, InquiryOnAHeldCutterIsBusy) {
    ScriptedCutter c;
    c.SetPortName(L"FILE");
    CCutterInstance holder(&c), other(&c);
    ASSERT_EQ(holder.fnStartDoc(), 0);
    CWindow w;
    EXPECT_EQ(other.fnInquireExtents(&w), CUT_ERR_BUSY);
    EXPECT_EQ(c.inquiries, 0);
    holder.fnEndDoc();
}

} // namespace
