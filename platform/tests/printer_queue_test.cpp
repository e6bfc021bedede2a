#include "platform/system/printer_queue.h"

#include "platform/tests/cups_scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// The run's scheduler; its queue "VanterTest" sends each job to the loopback port the test
// writes into <dir>/target.
class PrinterQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_started = s_scheduler.Start();
        ::setenv("CUPS_SERVER", s_scheduler.Server().c_str(), 1);
    }
    static void TearDownTestSuite() { s_scheduler.Stop(); }
    void SetUp() override {
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
TestCupsScheduler PrinterQueue::s_scheduler;
std::string PrinterQueue::s_dir;
bool PrinterQueue::s_started = false;

// Accepts one connection and keeps what arrives until it closes.
class OneShotListener {
public:
    OneShotListener() {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_fd, 1);
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] {
            pollfd p = {m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20000) <= 0)
                return;
            int c = ::accept(m_fd, nullptr, nullptr);
            char buf[4096];
            for (;;) {
                pollfd q = {c, POLLIN, 0};
                if (::poll(&q, 1, 20000) <= 0)
                    break;
                ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                m_got.append(buf, size_t(n));
            }
            ::close(c);
        });
    }
    ~OneShotListener() {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_fd);
    }
    std::string Wait() {
        m_thread.join();
        return m_got;
    }
    int m_port = 0;

private:
    int m_fd = -1;
    std::thread m_thread;
    std::string m_got;
};

TEST_F(PrinterQueue, RawJobReachesTheQueuesDeviceUnchangedUnderItsTitle) {
    OneShotListener listener;
    std::ofstream(s_dir + "/target") << listener.m_port;
    std::string error;
    auto q = platform::CPrinterQueue::Open(L"VanterTest", &error);
    ASSERT_TRUE(q) << error;
    ASSERT_TRUE(q->StartDoc(L"Vanter Plot", &error)) << error;
    std::string bytes = ";:HOA,ECN,U,\x1b\x00\xff,U,40,80";
    bytes += std::string(70000, 'x'); // more than one chunk of the request
    EXPECT_EQ(q->Write(bytes.data(), bytes.size()), int(bytes.size()));
    int job = q->JobId();
    EXPECT_TRUE(q->EndDoc(&error)) << error;
    EXPECT_EQ(listener.Wait(), bytes);

    std::string title;
    std::getline(std::ifstream(s_dir + "/target.title"), title);
    EXPECT_EQ(title, "Vanter Plot");
    EXPECT_GT(job, 0);
}

TEST_F(PrinterQueue, UnknownQueueIsRefused) {
    std::string error;
    EXPECT_FALSE(platform::CPrinterQueue::Open(L"No Such Cutter", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(PrinterQueue, WritesOutsideADocumentAreRefused) {
    auto q = platform::CPrinterQueue::Open(L"VanterTest");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->Write("abc", 3), 0);
    EXPECT_FALSE(q->EndDoc());
}

TEST_F(PrinterQueue, ListsEveryQueueOfTheScheduler) {
    std::vector<CString> names;
    std::string error;
    // A generous time-out: this is about the names, and a loaded machine answers late.
    ASSERT_TRUE(platform::ListPrinterQueues(names, &error, 60000)) << error;
    std::vector<std::string> got;
    for (const CString& n : names)
        got.push_back(n.ToUtf8());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"Fax", "Office_Fax", "VanterTest"}));
}

// A scheduler that takes the connection and never answers gives up after its time-out, empty,
// with a reason. Where none is running (nobody listens on its port, no socket file) there are
// simply no queues, and nothing to report.
TEST(PrinterQueueList, ASilentSchedulerIsAFailureAndAMissingOneHasNoQueues) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    const std::string silent = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    const char* old = std::getenv("CUPS_SERVER");
    std::string saved = old ? old : "";

    ::setenv("CUPS_SERVER", silent.c_str(), 1);
    std::vector<CString> names{L"stale"};
    std::string error;
    EXPECT_FALSE(platform::ListPrinterQueues(names, &error, 300));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(error.empty());

    ::close(fd); // nobody listens there any more
    char dir[] = "/tmp/printer_queue_test.XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    for (const std::string& server : {silent, std::string(dir) + "/cups.sock"}) {
        SCOPED_TRACE(server);
        ::setenv("CUPS_SERVER", server.c_str(), 1);
        names = {L"stale"};
        error.clear();
        EXPECT_TRUE(platform::ListPrinterQueues(names, &error, 300));
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(error, "");
    }
    ::rmdir(dir);
    if (old)
        ::setenv("CUPS_SERVER", saved.c_str(), 1);
    else
        ::unsetenv("CUPS_SERVER");
}

} // namespace
