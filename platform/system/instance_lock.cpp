#include "platform/system/instance_lock.h"

#include "platform/core/cstring.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool PrivateFolder(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::string UserRuntimeDir() {
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir)
        return PrivateFolder(dir) ? std::string(dir) : std::string();
    const std::string dir = "/tmp/kelvane-" + std::to_string(geteuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return std::string();
    return PrivateFolder(dir) ? dir : std::string();
}

std::string RuntimeFilePath(const wchar_t* name, const char* suffix) {
    const std::string dir = UserRuntimeDir();
    if (dir.empty() || !name)
        return std::string();
    std::wstring n(name);
    for (const wchar_t* prefix : {L"Global\\", L"Local\\"})
        if (n.rfind(prefix, 0) == 0)
            n.erase(0, std::wcslen(prefix));
    std::string file;
    for (wchar_t c : n)
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
            c == L'-' || c == L'_')
            file += char(c);
    if (file.empty())
        return std::string();
    return dir + "/" + file + (suffix ? suffix : "");
}

InstanceLock::InstanceLock(const wchar_t* name) {
    const std::string path = RuntimeFilePath(name, ".lock");
    if (path.empty()) {
        m_error = EACCES;
        return;
    }
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        m_error = DWORD(errno);
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        m_error = errno == EWOULDBLOCK ? kErrorAlreadyExists : DWORD(errno);
}

InstanceLock::~InstanceLock() {
    Release();
}

void InstanceLock::Release() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
