#include "felgrin/dmpl_cutter.h"

#include "cutter_fixture.h"
#include "felgrin/vanter_qx3_cutter.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "platform/system/port_devices.h"
#include "platform/system/serial_port.h"
#include "platform/tests/cups_scheduler.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace {

// The one-path job: a move to (1000, 2000) and two cuts, at origin 1 so that data units divide
// straight into steps of 25.
int RunOnePathJob(CDMPLCutter& c) {
    int r = c.StartDocW();
    if (r != 0)
        return r;
    c.StartPage();
    r = c.StartOutput(0, 1);
    POINT start = {1000, 2000};
    if (r == 0)
        r = c.PolyMoveTo(&start, 1);
    POINT cut[] = {{3000, 2000}, {3000, 4000}};
    if (r == 0)
        r = c.PolyLineTo(cut, 2);
    int rz = c.ReturnToZero();
    c.EndOutput();
    c.EndPage();
    c.EndDoc();
    return r != 0 ? r : rz;
}

const char kOnePathBytes[] = ";:HOA,ECN,U," // output start
                             ";:HOA,ECN,U," // before the first pen command
                             ",U"           // pen up after the command prefix
                             ",40,80"       // first point with a leading separator
                             ",D"           // pen down
                             ",120,80"      //
                             ",120,160";    //

const char kOnePathLog[] = ";:HOA,ECN,U,\r\n"
                           ";:HOA,ECN,U,\r\n"
                           ",U\r\n"
                           ",40,80\r\n"
                           ",D\r\n"
                           ",120,80\r\n"
                           ",120,160\r\n";

class DMPLCutter : public CutterTest {};

TEST_F(DMPLCutter, SecondJobStartsWithAFreshLogAndFile) {
    CDMPLCutter c;
    c.SetPortName(L"file");
    c.fnSetOrigin(1);
    ASSERT_EQ(RunOnePathJob(c), 0);
    ASSERT_EQ(RunOnePathJob(c), 0);
    // The second job's first pen command is not initialised again (the flag is set by feeds),
    // and it follows a command boundary, so it has no prefix.
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,U,40,80,D,120,80,120,160");
    EXPECT_EQ(ReadFile("CutLog.txt"),
              ";:HOA,ECN,U,\r\nU\r\n,40,80\r\n,D\r\n,120,80\r\n,120,160\r\n");
}

TEST_F(DMPLCutter, CommandsAfterAFeedAreInitialisedAgain) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    c.fnSetOrigin(1);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    POINT p = {1000, 2000};
    c.PolyMoveTo(&p, 1);
    CLpoint feedTo(0, 0);
    EXPECT_EQ(c.Feed(&feedTo), 0);
    POINT q = {5000, 5000};
    c.PolyMoveTo(&q, 1);
    std::string at = "@";
    c.SendString(at);
    c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,e;:HOA,ECN,U,,U,200,200@");
}

TEST_F(DMPLCutter, OutputGoesInBlocksWhenOldOrLargeAndAtTheEnd) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    c.fnSetOrigin(1);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    // The start goes at once; the moves wait for company.
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,");
    POINT start = {1000, 2000};
    ASSERT_EQ(c.PolyMoveTo(&start, 1), 0);
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,");
    // Once the first waiting byte is old, the next command takes them all.
    clock.Advance(CUTTER_OUTPUT_HOLD_MS);
    POINT cut = {3000, 2000};
    ASSERT_EQ(c.PolyLineTo(&cut, 1), 0);
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,D");
    // A block's worth goes without waiting.
    std::string block(CUTTER_OUTPUT_BLOCK_BYTES, 'x');
    ASSERT_EQ(c.SendString(block), 0);
    EXPECT_EQ(ReadFile("output.spl").size(), 41 + block.size());
    POINT last = {3000, 4000};
    ASSERT_EQ(c.PolyLineTo(&last, 1), 0);
    EXPECT_EQ(ReadFile("output.spl").size(), 41 + block.size());
    EXPECT_EQ(c.EndOutput(), 0);
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"),
              ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,D,120,80" + block + ",120,160");
}

