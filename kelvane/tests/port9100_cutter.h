// A network cutter at 127.0.0.1:9100 for the program's tests: it answers the medium inquiry
// (or, as a cutter that hangs, never answers) and keeps the bytes of each connection apart. The
// felgrin and maltrec listeners take a free port; the program's own cutter names none, so this
// one must sit on the cutter's port.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvane::tests {

constexpr int kCutterService = 9100;
// What a DM/PL cutter answers to ";:ER": the same medium a cutter on the file port is
// taken to hold (2000 mm by 50 m), in its 0.025 mm steps, so that both jobs match.
constexpr char kExtentsReply[] = "(0,0,40,80,0,0,2000004,80000,)";

class Port9100Cutter {
public:
    explicit Port9100Cutter(bool answers = true) : m_answers(answers) {}
    ~Port9100Cutter();
    Port9100Cutter(const Port9100Cutter&) = delete;
    Port9100Cutter& operator=(const Port9100Cutter&) = delete;

    // False, with errno's text in `why`, when the port cannot be had (another test holding it
    // is waited for, a while).
    bool Listen(std::string& why);
    // What each connection carried, once none is open (bounded: 20 s).
    std::vector<std::string> Received();
    // Whether every connection made so far has been closed by the program, within the bound.
    bool WaitUntilClosed(std::chrono::milliseconds bound);
    // How many connections were made so far.
    int Connections();

private:
    void Run();

    bool m_answers;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<std::string> m_received;
    bool m_open = false;
};

} // namespace kelvane::tests
