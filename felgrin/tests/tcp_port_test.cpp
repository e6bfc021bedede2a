#include "felgrin/tcp_port.h"

#include "cutter_fixture.h"
#include "felgrin/cutter_instance.h"
#include "felgrin/dmpl_cutter.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

class TcpPort : public CutterTest {};

TEST_F(TcpPort, NoListenerFailsTheOpenWithTheMessage) {
    int port;
    {
        LoopbackCutter gone;
        port = gone.Port();
    }
    CDMPLCutter c;
    c.SetPortName(L"127.0.0.1");
    c.fnSetNetworkService(std::to_string(port));
    c.fnSetTcpTimeouts(200, 200, 0);
    // A library says nothing on standard output: the reason goes to the cut log.
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.StartDocW(), CUT_ERR_OPEN);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Could not open Vanter Socket Cutter");
    EXPECT_FALSE(c.IsDeviceOpen());
}

TEST_F(TcpPort, LongWritesGoWholeAndReadsKeepToTheCallersLength) {
    LoopbackCutter listener("(0,0,40,80,0,0,2000,4000,)");
    CTcpPort port;
    port.m_nReadTimeoutMs = 2000;
    port.m_nCloseLingerMs = 0;
    ASSERT_EQ(port.Open("127.0.0.1", listener.PortText().c_str()), 0);
    std::string big(5000, 'x');
    big += ";:ER";
    EXPECT_EQ(port.Write(big.data(), int(big.size())), int(big.size()));
    std::string reply;
    EXPECT_EQ(port.Read(reply, 5), 5);
    EXPECT_EQ(reply, "(0,0,");
    port.Close();
    EXPECT_EQ(listener.Received(5000), big);
}

TEST_F(TcpPort, ReadThatTimesOutLeavesAnEmptyText) {
    LoopbackCutter listener;
    CTcpPort port;
    port.m_nReadTimeoutMs = 200;
    port.m_nCloseLingerMs = 0;
    ASSERT_EQ(port.Open("127.0.0.1", listener.PortText().c_str()), 0);
    std::string reply = "old";
    EXPECT_EQ(port.Read(reply, 128), 0);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(port.Write("a", -1), -1);
}

// The sockets this process holds.
int OpenSockets() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        n += std::filesystem::read_symlink(e.path(), ec).string().rfind("socket:", 0) == 0;
    }
    return n;
}

// A window of the program while a cutter is asked: it counts a posted message and the ticks of
// a timer, and at the first tick after the request went the person presses Cancel in the
// cutter's window.
struct LiveWindow {
    static inline LiveWindow* s_live = nullptr;
    static constexpr UINT kPosted = WM_USER + 7;
    static constexpr UINT_PTR kTimer = 17;

    explicit LiveWindow(CBaseCutter* cutter)
        : m_pCutter(cutter), m_nSentBefore(cutter->DeviceBytesSent()) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = Proc;
        cls.lpszClassName = L"CutterWaitWindow";
        RegisterClassW(&cls);
        m_hWnd = CreateWindowExW(0, L"CutterWaitWindow", L"", WS_POPUP, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        s_live = this;
        PostMessageW(m_hWnd, kPosted, 0, 0);
        SetTimer(m_hWnd, kTimer, 100, nullptr);
    }
    ~LiveWindow() {
        KillTimer(m_hWnd, kTimer);
        DestroyWindow(m_hWnd);
        s_live = nullptr;
    }
    static LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        LiveWindow* w = s_live;
        if (w && msg == kPosted)
            w->posted = true;
        if (w && msg == WM_TIMER) {
            ++w->ticks;
            CDlgCancelCut* dlg = w->m_pCutter->fnGetCancelDlg();
            if (!w->cancelled && dlg && dlg->IsShown() &&
                w->m_pCutter->DeviceBytesSent() > w->m_nSentBefore) {
                w->cancelled = true;
                SendDlgItemMessageW(dlg->m_hWnd, IDCANCEL, BM_CLICK, 0, 0);
            }
        }
        return DefWindowProcW(h, msg, wp, lp);
    }

    CBaseCutter* m_pCutter;
    int m_nSentBefore;
    HWND m_hWnd = nullptr;
    bool posted = false;
    int ticks = 0;
    bool cancelled = false;
};

