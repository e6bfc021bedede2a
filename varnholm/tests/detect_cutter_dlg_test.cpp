#include "varnholm/detect_cutter_dlg.h"

#include "sorvane_host.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/vanter_ping.h"
#include "platform/display/display.h"
#include "platform/display/list_view_widget.h"
#include "platform/system/udp_socket.h"

#include <sys/stat.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using D = CDetectCutterDlg;

std::string Narrow(const CString& s) {
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += char(s[i]);
    return out;
}

// Cutters on 127.0.0.1: answers the binary probe with `binary` and the text probe with `text`.
class Devices {
public:
    Devices(std::vector<std::string> binary, std::vector<std::string> text)
        : m_binary(std::move(binary)), m_text(std::move(text)) {
        EXPECT_TRUE(m_socket.Open(0, "127.0.0.1"));
        PING_NETWORK n;
        n.broadcastAddress = "127.0.0.1";
        n.probePort = m_socket.LocalPort();
        n.useLocalPort = true;
        VanterPing::OverrideNetwork(&n);
        m_thread = std::thread([this] {
            for (int probes = 0; probes < 2; ++probes) {
                char buf[600];
                std::string from;
                WORD port = 0;
                const int got = m_socket.Receive(buf, sizeof buf, 5000, &from, &port);
                if (got < 0)
                    return;
                const bool isBinary = got == 4 && buf[0] == '\xFF';
                for (const std::string& a : isBinary ? m_binary : m_text)
                    m_socket.SendTo(from, port, a.data(), a.size());
            }
        });
    }
    ~Devices() {
        m_thread.join();
        VanterPing::OverrideNetwork(nullptr);
    }

private:
    platform::CUdpSocket m_socket;
    std::vector<std::string> m_binary, m_text;
    std::thread m_thread;
};

std::string BinaryReply(unsigned char last, const std::string& name) {
    std::string r(40, '\0');
    r[5] = char(10);
    r[6] = 0;
    r[7] = 0;
    r[8] = char(last);
    for (size_t i = 0; i < name.size(); ++i)
        r[19 + i] = name[i];
    return r;
}

class DetectTest : public SorvaneHost {
protected:
    void SetUp() override {
        SorvaneHost::SetUp();
        char pattern[] = "/tmp/detectXXXXXX";
        m_usb = ::mkdtemp(pattern);
        ::setenv("VANTERUSB_DIR", m_usb.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VANTERUSB_DIR");
        for (int i = 0; i < 4; ++i)
            std::remove((m_usb + "/lp" + std::to_string(i)).c_str());
        ::rmdir(m_usb.c_str());
        SorvaneHost::TearDown();
    }
    void UsbDevice(int index) {
        const int fd = ::open((m_usb + "/lp" + std::to_string(index)).c_str(),
                              O_CREAT | O_TRUNC | O_WRONLY, 0600);
        ::close(fd);
    }
    // Runs the dialog; `choose` acts on the filled dialog before OK. The rows as "device|address".
    std::vector<std::string> Run(const std::function<void(HWND)>& choose, CString& chosen) {
        std::vector<std::string> rows;
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            ASSERT_EQ(id, D::IDD);
            auto* dlg = dynamic_cast<D*>(CWnd::FromHandle(h));
            ASSERT_NE(dlg, nullptr);
            for (int i = 0; i < dlg->m_lcDevices.GetItemCount(); ++i)
                rows.push_back(Narrow((dlg->m_lcDevices.GetItemText(i, 0))) + "|" +
                               Narrow((dlg->m_lcDevices.GetItemText(i, 1))));
            choose(dlg->m_lcDevices.m_hWnd);
            ::SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
        });
        D dlg;
        EXPECT_EQ(dlg.DoModal(), IDOK);
        chosen = dlg.m_strChosenAddress;
        return rows;
    }
    std::string m_usb;
};

std::string Slot(int slot) {
    CString v;
    QvGetAppParam(D::SlotName(slot).GetString(), v);
    return Narrow((v));
}

