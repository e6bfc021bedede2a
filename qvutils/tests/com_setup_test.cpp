#include "qvutils/com_setup.h"

#include "platform/display/display.h"
#include "platform/tests/cups_scheduler.h"
#include "platform/tests/settings_sandbox.h"
#include "qvutils/dlg_config_ip.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// The suite uses the run's scheduler, with the queues "VanterTest", "Fax" and "Office_Fax".
class ComSetupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_started = s_scheduler.Start(); }
    static void TearDownTestSuite() { s_scheduler.Stop(); }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_scheduler.Why();
        ::setenv("CUPS_SERVER", s_scheduler.Server().c_str(), 1);
        // The scheduler is up; a loaded machine may still answer after the usual time-out.
        ComSetup::SetPrinterListTimeout(kPatientMs);
        m_sandbox = std::make_unique<SettingsSandbox>();
        qvhost::ResetAppParams();
        QvResetPreferenceCache();
        qvhost::SetMessageBoxResponder([this](const CString& text, UINT) {
            m_messages.push_back(text);
            return qvhost::kIdOk;
        });
    }
    void TearDown() override {
        qvhost::SetMessageBoxResponder(nullptr);
        qvhost::ResetAppParams();
        m_sandbox.reset();
    }

    // Runs the set-up on `p`: `act` sees the open dialog, then `button` is pressed. Nested
    // "Configure IP" dialogs go to `ip`.
    int Run(_CommsParams& p, std::function<void(HWND)> act, int button = IDOK,
            std::function<void(HWND)> ip = nullptr) {
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            if (id == IDD_CONFIG_IP) {
                if (ip)
                    ip(h);
                else
                    SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
                return;
            }
            if (act)
                act(h);
            SendDlgItemMessageW(h, button, BM_CLICK, 0, 0);
        });
        return SetupComPort(&p);
    }
    static std::vector<std::wstring> Ports(HWND h) {
        std::vector<std::wstring> out;
        HWND c = GetDlgItem(h, IDC_PORT);
        for (int i = 0; i < int(SendMessageW(c, CB_GETCOUNT, 0, 0)); ++i) {
            std::wstring s(size_t(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
            s.resize(s.size() - 1);
            out.push_back(s);
        }
        return out;
    }
    static std::wstring Selected(HWND h) {
        wchar_t buf[64];
        GetDlgItemTextW(h, IDC_PORT, buf, 64);
        return buf;
    }
    static void Choose(HWND h, const wchar_t* entry) {
        HWND c = GetDlgItem(h, IDC_PORT);
        platform::ChooseListItem(c, int(SendMessageW(c, CB_FINDSTRINGEXACT, WPARAM(-1),
                                                     reinterpret_cast<LPARAM>(entry))));
    }
    static void TypeAddress(HWND ip, std::initializer_list<int> octets) {
        int i = 0;
        for (int v : octets)
            platform::EditIPAddressField(GetDlgItem(ip, IDC_IP_ADDRESS), i++, v);
        SendDlgItemMessageW(ip, IDOK, BM_CLICK, 0, 0);
    }

    static constexpr int kPatientMs = 60000;
    static TestCupsScheduler s_scheduler;
    static bool s_started;
    std::unique_ptr<SettingsSandbox> m_sandbox;
    std::vector<CString> m_messages;
};
TestCupsScheduler ComSetupTest::s_scheduler;
bool ComSetupTest::s_started = false;

_CommsParams Record(const wchar_t* port, int baud, int data, int stop, int parity, int flow) {
    _CommsParams p;
    p.szPortName = port;
    p.nBaudRate = baud;
    p.nDataBits = data;
    p.nStopBits = stop;
    p.nParity = parity;
    p.nFlowControl = flow;
    p.nInQueue = 4096;
    p.nOutQueue = 512;
    return p;
}

bool Same(const _CommsParams& a, const _CommsParams& b) {
    return a.szPortName == b.szPortName && a.nBaudRate == b.nBaudRate &&
           a.nDataBits == b.nDataBits && a.nStopBits == b.nStopBits && a.nParity == b.nParity &&
           a.nFlowControl == b.nFlowControl && a.nInQueue == b.nInQueue &&
           a.nOutQueue == b.nOutQueue;
}

TEST_F(ComSetupTest, ARecordConfirmedUntouchedComesBackAsItWas) {
    struct Case {
        _CommsParams in;
        int flowShown;
        int flowBack;
    } cases[] = {
        {Record(L"COM3", 9600, 8, 2, 0, 4), IDC_FLOW_XONXOFF, 4},
        {Record(L"COM1", 38400, 7, 0, 1, 3), IDC_FLOW_DTRDSR, 1}, // both hardware bits
        {Record(L"COM2", 115200, 8, 0, 2, 2), IDC_FLOW_RTSCTS, 2},
        {Record(L"LPT2", 300, 8, 0, 2, 0), IDC_FLOW_NONE, 0},
    };
    for (const Case& c : cases) {
        _CommsParams p = c.in;
        int shown = 0;
        std::wstring port;
        EXPECT_EQ(Run(p,
                      [&](HWND h) {
                          shown =
                              platform::GetCheckedRadioButton(h, IDC_FLOW_XONXOFF, IDC_FLOW_NONE);
                          port = Selected(h);
                      }),
                  1);
        EXPECT_EQ(shown, c.flowShown);
        EXPECT_EQ(port, std::wstring(c.in.szPortName));
        _CommsParams want = c.in;
        want.nFlowControl = c.flowBack;
        EXPECT_TRUE(Same(p, want)) << c.in.szPortName.ToUtf8() << " flow " << p.nFlowControl;
    }
}

TEST_F(ComSetupTest, RadiosSetTheirCodesAndCancelChangesNothing) {
    _CommsParams p = Record(L"COM1", 9600, 8, 0, 0, 0);
    EXPECT_EQ(Run(p,
                  [](HWND h) {
                      for (int id : {IDC_DATA_7, IDC_STOP_TWO, IDC_PARITY_EVEN, IDC_FLOW_RTSCTS})
                          SendDlgItemMessageW(h, id, BM_CLICK, 0, 0);
                      HWND baud = GetDlgItem(h, IDC_BAUD);
                      platform::ChooseListItem(baud, 1);
                      Choose(h, L"COM5");
                  }),
              1);
    EXPECT_TRUE(Same(p, Record(L"COM5", 57600, 7, 2, 2, 2)));

    _CommsParams before = p;
    EXPECT_EQ(Run(
                  p,
                  [](HWND h) {
                      SendDlgItemMessageW(h, IDC_DATA_8, BM_CLICK, 0, 0);
                      SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0);
                  },
                  IDCANCEL,
                  [](HWND ip) {
                      TypeAddress(ip, {10, 1, 2, 3});
                  }),
              0);
    EXPECT_TRUE(Same(p, before)); // not even the address typed under "Configure IP"
}

