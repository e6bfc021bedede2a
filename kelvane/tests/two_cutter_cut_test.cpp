// The program from end to end with two cutters: the sample sign (as the build writes it)
// opened from the command line, sent from its design window to a DM/PL cutter on the file
// port, then, after New Roll picks the other, to a DM/PL cutter on the network at
// 127.0.0.1:9100 (a listener of this test). Both receive the golden stream in
// data/sample_dmpl.txt; the program then closes and exits with 0.
//
// The golden is the program's own output, checked by eye once. To write it anew after a
// deliberate change of the output, run this test with KELVANE_REWRITE_GOLDEN=1 and read the
// diff before committing it.
#include "kelvane/app/sample_design.h"
#include "kelvane/tests/app_fixture.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "hobrand/choose_cutter.h"
#include "hobrand/media_manager_setup.h"
#include "platform/framework/document.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/list_controls.h"
#include "varnholm/sorvane_view.h"

#include <arpa/inet.h>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCutterService = 9100;
// What a DM/PL cutter answers to ";:ER": the same medium a cutter on the file port is
// taken to hold (2000 mm by 50 m), in its 0.025 mm steps, so that both jobs match.
constexpr char kExtentsReply[] = "(0,0,40,80,0,0,2000004,80000,)";

// A network cutter at 127.0.0.1:9100: it answers the medium inquiry and keeps the bytes of
// each connection apart. The felgrin and maltrec listeners take a free port; the program's own
// cutter names none, so this one must sit on the cutter's port.
class Port9100Cutter {
public:
    // False, with errno's text in `why`, when the port cannot be had.
    bool Listen(std::string& why) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(kCutterService);
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(m_listen, 4) != 0 || ::pipe2(m_wake, O_CLOEXEC) != 0) {
            why = std::strerror(errno);
            return false;
        }
        m_thread = std::thread([this] { Run(); });
        return true;
    }
    ~Port9100Cutter() {
        if (m_thread.joinable()) {
            if (::write(m_wake[1], "x", 1) < 0) {
            }
            m_thread.join();
        }
        for (int fd : {m_listen, m_wake[0], m_wake[1]})
            if (fd >= 0)
                ::close(fd);
    }
    // What each connection carried, once none is open (bounded: 20 s).
    std::vector<std::string> Received() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait_for(lock, std::chrono::seconds(20), [this] { return !m_open; });
        return m_received;
    }

private:
    void Run() {
        for (;;) {
            pollfd p[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(p, 2, 60000) <= 0 || (p[1].revents & POLLIN))
                return;
            const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_open = true;
                m_received.emplace_back();
            }
            std::string pending;
            for (;;) {
                pollfd q[2] = {{c, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
                if (::poll(q, 2, 60000) <= 0 || (q[1].revents & POLLIN))
                    break;
                char buf[4096];
                const ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                pending.append(buf, size_t(n));
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_received.back().append(buf, size_t(n));
                }
                if (pending.find(";:ER") != std::string::npos) {
                    pending.clear();
                    ::send(c, kExtentsReply, sizeof kExtentsReply - 1, MSG_NOSIGNAL);
                }
            }
            ::close(c);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_open = false;
            }
            m_done.notify_all();
        }
    }

    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<std::string> m_received;
    bool m_open = false;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TwoCutterCut : public AppFixture {
protected:
    // The view of the one open design.
    CView* DesignView() {
        POSITION docs = app->DesignTemplate()->GetFirstDocPosition();
        CDocument* doc = docs ? app->DesignTemplate()->GetNextDoc(docs) : nullptr;
        POSITION views = doc ? doc->GetFirstViewPosition() : nullptr;
        return views ? doc->GetNextView(views) : nullptr;
    }
};

TEST_F(TwoCutterCut, TheSampleSentToACutterOnTheFileAndOneOnTheNetworkGivesBothTheGoldenStream) {
    Port9100Cutter network;
    std::string why;
    if (!network.Listen(why))
        GTEST_SKIP() << "127.0.0.1:" << kCutterService << " cannot be listened on (" << why
                     << "): another program holds the cutter port";

    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());
    {
        CBaseCutter* cutter = CCutterUtils::CreateCutter(L"CDMPLCutter");
        ASSERT_NE(cutter, nullptr);
        cutter->fnSetName(L"Network Plotter");
        cutter->SetPortName(L"127.0.0.1");
        cutter->fnSaveSettings();
        CCutterUtils::AddCutterToArray(cutter);
        FelgrinUtils::QuitCutterDriver();
    }
    const std::string sample = box.Path("sample.kdx");
    ASSERT_TRUE(WriteSampleDesign(CString(sample)));
    Restart({sample});
    ASSERT_EQ(DesignCount(), 1);
    CView* view = DesignView();
    ASSERT_NE(view, nullptr);
    CWnd* frame = view->GetParentFrame();

    // The cutter list picks `wanted`; the media manager and the output settings are taken as
    // they stand.
    std::wstring wanted;
    std::vector<std::wstring> offered;
    platform::ScopedDialogResponder answer([&](HWND dialog, UINT id) {
        if (id == IDD_CHOOSE_CUTTER) {
            HWND list = ::GetDlgItem(dialog, IDC_CHOOSE_CUTTER_LIST);
            const LRESULT at = ::SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1),
                                              reinterpret_cast<LPARAM>(wanted.c_str()));
            offered.push_back(wanted);
            platform::ChooseListItem(list, int(at));
        }
        ::SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });

    wanted = L"Plotter";
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_SEND_TO_CUTTER, 0);
    Pump();
    wanted = L"Network Plotter";
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_NEW_ROLL, 0);
    Pump();
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_SEND_TO_CUTTER, 0);
    Pump();
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"Plotter", L"Network Plotter"}));
    // The cutters' documents end with the sheet documents.
    if (CDocTemplate* sheets = app->DocTemplateForContext(kSheetContext))
        sheets->CloseAllDocuments(TRUE);
    FelgrinUtils::QuitCutterDriver();

    const std::string onFile = ReadFile(box.Path("home") + "/output.spl");
    const std::vector<std::string> onNetwork = network.Received();
    const std::string goldenPath = TEST_DATA_DIR "/sample_dmpl.txt";
    if (const char* rewrite = std::getenv("KELVANE_REWRITE_GOLDEN"); rewrite && *rewrite == '1')
        std::ofstream(goldenPath, std::ios::binary) << onFile;
    const std::string golden = ReadFile(goldenPath);
    ASSERT_FALSE(golden.empty()) << goldenPath;
    EXPECT_EQ(onFile, golden);
    // The network cutter is asked for its medium on a connection of its own when it is
    // picked; the job's connection then carries the same bytes as the file.
    EXPECT_EQ(onNetwork, (std::vector<std::string>{";:ER", golden}));
    EXPECT_TRUE(boxes.Shown().empty());

    // The sent design is unchanged: the program closes without a question and exits with 0.
    EXPECT_EQ(CloseProgram(), 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
