#include "send_fixture.h"

#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "spline/spline_item.h"
#include "vector/vector_style_pb.h"

#include <arpa/inet.h>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

CMediaManagerBlk* s_medium = nullptr;

CMediaManagerBlk* TestSetup(int, int, int) {
    return s_medium;
}

} // namespace

CTestMedium::CTestMedium(const CString& device, const CWindow& sheet) {
    __fnSetDevice(device);
    CWindow w = sheet;
    __fnSetSpace();
    __fnSetSheetExtents(&w);
    __fnSetCutterExt(&w);
    SetFeedOnDelete(0);
    _fnDocStart(); // as the binding of the sheet document does
}

void SendTest::SetUp() {
    AppSettingsTest::SetUp();
    m_boxes = std::make_unique<platform::MessageBoxResponder>();
    CBaseCutter* c = CCutterUtils::CreateCutter(0);
    ASSERT_NE(c, nullptr);
    c->fnSetName(CString(L"Plotter"));
    c->SetPortName(CString(L"FILE"));
    ASSERT_EQ(CCutterUtils::AddCutterToArray(c), 1);
    m_sheetPage = std::make_unique<CDesignPage>();
    m_medium = new CTestMedium(L"Plotter", CWindow(0, 0, 600000, 1000000));
    m_sheetPage->AddParam(m_medium);
    s_medium = m_medium;
    FnSendServices().medManSetup = TestSetup;
    m_design = std::make_unique<CDesignPage>();
    CVectorStylePB* styles = CVectorArticle::fnGetVectorStylePB(m_design.get());
    styles->fnResize(2);
}

void SendTest::TearDown() {
    FnSendServices() = StSendServices();
    s_medium = nullptr;
    m_design.reset();
    m_sheetPage.reset();
    FelgrinUtils::QuitCutterDriver();
    m_boxes.reset();
    AppSettingsTest::TearDown();
}

CVectorArticle* SendTest::AddSquare(int x, int y, int size, COLORREF rgb, CArticle* parent) {
    auto* s = new CSplineItem;
    for (CLpoint p : {CLpoint(x, y), CLpoint(x + size, y), CLpoint(x + size, y + size),
                      CLpoint(x, y + size), CLpoint(x, y)})
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->MakeCurves();
    auto* a = new CVectorArticle;
    a->Item(s);
    (parent ? parent : m_design->RootArticle())->AddChild(a);
    int style = 0;
    a->SetLineColour(rgb, style);
    a->InvExtents(1);
    return a;
}

std::string SendTest::Output() const {
    std::ifstream in(m_box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<BYTE> SendTest::Saved() {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    m_design->Serialize(ar);
    ar.Close();
    return file.Detach();
}

CLoopbackCutter::CLoopbackCutter() {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(m_listen, 4);
    socklen_t len = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { Run(); });
}

CLoopbackCutter::~CLoopbackCutter() {
    ::shutdown(m_listen, SHUT_RDWR);
    m_thread.join();
    ::close(m_listen);
}

void CLoopbackCutter::Run() {
    for (;;) {
        const int c = ::accept(m_listen, nullptr, nullptr);
        if (c < 0)
            return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_open;
        }
        char buffer[4096];
        for (ssize_t n; (n = ::recv(c, buffer, sizeof buffer, 0)) > 0;) {
            const std::string got(buffer, size_t(n));
            // Its medium, 50 m along the feed by 600 mm across, in steps of 0.025 mm.
            if (got.find(";:ER") != std::string::npos) {
                static const char reply[] = "(0,0,0,0,0,0,2000000,24000,)";
                ::send(c, reply, sizeof reply - 1, MSG_NOSIGNAL);
            }
            std::lock_guard<std::mutex> lock(m_mutex);
            m_received += got;
        }
        ::close(c);
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_open;
    }
}

std::string CLoopbackCutter::Received() {
    for (int i = 0; i < 500; ++i) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_open == 0 && !m_received.empty())
                return m_received;
        }
        ::poll(nullptr, 0, 10);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}
