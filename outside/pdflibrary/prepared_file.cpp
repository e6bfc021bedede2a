#include "prepared_file.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace {

// The process's private folder for prepared pages, removed when the library is unloaded.
class PrivateFolder {
public:
    const std::string& Path() {
        if (m_path.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvane-pdf-XXXXXX";
            if (const char* made = mkdtemp(pattern.data()))
                m_path = made;
        }
        return m_path;
    }
    ~PrivateFolder() {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }

private:
    std::string m_path;
};

PrivateFolder g_folder;
std::atomic<unsigned> g_nextName{1};

} // namespace

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