// A network cutter that takes the media inquiry and never answers. The wait for its reply keeps
// the program live (a posted message and a timer are handled), the Cancel button ends it (the
// reply wait is far longer than the test may run), and the connection goes with the sheet's
// document, with its instance or with the cutter.
TEST_F(TcpPort, AnInquiryTheCutterNeverAnswersStaysLiveEndsAtCancelAndLeavesNoSocket) {
    enum class Goes { DocumentEnds, InstanceGoes, CutterGoes };
    for (Goes goes : {Goes::DocumentEnds, Goes::InstanceGoes, Goes::CutterGoes}) {
        SCOPED_TRACE(int(goes));
        m_messages.clear();
        LoopbackCutter listener;
        const int before = OpenSockets();
        auto c = std::make_unique<CDMPLCutter>();
        c->SetPortName(L"127.0.0.1");
        c->fnSetNetworkService(listener.PortText());
        c->fnSetTcpTimeouts(200, 600000, 3000);
        auto job = std::make_unique<CCutterInstance>(c.get());
        ASSERT_EQ(job->fnStartDoc(), 0); // the sheet holds the connection
        EXPECT_GT(OpenSockets(), before);
        {
            LiveWindow window(c.get());
            CWindow w;
            EXPECT_EQ(job->fnInquireExtents(&w), CUT_ERR_CANCELLED);
            EXPECT_TRUE(window.posted);
            EXPECT_GE(window.ticks, 2);
            EXPECT_TRUE(window.cancelled);
        }
        EXPECT_TRUE(m_messages.empty()); // the person cancelled: nothing to ask
        EXPECT_EQ(c->fnGetCancelDlg(), nullptr);
        EXPECT_FALSE(job->fnCutCancelled()); // the next job starts clean
        if (goes == Goes::DocumentEnds)
            job->fnEndDoc();
        else if (goes == Goes::InstanceGoes)
            job.reset();
        else
            c.reset();
        EXPECT_EQ(listener.Received(5000), ";:ER");
        EXPECT_EQ(OpenSockets(), before);
        job.reset();
        c.reset();
    }
}

TEST_F(TcpPort, ExtentsInquiryOverTheNetwork) {
    LoopbackCutter listener("(0,0,40,80,0,0,2000,4000,)");
    CDMPLCutter c;
    c.SetPortName(L"127.0.0.1");
    c.fnSetNetworkService(listener.PortText());
    c.fnSetTcpTimeouts(200, 2000, 0);
    c.fnSetOrigin(1);
    CWindow w;
    EXPECT_EQ(c.InquireExtents(&w), 0);
    EXPECT_EQ(w, CWindow(0, 0, 50000, 100000));
    EXPECT_FALSE(c.IsDeviceOpen());
    EXPECT_EQ(listener.Received(5000), ";:ER");
}

} // namespace

namespace {

class FaultyNetworkCutter : public CutterTest {
protected:
    // A cutter on the listener, with waits short enough for a test.
    static void Aim(CDMPLCutter& c, const LoopbackCutter& listener) {
        c.SetPortName(L"127.0.0.1");
        c.fnSetNetworkService(listener.PortText());
        c.fnSetTcpTimeouts(200, 500, 500);
        c.fnSetWriteTimeout(500);
        c.fnSetOrigin(1);
    }
};

// The first failure of a one-path job, or 0 when it all went.
int OnePathJob(CDMPLCutter& c) {
    int r = c.StartDocW();
    if (r != 0)
        return r;
    r = c.StartOutput(0, 1);
    POINT start = {1000, 2000};
    if (r == 0)
        r = c.PolyMoveTo(&start, 1);
    POINT cut[] = {{3000, 2000}, {3000, 4000}};
    if (r == 0)
        r = c.PolyLineTo(cut, 2);
    int end = c.EndOutput();
    c.EndDoc();
    return r != 0 ? r : end;
}

TEST_F(FaultyNetworkCutter, JobsThatDoNotReachTheCutterFailAndTheOperatorIsTold) {
    for (auto behaviour :
         {LoopbackCutter::Behaviour::ClosesAtOnce, LoopbackCutter::Behaviour::Resets}) {
        LoopbackCutter listener(behaviour);
        for (int job = 0; job < 5; ++job) {
            m_messages.clear();
            CDMPLCutter c;
            Aim(c, listener);
            // A reset can come before the connection is made: then the open fails.
            int r = OnePathJob(c);
            ASSERT_EQ(m_messages.size(), 1u) << int(behaviour) << " job " << job;
            if (r == CUT_ERR_OPEN) {
                EXPECT_EQ(m_messages[0], "Could not open Vanter Socket Cutter");
            } else {
                EXPECT_EQ(r, CUT_ERR_WRITE) << int(behaviour) << " job " << job;
                // No time-out passed: the operator is not sent to look for an off-line cutter.
                EXPECT_EQ(m_messages[0], "The cutter refused or reset the connection\nCheck that "
                                         "it takes jobs on this port and that no other program "
                                         "is sending to it");
            }
        }
    }
}

TEST_F(FaultyNetworkCutter, CutterThatNeverReadsStopsALongJobWithTheQuestion) {
    LoopbackCutter listener(LoopbackCutter::Behaviour::NeverReads);
    CDMPLCutter c;
    Aim(c, listener);
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    std::string job(2 << 20, 'x');
    int r = c.SendString(job);
    int end = c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(r != 0 ? r : end, CUT_ERR_WRITE);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Device Write Time-out\nIs the cutter off-line?");
    EXPECT_NE(ReadFile("CutLog.txt").find("\nFailed to Write to Cutter - \n"), std::string::npos);
}

} // namespace