TEST_F(DMPLCutter, FeedWithFeedThenCutAppendsTheCutSuffix) {
    qvhost::SetAppParam(L"Cut Out Feed Options", 1);
    qvhost::SetAppParam(L"Cut Out Feed Then Cut", 1);
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    ASSERT_EQ(c.StartDocW(), 0);
    EXPECT_EQ(c.Feed(nullptr), 0);
    EXPECT_EQ(c.Deselect(), 0);
    EXPECT_EQ(c.Recut(3), 0);
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,e;:c@\x1b;@:RECUT=3.END.");
}

TEST_F(DMPLCutter, PreloadCountsRowsOfTheWindowHeight) {
    struct Case {
        LONG height;
        const char* command;
    } cases[] = {{1000, "EW 41"}, {13, "EW 2"}, {12, "EW 0"}};
    for (const Case& k : cases) {
        CDMPLCutter c;
        c.SetPortName(L"FILE");
        ASSERT_EQ(c.StartDocW(), 0);
        ASSERT_EQ(c.StartOutput(0, 0), 0);
        EXPECT_EQ(c.Preload(CWindow(0, 0, 500, k.height)), 0);
        c.EndOutput();
        c.EndDoc();
        EXPECT_EQ(ReadFile("output.spl"), std::string(";:HOA,ECN,U,,") + k.command + ",e")
            << k.height;
    }
}

TEST_F(DMPLCutter, PerforationIsSentAndTheNormalToolOnceOnTheWayBackQX3SendsNone) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    for (int style : {0, 1, 0, 0, 2, 1, 2})
        EXPECT_EQ(c.fnSetLineStyle(style), 0) << style;
    c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,,P6,P0,P6,P0");

    CVanterQX3Cutter q;
    q.SetPortName(L"FILE");
    ASSERT_EQ(q.StartDocW(), 0);
    ASSERT_EQ(q.StartOutput(0, 1), 0);
    EXPECT_EQ(q.fnSetLineStyle(1), 0);
    EXPECT_EQ(q.fnSetLineStyle(0), 0);
    q.EndOutput();
    q.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,");
}

TEST_F(DMPLCutter, OutputAfterAPerforatedOneStartsWithTheNormalTool) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    EXPECT_EQ(c.fnSetLineStyle(1), 0);
    c.EndOutput();
    // The next output's drawing context believes in the normal tool from its start.
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    c.EndOutput();
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:HOA,ECN,U,;:HOA,ECN,U,,P6;:HOA,ECN,U,P0;:HOA,ECN,U,");
}

// What a freshly made cutter does before anyone has set it up.
TEST_F(DMPLCutter, FreshCuttersWorkWithTheirMakersSettings) {
    struct Case {
        std::unique_ptr<CDMPLCutter> cutter;
        const wchar_t* name;
        POINT stepsOf100And50; // the point transform shows the origin
        CWindow limits;        // what a port without replies reports
    } cases[] = {
        {std::make_unique<CDMPLCutter>(), L"DM/PL Cutter", {2, 36}, {0, 0, 2000000, 50000100}},
        {std::make_unique<CVanterQX3Cutter>(),
         L"DM/PL Vanter QX3",
         {4, 2},
         {0, 0, 910000, 50000000}},
    };
    for (Case& k : cases) {
        CDMPLCutter& c = *k.cutter;
        // The cancel window names the cutter and its port: USB, or a serial port at 9600 baud.
        ASSERT_EQ(c.ShowCancelDlg(1), 0);
        EXPECT_EQ(c.fnGetCancelDlg()->m_strCutter, k.name);
        EXPECT_EQ(c.fnGetCancelDlg()->m_strPort, L"USB");
        c.ShowCancelDlg(-1);
        c.SetPortName(L"COM1");
        c.ShowCancelDlg(1);
        EXPECT_EQ(c.fnGetCancelDlg()->m_strPort, L"COM1 @ 9600 baud");
        c.ShowCancelDlg(-1);
        c.SetPortName(L"FILE");
        CWindow stored;
        EXPECT_EQ(c.InquireExtents(&stored), 0);
        EXPECT_EQ(stored, k.limits) << k.name;
        CWindow media(0, 0, 1000, 2000);
        c.SetExtents(&media);
        POINT p = {100, 50};
        POINT steps = c.TransformPoint(&p);
        EXPECT_EQ(steps.x, k.stepsOf100And50.x);
        EXPECT_EQ(steps.y, k.stepsOf100And50.y);
    }
    // The read buffer's size is stored when the parameter is missing.
    EXPECT_EQ(qvhost::GetAppParam(L"DMPL Read Buffer", -1), 128);
}

