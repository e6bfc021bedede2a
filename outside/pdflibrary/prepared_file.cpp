#include "prepared_file.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr char kFolderPrefix[] = "kelvane-pdf-";
constexpr int kFolderTries = 3;

std::string TemporaryRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

bool SameFile(const std::string& path, int fd) {
    struct stat byPath {
    }, byFd{};
    return ::stat(path.c_str(), &byPath) == 0 && ::fstat(fd, &byFd) == 0 &&
           byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

// The process's private folder for prepared pages, removed when the library is unloaded. It is
// locked while the process lives, so that a killed process's folder (its lock went with it) is
// told from a running one's and removed by the next process that loads the library.
class PrivateFolder {
public:
    const std::string& Path() {
        for (int attempt = 0; m_path.empty() && attempt < kFolderTries; ++attempt) {
            std::string pattern = TemporaryRoot() + "/" + kFolderPrefix + "XXXXXX";
            if (!mkdtemp(pattern.data()))
                return m_path;
            const int fd = ::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            // Another process may have taken the folder for abandoned before it was locked.
            if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && SameFile(pattern, fd)) {
                m_path = pattern;
                m_lock = fd;
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
        return m_path;
    }
    ~PrivateFolder() {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
        if (m_lock >= 0)
            ::close(m_lock);
    }

private:
    std::string m_path;
    int m_lock = -1;
};

PrivateFolder g_folder;
std::atomic<unsigned> g_nextName{1};

} // namespace

void PreparedFile::RemoveAbandonedFolders() {
    const std::string root = TemporaryRoot();
    DIR* dir = ::opendir(root.c_str());
    if (!dir)
        return;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != std::strlen(kFolderPrefix) + 6 || name.rfind(kFolderPrefix, 0) != 0)
            continue;
        const std::string path = root + "/" + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Held: its process is alive (this one's own included).
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

PreparedFile::~PreparedFile() {
    Forget();
}

std::string PreparedFile::NewEpsPath() {
    const std::string& folder = g_folder.Path();
    if (folder.empty())
        return {};
    return folder + "/page" + std::to_string(g_nextName++) + ".eps";
}

bool PreparedFile::IdentityOf(const std::string& path, Identity* id) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    id->device = uint64_t(st.st_dev);
    id->inode = uint64_t(st.st_ino);
    id->size = uint64_t(st.st_size);
    id->modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id->changedNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return true;
}

void PreparedFile::Remember(const std::string& path, int pages, const std::string& eps,
                            bool epsFailed) {
    Forget();
    if (!IdentityOf(path, &m_identity)) {
        if (!eps.empty())
            std::remove(eps.c_str());
        return;
    }
    m_path = path;
    m_pages = pages;
    m_eps = eps;
    m_epsFailed = eps.empty() && epsFailed;
}

void PreparedFile::Forget() {
    if (!m_eps.empty())
        std::remove(m_eps.c_str());
    m_path.clear();
    m_eps.clear();
    m_identity = Identity();
    m_pages = 0;
    m_epsFailed = false;
}

bool PreparedFile::Unchanged(const std::string& path) const {
    Identity now;
    return !m_path.empty() && path == m_path && IdentityOf(path, &now) && now == m_identity;
}

int PreparedFile::Pages(const std::string& path) const {
    return Unchanged(path) ? m_pages : 0;
}

bool PreparedFile::EpsKnownToFail(const std::string& path) const {
    return m_epsFailed && Unchanged(path);
}

bool PreparedFile::TakeEps(const std::string& path, const std::string& destination) {
    if (m_eps.empty() || !Unchanged(path))
        return false;
    const std::string eps = m_eps;
    // One check and its conversion share a run; the next load reads the file again, so a file
    // rewritten within the clock's granularity is never answered from an older run.
    m_eps.clear();
    Forget();
    std::error_code ec;
    std::filesystem::rename(eps, destination, ec);
    if (!ec)
        return true;
    // Another file system: a whole copy under a working name, then the rename.
    const std::string part = destination + ".part";
    bool ok = std::filesystem::copy_file(eps, part,
                                         std::filesystem::copy_options::overwrite_existing, ec);
    if (ok) {
        std::filesystem::rename(part, destination, ec);
        ok = !ec;
    }
    if (!ok)
        std::filesystem::remove(part, ec);
    std::filesystem::remove(eps, ec);
    return ok;
}