TEST_F(ComSetupTest, ThePortListInOrderWithoutTheFaxPrinter) {
    qvhost::SetAppParam(L"Comms IP Addr", CString(L"192.168.1.20"));
    qvhost::SetAppParam(L"Comms IP Addr 3", CString(L"10.0.0.7"));
    _CommsParams p = Record(L"com", 9600, 8, 0, 0, 0);
    std::vector<std::wstring> ports;
    std::wstring selected;
    Run(
        p,
        [&](HWND h) {
            ports = Ports(h);
            selected = Selected(h);
        },
        IDCANCEL);
    std::vector<std::wstring> want{L"FILE", L"192.168.1.20", L"10.0.0.7", L"USB",  L"USB2",
                                   L"USB3", L"USB4",         L"LPT1",     L"LPT2", L"LPT3"};
    std::vector<std::wstring> queues(ports.begin() + 10, ports.end() - 9);
    std::sort(queues.begin(), queues.end());
    EXPECT_EQ(queues, (std::vector<std::wstring>{L"Office_Fax", L"VanterTest"}));
    ports.erase(ports.begin() + 10, ports.end() - 9);
    for (int i = 1; i <= 9; ++i)
        want.push_back(L"COM" + std::to_wstring(i));
    EXPECT_EQ(ports, want);
    EXPECT_EQ(selected, L"COM1"); // the first entry that begins with the name, any case
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ComSetupTest, SerialControlsOnlyForComPorts) {
    _CommsParams p = Record(L"COM1", 9600, 8, 0, 0, 0);
    std::vector<bool> enabled;
    auto look = [&](HWND h) {
        bool all = IsWindowEnabled(GetDlgItem(h, IDC_BAUD));
        for (int id = IDC_DATA_7; id <= IDC_PARITY_EVEN; ++id)
            if (GetDlgItem(h, id) && id != IDC_BAUD && id != IDC_PORT)
                all = all && IsWindowEnabled(GetDlgItem(h, id));
        bool none = !IsWindowEnabled(GetDlgItem(h, IDC_BAUD));
        for (int id = IDC_DATA_7; id <= IDC_PARITY_EVEN; ++id)
            if (GetDlgItem(h, id) && id != IDC_BAUD && id != IDC_PORT)
                none = none && !IsWindowEnabled(GetDlgItem(h, id));
        enabled.push_back(all ? true : (none ? false : (ADD_FAILURE() << "mixed", false)));
    };
    Run(
        p,
        [&](HWND h) {
            look(h);
            Choose(h, L"USB2");
            look(h);
            Choose(h, L"COM4");
            look(h);
        },
        IDCANCEL);
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, true}));

    _CommsParams usb = Record(L"USB", 9600, 8, 0, 0, 0);
    Run(usb, look, IDCANCEL);
    EXPECT_FALSE(enabled.back()); // greyed from the start
}