TEST_F(DMPLCutter, ReadBufferParameterIsBounded) {
    for (int stored : {-5, 0, 100000}) {
        qvhost::SetAppParam(L"DMPL Read Buffer", stored);
        CDMPLCutter c;
        EXPECT_GE(c.fnGetReadBufferSize(), 1) << stored;
        EXPECT_LE(c.fnGetReadBufferSize(), DMPL_MAX_READ_BUFFER) << stored;
    }
}

TEST_F(DMPLCutter, ExtentsReplyParsing) {
    CDMPLCutter c;
    struct Case {
        const char* reply;
        int ok;
    } cases[] = {
        {"(0,0,40,80,0,0,2000,4000,", 1},
        {"junk(1,2,3,4,5,6,7,8,)", 1},
        {"(0,0,40,80,0,0,2000,4000)", 0}, // the eighth value must end with a comma
        {"(0,0,40,80,0,0,2000,", 0},
        {"0,0,40,80,0,0,2000,4000,", 0},
        {"(a,0,40,80,0,0,2000,4000,", 0},
        {"(99999999999999999999,0,0,0,0,0,0,0,", 1}, // saturates, never overflows
        {"", 0},
    };
    for (const Case& k : cases) {
        int a, b;
        POINT pos;
        CWindow ext;
        EXPECT_EQ(c.ReadExtentsData(k.reply, a, b, pos, &ext), k.ok) << k.reply;
    }
    int a, b;
    POINT pos;
    CWindow ext;
    ASSERT_EQ(c.ReadExtentsData("(0,0,40,80,0,0,2000,4000,", a, b, pos, &ext), 1);
    EXPECT_EQ(pos.x, 40);
    EXPECT_EQ(pos.y, 80);
    EXPECT_EQ(ext, CWindow(0, 0, 2000, 4000));
}

TEST_F(DMPLCutter, ExtentsOnTheFilePortAreWrittenIntoTheOutputAndStoredOnesReturned) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    CWindow media(0, 0, 600000, 900000);
    c.SetExtents(&media);
    EXPECT_EQ(c.fnGetMaxWidth(), 600000);
    ASSERT_EQ(c.StartDocW(), 0);
    CWindow w;
    EXPECT_EQ(c.InquireExtents(&w), 0);
    EXPECT_EQ(w, media);
    c.EndDoc();
    EXPECT_EQ(ReadFile("output.spl"), ";:ER");
}

TEST_F(DMPLCutter, AnOutputAfterAnInquiryOnTheFilePortStartsWithoutAStraySeparator) {
    CDMPLCutter c;
    c.SetPortName(L"FILE");
    c.fnSetOrigin(1);
    CWindow w;
    EXPECT_EQ(c.InquireExtents(&w), 0);
    ASSERT_EQ(RunOnePathJob(c), 0);
    EXPECT_EQ(ReadFile("output.spl"), kOnePathBytes);
}

// The serial cutter -------------------------------------------------------------------------

class SerialCutter : public CutterTest {
protected:
    void SetUp() override {
        CutterTest::SetUp();
        ASSERT_FALSE(m_fake.Path().empty());
        platform::SetPortDevicePath(L"COM1", m_fake.Path());
    }
    FakeSerialCutter m_fake;
};

