#include "platform/system/shell_open.h"

#include "platform/system/paths.h"
#include "platform/system/process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// The opener hands the file on and ends; one that hangs is given up on.
constexpr DWORD kOpenerWaitMs = 30000;

bool IsProgramFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

CString FindOnPath(const CString& name) {
    const std::string n = name.ToUtf8();
    if (n.empty())
        return CString();
    if (n.find('/') != std::string::npos)
        return IsProgramFile(n) ? name : CString();
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t colon = dirs.find(':', start);
        if (colon == std::string::npos)
            colon = dirs.size();
        std::string dir = dirs.substr(start, colon - start);
        if (dir.empty())
            dir = ".";
        const std::string full = dir + "/" + n;
        if (IsProgramFile(full))
            return CString::FromUtf8(full.c_str());
        start = colon + 1;
    }
    return CString();
}

bool SpawnDetached(const CString& program, const std::vector<CString>& arguments, CString* error) {
    const bool path = program.Find(L'/') >= 0 || program.Find(L'\\') >= 0;
    const CString found = FindOnPath(path ? CString::FromUtf8(MapPath(program).c_str()) : program);
    if (found.IsEmpty()) {
        if (error)
            *error = L"not found: " + program;
        return false;
    }
    std::vector<std::string> strings{found.ToUtf8()};
    for (const CString& a : arguments)
        strings.push_back(a.ToUtf8());
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    // The exec's outcome comes back through a pipe that closes on success or carries errno.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        if (error)
            *error = CString(std::strerror(errno));
        return false;
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        if (error)
            *error = CString(std::strerror(e));
        return false;
    }
    if (middle == 0) {
        // The middle process leaves at once, so the program is nobody's child to reap.
        ::setsid();
        if (::fork() == 0) {
            int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, 0);
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
            }
            ::execv(argv[0], argv.data());
            const int e = errno;
            (void)!::write(fds[1], &e, sizeof e);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int e = 0;
    ssize_t got;
    while ((got = ::read(fds[0], &e, sizeof e)) < 0 && errno == EINTR) {
    }
    ::close(fds[0]);
    if (got > 0) {
        if (error)
            *error = CString(std::strerror(e));
        return false;
    }
    return true;
}

bool ShellOpen(const CString& target, CString* error) {
    if (target.IsEmpty()) {
        if (error)
            *error = L"nothing to open";
        return false;
    }
    const std::string mapped = MapPath(target);
    if (IsProgramFile(mapped))
        return SpawnDetached(CString::FromUtf8(mapped.c_str()), {}, error);
    const CString opener = FindOnPath(L"xdg-open");
    if (opener.IsEmpty()) {
        if (error)
            *error = L"no xdg-open on the PATH";
        return false;
    }
    const bool local = mapped.find("://") == std::string::npos;
    ChildProcess child;
    if (!child.Start(opener, {local ? CString::FromUtf8(mapped.c_str()) : target})) {
        if (error)
            *error = child.Error();
        return false;
    }
    child.Wait(kOpenerWaitMs);
    if (!child.Succeeded()) {
        if (error)
            error->Format(L"xdg-open ended with %d", child.ExitCode());
        return false;
    }
    return true;
}

} // namespace platform

int ShellExecuteOpen(const wchar_t* file) {
    return file && platform::ShellOpen(CString(file)) ? kShellOpenDone : kShellOpenFailed;
}