TEST_F(ComSetupTest, ConfigureIPEditsTheRightSlot) {
    // "USB" selected, no address yet: the first slot, shown blank.
    _CommsParams p = Record(L"USB", 9600, 8, 0, 0, 0);
    CString shown = L"?";
    std::vector<std::wstring> ports;
    EXPECT_EQ(Run(
                  p,
                  [&](HWND h) {
                      SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0);
                      ports = Ports(h);
                  },
                  IDOK,
                  [&](HWND ip) {
                      CWnd::FromHandle(ip)->GetDlgItemText(IDC_IP_ADDRESS, shown);
                      TypeAddress(ip, {192, 168, 0, 5});
                  }),
              1);
    EXPECT_EQ(shown, L"...");
    CString slot;
    EXPECT_TRUE(qvhost::GetAppParam(L"Comms IP Addr", slot));
    EXPECT_EQ(slot, L"192.168.0.5");
    EXPECT_EQ(p.szPortName, L"192.168.0.5");
    EXPECT_EQ(ports[1], L"192.168.0.5");
    EXPECT_EQ(ports[2], L"USB");

    // All four set, "USB" selected: the fourth slot, shown with its address.
    const wchar_t* all[] = {L"1.1.1.1", L"2.2.2.2", L"3.3.3.3", L"4.4.4.4"};
    for (int i = 0; i < 4; ++i)
        qvhost::SetAppParam(kCommsIPAddrParams[i], CString(all[i]));
    p = Record(L"USB", 9600, 8, 0, 0, 0);
    Run(
        p, [&](HWND h) { SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0); }, IDCANCEL,
        [&](HWND ip) {
            CWnd::FromHandle(ip)->GetDlgItemText(IDC_IP_ADDRESS, shown);
            SendDlgItemMessageW(ip, IDCANCEL, BM_CLICK, 0, 0);
        });
    EXPECT_EQ(shown, L"4.4.4.4");

    // Slot 3's entry selected and edited: slot 3's old entry goes, not the entry at 1.
    p = Record(L"3.3.3.3", 9600, 8, 0, 0, 0);
    ASSERT_EQ(Run(
                  p,
                  [&](HWND h) {
                      SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0);
                      ports = Ports(h);
                  },
                  IDOK,
                  [](HWND ip) {
                      TypeAddress(ip, {3, 3, 3, 30});
                  }),
              1);
    std::vector<std::wstring> head(ports.begin(), ports.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::wstring>{L"FILE", L"3.3.3.30", L"1.1.1.1", L"2.2.2.2",
                                               L"4.4.4.4", L"USB"}));
    qvhost::GetAppParam(L"Comms IP Addr 3", slot);
    EXPECT_EQ(slot, L"3.3.3.30");
    qvhost::GetAppParam(L"Comms IP Addr", slot);
    EXPECT_EQ(slot, L"1.1.1.1");
    EXPECT_EQ(p.szPortName, L"3.3.3.30");
}