TEST_F(SerialCutter, SetUpAsksForTheRecordsSettingsWithXonAsDC1) {
    std::vector<platform::SerialSettings> seen;
    platform::SetSerialSettingsObserver(
        [&](const platform::SerialSettings& s) { seen.push_back(s); });
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    _CommsParams* p = c.fnGetCommsParams();
    p->nBaudRate = 19200;
    p->nFlowControl = COMMS_FLOW_RTSCTS | COMMS_FLOW_XONXOFF;
    ASSERT_EQ(c.DeviceOpen(1), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].baudRate, 19200);
    EXPECT_EQ(seen[0].dataBits, 8);
    EXPECT_TRUE(seen[0].rtsCts);
    EXPECT_TRUE(seen[0].xonXoff);
    EXPECT_FALSE(seen[0].dtrDsr);
    EXPECT_EQ(seen[0].xonChar, 0x11);
    EXPECT_EQ(seen[0].xoffChar, 0x13);
}

TEST_F(SerialCutter, RefusedSetUpFailsTheOpenAndSaysWhy) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    // A pseudo-terminal has no modem lines: the DTR/DSR handshake cannot be set.
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_DTRDSR;
    EXPECT_EQ(c.DeviceOpen(1), 0);
    EXPECT_FALSE(c.IsDeviceOpen());
    EXPECT_FALSE(c.fnGetSetupError().empty());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("DTR"), std::string::npos) << m_messages[0];
    EXPECT_EQ(c.StartDocW(), CUT_ERR_OPEN);
}

TEST_F(SerialCutter, XoffPausesTheWriteAndXonResumesIt) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_XONXOFF;
    ASSERT_EQ(c.StartDocW(), 0);
    m_fake.Send("\x13");
    ASSERT_TRUE(m_fake.WaitUntilStopped(2000));
    std::string whilePaused, afterXon;
    std::thread cutter([&] {
        whilePaused = m_fake.Receive(300);
        m_fake.Send("\x11");
        afterXon = m_fake.Receive(5000, ",120,160");
    });
    c.StartPage();
    int r = c.StartOutput(0, 1);
    POINT start = {1000, 2000};
    if (r == 0)
        r = c.PolyMoveTo(&start, 1);
    POINT cut[] = {{3000, 2000}, {3000, 4000}};
    if (r == 0)
        r = c.PolyLineTo(cut, 2);
    c.EndOutput();
    c.EndDoc();
    cutter.join();
    EXPECT_EQ(r, 0);
    EXPECT_EQ(whilePaused, "");
    EXPECT_EQ(afterXon, kOnePathBytes);
}

TEST_F(SerialCutter, WithoutXonTheWriteTimesOutAndTheJobReportsAFailedWrite) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_XONXOFF;
    c.fnSetWriteTimeout(200);
    ASSERT_EQ(c.StartDocW(), 0);
    m_fake.Send("\x13");
    ASSERT_TRUE(m_fake.WaitUntilStopped(2000));
    EXPECT_EQ(c.StartOutput(0, 1), CUT_ERR_WRITE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Device Write Time-out\nIs the cutter off-line?");
    EXPECT_TRUE(c.CutCancelled());
    POINT p = {1000, 2000};
    EXPECT_EQ(c.PolyMoveTo(&p, 1), CUT_ERR_WRITE);
    c.EndOutput();
    c.EndDoc();
    EXPECT_NE(ReadFile("CutLog.txt").find("\nFailed to Write to Cutter - \n"), std::string::npos);
}

// The rest of a one-path job after its output start: the first failure, or 0.
int MovesAndEnd(CDMPLCutter& c) {
    POINT start = {1000, 2000};
    int r = c.PolyMoveTo(&start, 1);
    POINT cut[] = {{3000, 2000}, {3000, 4000}};
    if (r == 0)
        r = c.PolyLineTo(cut, 2);
    int end = c.EndOutput();
    return r != 0 ? r : end;
}

