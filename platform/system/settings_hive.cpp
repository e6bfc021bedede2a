// Hive files: loading, locking, writing through, and where the two hives live.
#include "platform/system/settings_hive.h"

#include "platform/system/settings_text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace platform::settings {
namespace {

std::function<bool(const std::string&)> g_commitHook;
constexpr size_t kMaxHiveBytes = 64u << 20;

bool MakeFolders(const std::string& file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    std::string folder = file.substr(0, slash);
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            std::string part = folder.substr(0, i);
            // Readable by all: the machine-wide hive is read by every user.
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

bool WriteAll(int fd, const std::string& s) {
    size_t done = 0;
    while (done < s.size()) {
        ssize_t n = write(fd, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::map<std::string, std::unique_ptr<Hive>> g_hives;
std::string g_lastUser, g_lastMachine;

} // namespace

Hive::~Hive() {
    if (m_fd >= 0)
        close(m_fd);
}

Key& Hive::Current() {
    if (Changed())
        Load();
    return m_root;
}

LONG Hive::Modify(const std::function<LONG(Key&)>& change) {
    if (!MakeFolders(m_path))
        return ERROR_ACCESS_DENIED;
    std::string lockPath = m_path + ".lock";
    int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0)
        return ERROR_ACCESS_DENIED;
    while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (Changed())
        Load();
    LONG result = change(m_root);
    if (result == ERROR_SUCCESS) {
        result = Save();
        // What is in memory must match the disk again.
        if (result != ERROR_SUCCESS)
            Load();
    }
    flock(lock, LOCK_UN);
    close(lock);
    return result;
}

bool Hive::Changed() {
    struct stat now;
    if (stat(m_path.c_str(), &now) != 0)
        return m_fd >= 0 || !m_loaded; // deleted since, or never looked at
    if (m_fd < 0)
        return true;
    struct stat held;
    if (fstat(m_fd, &held) != 0)
        return true;
    // The open descriptor pins the inode, so a replaced file always has another one.
    return now.st_dev != held.st_dev || now.st_ino != held.st_ino || now.st_size != m_size ||
           now.st_mtim.tv_sec != m_mtime.tv_sec || now.st_mtim.tv_nsec != m_mtime.tv_nsec;
}

void Hive::Load() {
    m_root = Key();
    m_problems.clear();
    m_damaged = false;
    m_loaded = true;
    if (m_fd >= 0)
        close(m_fd);
    m_fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        if (errno != ENOENT)
            m_problems.push_back(
                CString::FromUtf8(m_path + ": cannot be read: " + std::strerror(errno)));
        return;
    }
    struct stat st;
    fstat(m_fd, &st);
    m_size = st.st_size;
    m_mtime = st.st_mtim;
    std::string text;
    char buf[65536];
    bool tooLarge = false;
    for (;;) {
        ssize_t n = pread(m_fd, buf, sizeof buf, off_t(text.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        // No settings hive grows this large; what does is not ours to load.
        if (text.size() + size_t(n) > kMaxHiveBytes) {
            tooLarge = true;
            break;
        }
        text.append(buf, size_t(n));
    }
    if (tooLarge)
        m_problems.push_back(CString::FromUtf8(m_path + ": larger than any hive; not loaded"));
    else
        Parse(text, m_root, m_problems, m_path);
    if (!m_problems.empty()) {
        m_damaged = true;
        for (const CString& p : m_problems)
            std::fprintf(stderr, "settings: %s\n", p.ToUtf8().c_str());
    }
}

LONG Hive::Save() {
    if (m_damaged) {
        // Keep the damaged original: what could not be read is not lost. Where the file
        // system has no hard links, the original is moved aside instead.
        for (int i = 0; i < 1000; ++i) {
            std::string aside = m_path + ".damaged" + (i ? "." + std::to_string(i) : "");
            if (access(aside.c_str(), F_OK) == 0)
                continue;
            if (link(m_path.c_str(), aside.c_str()) != 0 && errno != EEXIST)
                rename(m_path.c_str(), aside.c_str());
            break;
        }
        m_damaged = false;
    }
    std::string text = Serialize(m_root);
    std::string temp = m_path + ".tmp";
    struct stat old;
    mode_t mode = stat(m_path.c_str(), &old) == 0 ? (old.st_mode & 0777) : 0644;
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd >= 0)
        fchmod(fd, mode); // a temporary file left by a crash keeps no other mode
    if (fd < 0)
        return errno == EACCES || errno == EROFS || errno == EPERM ? ERROR_ACCESS_DENIED
                                                                   : ERROR_WRITE_FAULT;
    if (!WriteAll(fd, text) || fsync(fd) != 0) {
        close(fd);
        unlink(temp.c_str());
        return ERROR_WRITE_FAULT;
    }
    close(fd);
    if (g_commitHook && !g_commitHook(temp))
        return ERROR_WRITE_FAULT;
    if (rename(temp.c_str(), m_path.c_str()) != 0) {
        unlink(temp.c_str());
        return ERROR_WRITE_FAULT;
    }
    size_t slash = m_path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    // Hold the file just written, so the next change by anyone else is seen.
    if (m_fd >= 0)
        close(m_fd);
    m_fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (m_fd >= 0 && fstat(m_fd, &st) == 0) {
        m_size = st.st_size;
        m_mtime = st.st_mtim;
    }
    return ERROR_SUCCESS;
}

Hive& HiveFor(int root) {
    std::string path = root == kUser ? UserHivePath() : MachineHivePath();
    (root == kUser ? g_lastUser : g_lastMachine) = path;
    auto& slot = g_hives[path];
    if (!slot)
        slot = std::make_unique<Hive>(path);
    return *slot;
}

} // namespace platform::settings

namespace platform {

using namespace settings;

std::string UserHivePath() {
    std::string config = EnvOr("XDG_CONFIG_HOME", "");
    if (config.empty() || config[0] != '/')
        config = EnvOr("HOME", "/tmp") + "/.config";
    return EnvOr("KELVANE_USER_HIVE", config + "/kelvane/user.hive");
}

std::string MachineHivePath() {
    return EnvOr("KELVANE_MACHINE_HIVE", "/etc/kelvane/machine.hive");
}

std::vector<CString> SettingsProblems() {
    std::vector<CString> all;
    for (const std::string& p : {g_lastUser, g_lastMachine}) {
        auto it = g_hives.find(p);
        if (it != g_hives.end())
            all.insert(all.end(), it->second->problems().begin(), it->second->problems().end());
    }
    return all;
}

void ResetSettingsStore() {
    g_hives.clear();
    g_lastUser.clear();
    g_lastMachine.clear();
}

void SetHiveCommitHook(std::function<bool(const std::string&)> hook) {
    g_commitHook = std::move(hook);
}

} // namespace platform
