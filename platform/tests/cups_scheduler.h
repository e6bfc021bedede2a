// The CUPS scheduler of a test program: the one CTest starts once for the whole run (its
// fixture "kelvane_cups"), or, when a test program runs on its own, a private one. Its queue
// "VanterTest" sends each job to the loopback port written into Dir() + "/target"; "Fax" and
// "Office_Fax" are there to be listed.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

class TestCupsScheduler {
public:
    // Finds the run's scheduler or starts a private one, and waits until it answers; false
    // with the reason in Why().
    bool Start() {
        if (Live(KELVANE_BINARY_DIR "/cups-scheduler")) {
            m_dir = KELVANE_BINARY_DIR "/cups-scheduler";
            m_private = false;
        } else {
            char tmpl[] = "/tmp/cups-test-XXXXXX";
            if (!::mkdtemp(tmpl)) {
                m_why = "no temporary folder";
                return false;
            }
            m_dir = tmpl;
            m_private = true;
            if (std::system(
                    (Script() + " start " + m_dir + " >" + m_dir + "/start.log 2>&1").c_str()) !=
                0) {
                m_why = "the scheduler did not start: see " + m_dir + "/start.log";
                return false;
            }
        }
        std::ifstream in(m_dir + "/server");
        std::getline(in, m_server);
        // A loaded machine answers late; the script waits for the first answer, this for ours.
        std::string probe = "CUPS_SERVER=" + m_server + " " + Lpstat() + " -r >/dev/null 2>&1";
        for (int i = 0; i < 600; ++i) {
            if (std::system(probe.c_str()) == 0)
                return true;
            ::usleep(100000);
        }
        m_why = "the scheduler at " + m_server + " does not answer";
        return false;
    }
    // Stops the scheduler only if it is this program's own.
    void Stop() {
        if (m_private && !m_dir.empty()) {
            std::system((Script() + " stop " + m_dir).c_str());
            std::system(("rm -rf " + m_dir).c_str());
        }
        m_dir.clear();
    }
    const std::string& Dir() const { return m_dir; }
    const std::string& Server() const { return m_server; }
    const std::string& Why() const { return m_why; }

    // Holds the queue "VanterTest" and its target file while a test sends jobs through it:
    // tests of several programs share one scheduler at a time.
    class QueueLock {
    public:
        explicit QueueLock(const TestCupsScheduler& s)
            : m_fd(::open((s.Dir() + "/queue.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
            if (m_fd >= 0)
                while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
                }
        }
        ~QueueLock() {
            if (m_fd >= 0)
                ::close(m_fd);
        }
        QueueLock(const QueueLock&) = delete;
        QueueLock& operator=(const QueueLock&) = delete;
        bool Held() const { return m_fd >= 0; }

    private:
        int m_fd;
    };

private:
    static std::string Script() { return KELVANE_SOURCE_DIR "/platform/tests/cups_server.sh"; }
    static std::string Lpstat() {
        return ::access("/usr/bin/lpstat", X_OK) == 0 ? "/usr/bin/lpstat" : "lpstat";
    }
    // The run's scheduler is there when its process lives; a stale folder of an earlier,
    // killed run is left alone.
    static bool Live(const std::string& dir) {
        std::ifstream in(dir + "/cupsd.pid");
        long pid = 0;
        if (!(in >> pid) || pid <= 0)
            return false;
        return ::kill(pid_t(pid), 0) == 0 && ::access((dir + "/server").c_str(), R_OK) == 0;
    }

    std::string m_dir, m_server, m_why;
    bool m_private = false;
};