TEST_F(SerialCutter, StalledCutterGetsTheOperatorAskedAfterOneWriteTimeOut) {
    std::atomic<bool> asked{false};
    qvhost::SetMessageBoxResponder([&](const CString& text, UINT) {
        m_messages.push_back(text.ToUtf8());
        asked = true;
        return qvhost::kIdCancel;
    });
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_XONXOFF;
    c.fnSetWriteTimeout(300);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    m_fake.Send("\x13");
    ASSERT_TRUE(m_fake.WaitUntilStopped(2000));
    // The cutter comes back on line after a while, whether or not anyone was asked.
    std::thread cutter([&] {
        for (int i = 0; i < 500 && !asked; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        m_fake.Send("\x11");
    });
    int r = MovesAndEnd(c);
    cutter.join();
    c.EndDoc();
    EXPECT_EQ(r, CUT_ERR_WRITE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Device Write Time-out\nIs the cutter off-line?");
}

TEST_F(SerialCutter, CancelDuringAStalledWriteIsSeenWithoutWaitingForTheTimeOut) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_XONXOFF;
    c.fnSetWriteTimeout(60000);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    EXPECT_EQ(m_fake.Receive(2000, ";:HOA,ECN,U,"), ";:HOA,ECN,U,");
    m_fake.Send("\x13");
    ASSERT_TRUE(m_fake.WaitUntilStopped(2000));
    // The operator presses Cancel half a second into the stall.
    auto pressAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    qvhost::SetMessagePump([&] {
        if (std::chrono::steady_clock::now() >= pressAt)
            c.SetCutCancelled(1);
    });
    std::string after;
    std::atomic<bool> ended{false};
    std::thread cutter([&] {
        for (int i = 0; i < 500 && !ended; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        m_fake.Send("\x11");
        after = m_fake.Receive(1000);
    });
    int r = MovesAndEnd(c);
    ended = true;
    cutter.join();
    qvhost::SetMessagePump(nullptr);
    c.EndDoc();
    EXPECT_EQ(r, CUT_ERR_WRITE);
    EXPECT_TRUE(m_messages.empty());
    // Nothing held up by the stall reaches the cutter once the operator has cancelled.
    EXPECT_EQ(after, "");
}

TEST_F(SerialCutter, ExtentsInquiryReadsTheCuttersReply) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    std::thread cutter([&] {
        if (m_fake.Receive(3000, ";:ER").find(";:ER") != std::string::npos)
            m_fake.Send("(0,0,40,80,0,0,2000,4000,)");
    });
    CWindow w;
    int r = c.InquireExtents(&w);
    cutter.join();
    EXPECT_EQ(r, 0);
    EXPECT_EQ(w, CWindow(0, 0, 50000, 100000));
    POINT pos = c.fnInquireCurrentPosition();
    EXPECT_EQ(pos.x, 1000);
    EXPECT_EQ(pos.y, 2000);
    EXPECT_FALSE(c.IsDeviceOpen()); // opened for the inquiry only
}

TEST_F(SerialCutter, InquiryDuringAnOutputSendsWhatWasCollectedBeforeItsRequest) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    POINT start = {1000, 2000};
    ASSERT_EQ(c.PolyMoveTo(&start, 1), 0);
    std::string seen;
    std::thread cutter([&] {
        seen = m_fake.Receive(3000, ";:ER");
        if (seen.find(";:ER") != std::string::npos)
            m_fake.Send("(0,0,40,80,0,0,2000,4000,)");
    });
    CWindow w;
    int r = c.InquireExtents(&w);
    cutter.join();
    c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(r, 0);
    EXPECT_EQ(seen, ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,;:ER");
}

TEST_F(SerialCutter, GarbageExtentsReplyGivesMinus8WithTheMessage) {
    platform::ManualClock clock; // the waits between tries pass at once
    platform::ScopedClock scoped(clock);
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetReadTimeout(300);
    std::thread cutter([&] {
        for (int i = 0; i < 5; ++i) {
            if (m_fake.Receive(3000, ";:ER").find(";:ER") == std::string::npos)
                break;
            m_fake.Send("HELLO\r");
        }
    });
    CWindow w;
    int r = c.InquireExtents(&w);
    cutter.join();
    EXPECT_EQ(r, CUT_ERR_READ);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Failed to read extents from cutter\nReturns <HELLO\r>");
    EXPECT_EQ(w, CWindow(0, 0, 2000000, 50000100)); // the stored extents
}

TEST_F(SerialCutter, SilentCutterGivesMinus5AfterTheTimeOut) {
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetReadTimeout(300);
    CWindow w;
    EXPECT_EQ(c.InquireExtents(&w), CUT_ERR_CANCELLED);
    EXPECT_EQ(m_fake.Receive(500), ";:ER");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SerialCutter, MissingDeviceIsReportedAndTheJobGetsMinus2) {
    platform::SetPortDevicePath(L"COM7", m_home + "/no-such-tty");
    CDMPLCutter c;
    c.SetPortName(L"COM7");
    EXPECT_EQ(c.StartDocW(), CUT_ERR_OPEN);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].rfind("Failed to Open Device " + m_home + "/no-such-tty\n", 0), 0u);
}

} // namespace