TEST_F(DetectTest, AddressesFillTheFirstFreeSlotAndAFifthReplacesSlotOne) {
    struct Case {
        std::vector<const char*> before;
        const char* address;
        std::vector<const char*> after;
    } cases[] = {
        {{}, "10.0.0.1", {"10.0.0.1", "", "", ""}},
        {{"10.0.0.1", "10.0.0.2"}, "10.0.0.3", {"10.0.0.1", "10.0.0.2", "10.0.0.3", ""}},
        {{"a", "b", "10.0.0.3"}, "10.0.0.3", {"a", "b", "10.0.0.3", ""}},
        {{"a", "b", "c", "d"}, "10.0.0.5", {"10.0.0.5", "b", "c", "d"}},
        {{"a"}, "USB2", {"a", "", "", ""}},
        {{"a"}, "", {"a", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        for (int s = 1; s <= D::kAddressSlots; ++s)
            QvSetAppParam(D::SlotName(s).GetString(),
                          CString(size_t(s) <= c.before.size() ? c.before[size_t(s - 1)] : ""));
        D::StoreAddress(CString(c.address));
        for (int s = 1; s <= D::kAddressSlots; ++s)
            EXPECT_EQ(Slot(s), c.after[size_t(s - 1)]) << s;
    }
    EXPECT_EQ(Narrow((D::SlotName(1))), "Comms IP Addr");
    EXPECT_EQ(Narrow((D::SlotName(4))), "Comms IP Addr 4");
}

TEST_F(DetectTest, UsbPortsComeFirstHighestFirstThenTheRepliesLastFirst) {
    UsbDevice(0);
    UsbDevice(2);
    Devices net({BinaryReply(7, "CUT-A"), BinaryReply(8, "CUT-B"), std::string("\x01", 1)},
                {"Yrd 60;serial;10.0.0.9", "garbage"});
    CString chosen;
    const auto rows = Run([](HWND list) { platform::ChooseListViewItem(list, 2); }, chosen);
    const std::vector<std::string> expected = {"|USB3", "|USB1", "Yrd 60|10.0.0.9",
                                               "CUT-B|10.0.0.8", "CUT-A|10.0.0.7"};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(chosen, CString(L"10.0.0.9"));
    EXPECT_EQ(Slot(1), "10.0.0.9");
}

TEST_F(DetectTest, AUsbRowIsChosenButNotKeptAndNoChoiceGivesNoAddress) {
    UsbDevice(1);
    CString chosen;
    // Row 0 starts selected.
    auto rows = Run([](HWND) {}, chosen);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(chosen, CString(L"USB2"));
    EXPECT_EQ(Slot(1), "");
    // Rows but none selected: nothing chosen, nothing kept.
    rows = Run(
        [](HWND list) {
            LVITEMW none;
            none.mask = LVIF_STATE;
            none.stateMask = LVIS_SELECTED;
            ::SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&none));
        },
        chosen);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_TRUE(chosen.IsEmpty());
}

// A clock that moves only by the waits made on it; each wait marks a window for painting.
class WaitingClock : public platform::Clock {
public:
    ULONGLONG NowMs() override { return m_now; }
    void SleepMs(DWORD ms) override {
        m_now += ms;
        if (dirty)
            ::InvalidateRect(dirty, nullptr, FALSE);
    }
    HWND dirty = nullptr;

private:
    ULONGLONG m_now = 1000;
};

class PaintCountingDlg : public CDetectCutterDlg {
public:
    void OnPaint() override {
        ++paints;
        CDetectCutterDlg::OnPaint();
    }
    int paints = 0;
};

// With nothing answering, filling the list holds the dialog for the two collect waits, one
// for each kind of cutter, and the dialog keeps painting while it waits.
TEST_F(DetectTest, WithNoDeviceTheListTakesTwoCollectWaitsAndTheDialogPaintsMeanwhile) {
    PING_NETWORK n;
    n.broadcastAddress = "127.0.0.1";
    n.probePort = 9;       // nobody answers there
    n.useLocalPort = true; // any free port: tests run side by side
    VanterPing::OverrideNetwork(&n);
    WaitingClock clock;
    platform::ScopedClock scoped(clock);
    PaintCountingDlg dlg;
    ULONGLONG filled = 0, refilled = 0;
    int paintsBefore = 0, paintsAfter = 0;
    platform::ScopedDialogResponder r([&](HWND h, UINT) {
        filled = clock.NowMs();
        clock.dirty = h;
        paintsBefore = dlg.paints;
        const ULONGLONG start = clock.NowMs();
        ::SendDlgItemMessageW(h, D::ID_REFRESH, BM_CLICK, 0, 0);
        refilled = clock.NowMs() - start;
        paintsAfter = dlg.paints;
        ::SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
    });
    const ULONGLONG opened = clock.NowMs();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    VanterPing::OverrideNetwork(nullptr);
    for (ULONGLONG held : {filled - opened, refilled})
        EXPECT_EQ(held, 2 * VanterPing::kCollectMs);
    EXPECT_GE(paintsAfter - paintsBefore, 2);
}

// On a display: the rows show in the list, a person's click chooses one, OK takes it. For a
// person to look at, the dialog as shown.
TEST_F(DetectTest, OnTheDisplayTheRowsShowAndAClickChoosesOne) {
    int argc = 1;
    char name[] = "detect_cutter_dlg_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    UsbDevice(0);
    Devices net({BinaryReply(7, "CUT-A")}, {"Yrd 60;serial;10.0.0.9"});
    std::vector<std::wstring> shown;
    bool saved = false, clicked = false;
    CString chosen;
    Run(
        [&](HWND list) {
            platform::display::Flush();
            shown = platform::display::ListViewRowsShown(list);
            saved = platform::display::SaveScreenshot(
                GetParent(list), std::string(TEST_BINARY_DIR) + "/detected_cutters.png");
            clicked = platform::display::ClickListViewRow(list, 1);
            platform::display::Flush();
        },
        chosen);
    platform::display::Stop();
    const std::vector<std::wstring> expected = {L"|USB1*", L"Yrd 60|10.0.0.9", L"CUT-A|10.0.0.7"};
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(chosen, CString(L"10.0.0.9"));
}

} // namespace
