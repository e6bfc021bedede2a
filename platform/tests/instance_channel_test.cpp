// The single-instance lock and the channel between copies, on a private runtime folder: one
// holder at a time, a request answered after its handler ran, and peers that send garbage,
// nothing, or never read refused or dropped without blocking the copy that listens.
#include "platform/system/clock.h"
#include "platform/system/instance_channel.h"
#include "platform/system/instance_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class InstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kvic-XXXXXX";
        m_dir = mkdtemp(tmpl);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_old = old ? old : "";
        m_hadOld = old != nullptr;
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        if (m_hadOld)
            setenv("XDG_RUNTIME_DIR", m_old.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(m_dir);
    }
    // A raw peer connected to the channel.
    int Connect(const std::string& path) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        return fd;
    }

    static constexpr const wchar_t* kName = L"Global\\{c66122d8-9843-46f5-b327-fecac1cf0b9a}";
    std::string m_dir;
    std::string m_old;
    bool m_hadOld = false;
};

TEST_F(InstanceTest, OneHolderAtATimeAndNoStaleLock) {
    EXPECT_EQ(platform::RuntimeFilePath(kName, ".lock"),
              m_dir + "/c66122d8-9843-46f5-b327-fecac1cf0b9a.lock");
    auto first = std::make_unique<platform::InstanceLock>(kName);
    EXPECT_TRUE(first->Held());
    EXPECT_EQ(first->Error(), 0u);
    platform::InstanceLock second(kName);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(second.Error(), platform::kErrorAlreadyExists);
    first.reset(); // as a copy that ended (or crashed)
    platform::InstanceLock third(kName);
    EXPECT_TRUE(third.Held());
}

TEST_F(InstanceTest, AnOpenFolderIsNotUsed) {
    chmod(m_dir.c_str(), 0755);
    EXPECT_EQ(platform::UserRuntimeDir(), "");
    platform::InstanceLock lock(kName);
    EXPECT_FALSE(lock.Held());
    EXPECT_NE(lock.Error(), platform::kErrorAlreadyExists);
    platform::InstanceChannelServer server;
    EXPECT_FALSE(server.Listen(kName, nullptr));
    chmod(m_dir.c_str(), 0700);
}

TEST_F(InstanceTest, ARequestIsAnsweredAfterItsHandlerRan) {
    platform::InstanceChannelServer server;
    std::vector<std::pair<uint32_t, uint32_t>> handled;
    ASSERT_TRUE(server.Listen(kName, [&](const platform::InstanceRequest& r) {
        handled.emplace_back(r.message, r.flags);
        return uint32_t(77);
    }));
    struct stat st {};
    ASSERT_EQ(stat(server.Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    uint32_t answer = 0;
    auto sent = std::async(std::launch::async, [&] {
        return platform::SendInstanceRequest(kName, {35492, platform::kInstanceRaise}, 30000,
                                             &answer);
    });
    while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        server.Poll();
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(answer, 77u);
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0], std::make_pair(uint32_t(35492), platform::kInstanceRaise));
}

TEST_F(InstanceTest, NobodyListeningOrNoAnswerEndsTheSender) {
    uint32_t answer = 0;
    EXPECT_FALSE(platform::SendInstanceRequest(kName, {35491, 0}, 1000, &answer));
    // A copy that listens but never answers: the sender gives up at its time-out.
    platform::InstanceChannelServer server;
    ASSERT_TRUE(server.Listen(kName, [](const platform::InstanceRequest&) { return 1u; }));
    EXPECT_FALSE(platform::SendInstanceRequest(kName, {35491, 0}, 200, &answer));
}

TEST_F(InstanceTest, GarbageSilentAndDeafPeersNeverBlockTheListener) {
    platform::ManualClock clock{1000};
    platform::ScopedClock scoped(clock);
    platform::InstanceChannelServer server;
    int handled = 0;
    ASSERT_TRUE(server.Listen(kName, [&](const platform::InstanceRequest&) {
        ++handled;
        return 0u;
    }));
    // Garbage of a whole request's size: refused unanswered.
    const int garbage = Connect(server.Path());
    const char junk[12] = "not a magic";
    ASSERT_EQ(send(garbage, junk, sizeof junk, 0), 12);
    // Half a request, then silence.
    const int silent = Connect(server.Path());
    ASSERT_EQ(send(silent, "KVIC", 4, 0), 4);
    // A whole request from a peer that closes before reading the answer.
    const int deaf = Connect(server.Path());
    const uint8_t request[12] = {'K', 'V', 'I', 'C', 0xA4, 0x8A, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(send(deaf, request, sizeof request, 0), 12);
    shutdown(deaf, SHUT_RD);
    close(deaf);
    server.Poll();
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(server.PendingPeers(), 1u); // the silent one waits for the rest
    char buffer[4];
    EXPECT_EQ(recv(garbage, buffer, sizeof buffer, 0), 0); // closed unanswered
    clock.Advance(platform::kInstancePeerTimeoutMs);
    server.Poll();
    EXPECT_EQ(server.PendingPeers(), 0u);
    EXPECT_EQ(recv(silent, buffer, sizeof buffer, 0), 0);
    close(garbage);
    close(silent);
}

} // namespace