// The printer queue ----------------------------------------------------------------------------

namespace {

// The run's scheduler, whose raw queue "VanterTest" passes each job to a loopback listener.
class PrinterQueueCutter : public CutterTest {
protected:
    static void SetUpTestSuite() {
        s_started = s_scheduler.Start();
        ::setenv("CUPS_SERVER", s_scheduler.Server().c_str(), 1);
    }
    static void TearDownTestSuite() { s_scheduler.Stop(); }
    void SetUp() override {
        CutterTest::SetUp();
        ASSERT_TRUE(s_started) << s_scheduler.Why();
        m_lock = std::make_unique<TestCupsScheduler::QueueLock>(s_scheduler);
        ASSERT_TRUE(m_lock->Held());
        s_dir = s_scheduler.Dir();
    }
    static TestCupsScheduler s_scheduler;
    static std::string s_dir;
    static bool s_started;
    std::unique_ptr<TestCupsScheduler::QueueLock> m_lock;
};
TestCupsScheduler PrinterQueueCutter::s_scheduler;
std::string PrinterQueueCutter::s_dir;
bool PrinterQueueCutter::s_started = false;

bool EchoRefused() {
    return platform::EchoTest("127.0.0.1", "probe", 200) == platform::EchoResult::NotPermitted;
}

// The one-path job over every transport: the same bytes reach the cutter, each command is on a
// line of its own in the cut log, and nobody is asked anything.
TEST_F(PrinterQueueCutter, OnePathJobReachesTheCutterOverEveryTransport) {
    FakeSerialCutter serial;
    ASSERT_FALSE(serial.Path().empty());
    platform::SetPortDevicePath(L"COM1", serial.Path());
    LoopbackCutter network;
    LoopbackCutter spooled; // where the private scheduler's queue sends its jobs
    std::ofstream(s_dir + "/target") << spooled.Port();
    std::string usb = m_home + "/usb";
    ::mkdir(usb.c_str(), 0700);
    ::setenv("VANTERUSB_DIR", usb.c_str(), 1);
    std::ofstream(usb + "/lp0").close();

    struct Transport {
        const char* name;
        const wchar_t* port;
        std::function<std::string()> received;
    } transports[] = {
        {"file", L"FILE", [&] { return ReadFile("output.spl"); }},
        {"serial", L"COM1", [&] { return serial.Receive(2000, ",120,160"); }},
        {"usb", L"USB", [&] { return ReadWholeFile(usb + "/lp0"); }},
        {"tcp", L"127.0.0.1", [&] { return network.Received(5000); }},
        {"printer queue", L"VanterTest", [&] { return spooled.Received(20000); }},
    };
    for (const Transport& t : transports) {
        m_messages.clear();
        CDMPLCutter c;
        c.SetPortName(t.port);
        c.fnSetNetworkService(network.PortText());
        c.fnSetTcpTimeouts(200, 2000, 0);
        c.fnSetOrigin(1);
        ASSERT_EQ(RunOnePathJob(c), 0) << t.name;
        EXPECT_EQ(t.received(), kOnePathBytes) << t.name;
        EXPECT_EQ(c.DeviceBytesSent(), int(sizeof kOnePathBytes - 1)) << t.name;
        std::string log = ReadFile("CutLog.txt");
        std::string expected = kOnePathLog;
        // A system that refuses unprivileged echo sockets gets that said first.
        if (std::string(t.name) == "tcp" && EchoRefused()) {
            EXPECT_EQ(log.rfind("echo: the system refuses unprivileged ICMP sockets", 0), 0u);
            log = log.size() >= expected.size() ? log.substr(log.size() - expected.size()) : log;
        }
        EXPECT_EQ(log, expected) << t.name;
        EXPECT_TRUE(m_messages.empty()) << t.name;
    }
    ::unsetenv("VANTERUSB_DIR");
    std::string title;
    std::getline(std::ifstream(s_dir + "/target.title"), title);
    EXPECT_EQ(title, "Vanter Plot");
}

TEST_F(PrinterQueueCutter, MissingQueueIsReportedAndItsWritesFail) {
    CDMPLCutter c;
    c.SetPortName(L"No Such Cutter");
    ASSERT_EQ(c.StartDocW(), 0);
    EXPECT_EQ(c.StartOutput(0, 1), CUT_ERR_WRITE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Failed to Open Spooler file for No Such Cutter");
    c.EndOutput();
    c.EndDoc();
}

} // namespace

namespace {

TEST(CutterClasses, AreMadeByClassName) {
    struct Case {
        const char* name;
        int model;
    } cases[] = {{"CDMPLCutter", CUTTER_MODEL_DMPL}, {"CVanterQX3Cutter", CUTTER_MODEL_QX3}};
    for (const Case& k : cases) {
        CRuntimeClass* rc = CRuntimeClass::FromName(k.name);
        ASSERT_NE(rc, nullptr) << k.name;
        std::unique_ptr<CObject> o(rc->CreateObject());
        ASSERT_TRUE(o->IsKindOf(RUNTIME_CLASS(CBaseCutter)));
        EXPECT_EQ(static_cast<CBaseCutter*>(o.get())->fnGetCutterModel(), k.model);
        EXPECT_STREQ(o->GetRuntimeClass()->m_lpszClassName, k.name);
    }
    EXPECT_NE(CRuntimeClass::FromName("CCutterInstance"), nullptr);
}

} // namespace

namespace {

class DeviceFaults : public CutterTest {};

TEST_F(DeviceFaults, DeviceThatFailsEveryWriteIsReportedNotRetriedForEver) {
    platform::SetPortDevicePath(L"DIRECT", "/dev/full");
    CDMPLCutter c;
    c.SetPortName(L"DIRECT");
    ASSERT_EQ(c.StartDocW(), 0);
    EXPECT_EQ(c.StartOutput(0, 1), CUT_ERR_WRITE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Device Write Time-out\nIs the cutter off-line?");
    c.EndOutput();
    c.EndDoc();
}

TEST_F(DeviceFaults, ReadStringTakesShortRepliesAndReportsSilenceAndFailedReads) {
    FakeSerialCutter fake;
    platform::SetPortDevicePath(L"COM2", fake.Path());
    CDMPLCutter c;
    c.SetPortName(L"COM2");
    c.fnSetReadTimeout(200);
    ASSERT_EQ(c.DeviceOpen(1), 1);
    fake.Send("OK\r");
    std::string text;
    EXPECT_EQ(c.ReadString(text), 0);
    EXPECT_EQ(text, "OK\r");
    EXPECT_EQ(c.ReadString(text), CUT_ERR_CANCELLED);
    EXPECT_EQ(text, "");
    // A full buffer of 1024 bytes fits with its terminating zero.
    fake.Send(std::string(1500, 'x'));
    EXPECT_EQ(c.ReadString(text), 0);
    EXPECT_EQ(text.size(), 1024u);
    c.DeviceClose();

    // A USB port without its library object fails the read: the error is not a byte count.
    CDMPLCutter usb;
    BYTE buffer[16];
    EXPECT_EQ(usb.DeviceRead(buffer, 15, ""), -2);
    EXPECT_EQ(usb.ReadString(text), CUT_ERR_READ);
}

} // namespace