TEST_F(ComSetupTest, DamagedSettingsAndAMissingSchedulerGiveSoundDefaults) {
    // A stored octet that is no number shows blank; the dialog will not take a blank field.
    for (int i = 0; i < 3; ++i)
        qvhost::SetAppParam(kCommsIPAddrParams[i], CString(L"1.2.3.4"));
    qvhost::SetAppParam(L"Comms IP Addr 4", CString(L"10.x.0.300"));
    ::setenv("CUPS_SERVER", "127.0.0.1:1", 1); // no scheduler runs there
    ComSetup::SetPrinterListTimeout(300);
    _CommsParams p = Record(L"NOSUCH", 12345, 8, 0, 0, 0);
    std::vector<int> fields;
    bool stayedOpen = false;
    std::wstring selected;
    std::vector<std::wstring> ports;
    Run(
        p,
        [&](HWND h) {
            selected = Selected(h);
            ports = Ports(h);
            SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0);
        },
        IDOK,
        [&](HWND ip) {
            for (int i = 0; i < 4; ++i)
                fields.push_back(platform::GetIPAddressField(GetDlgItem(ip, IDC_IP_ADDRESS), i));
            SendDlgItemMessageW(ip, IDOK, BM_CLICK, 0, 0);
            stayedOpen = !platform::IsDialogEnded(ip);
            SendDlgItemMessageW(ip, IDCANCEL, BM_CLICK, 0, 0);
        });
    ComSetup::SetPrinterListTimeout(kPatientMs);
    EXPECT_EQ(selected, L"FILE"); // an unknown port name selects the first entry
    EXPECT_EQ(fields, (std::vector<int>{10, -1, 0, -1}));
    EXPECT_TRUE(stayedOpen);
    // Without a scheduler there are no printer queues, and nothing to report: the one message is
    // the address dialog's.
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Find(L"printers"), -1);
    EXPECT_EQ(ports.size(), size_t(1 + 4 + 4 + 3 + 9)); // file, addresses, USB, LPT, COM
    EXPECT_EQ(p.szPortName, L"FILE");
    EXPECT_EQ(p.nBaudRate, 12345); // no entry of the list: kept rather than made up
}

// A scheduler that takes the connection and never answers is a failure the person is told of;
// the other ports are listed all the same.
TEST_F(ComSetupTest, ASchedulerThatDoesNotAnswerIsReported) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(ntohs(a.sin_port))).c_str(), 1);
    ComSetup::SetPrinterListTimeout(300);
    _CommsParams p = Record(L"COM2", 9600, 8, 0, 0, 0);
    std::vector<std::wstring> ports;
    Run(
        p, [&](HWND h) { ports = Ports(h); }, IDCANCEL);
    ComSetup::SetPrinterListTimeout(kPatientMs);
    ::close(fd);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Left(46), L"Error attempting to enumerate local printers: ");
    EXPECT_GT(m_messages[0].GetLength(), 46);
    EXPECT_EQ(ports.size(), size_t(1 + 4 + 3 + 9)); // file, USB, LPT, COM
}

// For a person to look at: the dialog as the display shows it, on a serial port.
TEST_F(ComSetupTest, ScreenshotOfTheDialog) {
    int argc = 1;
    char name[] = "com_setup_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    qvhost::SetAppParam(L"Comms IP Addr", CString(L"192.168.1.20"));
    _CommsParams p = Record(L"COM2", 19200, 8, 0, 0, COMMS_FLOW_XONXOFF);
    bool saved = false, savedIp = false;
    Run(
        p,
        [&](HWND h) {
            platform::display::Flush();
            saved = platform::display::SaveScreenshot(h, std::string(TEST_BINARY_DIR) +
                                                             "/com_setup.png");
            Choose(h, L"192.168.1.20");
            SendDlgItemMessageW(h, IDC_CONFIGURE_IP, BM_CLICK, 0, 0);
        },
        IDCANCEL,
        [&](HWND ip) {
            platform::display::Flush();
            savedIp = platform::display::SaveScreenshot(ip, std::string(TEST_BINARY_DIR) +
                                                                "/config_ip.png");
            SendDlgItemMessageW(ip, IDCANCEL, BM_CLICK, 0, 0);
        });
    platform::display::Stop();
    EXPECT_TRUE(saved);
    EXPECT_TRUE(savedIp);
}

} // namespace
