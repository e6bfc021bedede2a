#include "platform/core/replace_file.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr size_t kTemporarySuffixChars = 6; // the "XXXXXX" that mkstemp fills in

struct Place {
    std::string folder; // "." for a bare name
    std::string name;
};

Place Split(const std::string& target) {
    size_t slash = target.rfind('/');
    if (slash == std::string::npos)
        return {".", target};
    return {slash == 0 ? "/" : target.substr(0, slash), target.substr(slash + 1)};
}

std::string TemporaryPrefix(const Place& p) {
    return "." + p.name + ".";
}

// The target's file name when the entry is one of its temporaries (".<name>.XXXXXX"), else
// empty.
std::string TargetOfTemporary(const std::string& entry) {
    if (entry.size() < 3 + kTemporarySuffixChars || entry[0] != '.' ||
        entry[entry.size() - kTemporarySuffixChars - 1] != '.')
        return std::string();
    for (size_t i = entry.size() - kTemporarySuffixChars; i < entry.size(); ++i) {
        char c = entry[i];
        bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return std::string();
    }
    return entry.substr(1, entry.size() - kTemporarySuffixChars - 2);
}

bool WriteAll(int fd, const BYTE* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

mode_t CurrentUmask() {
    mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

} // namespace

void RemoveStaleTemporaries(const std::string& target) {
    const Place place = Split(target);
    RemoveStaleTemporariesIn(place.folder,
                             [&](const std::string& name) { return name == place.name; });
}

void RemoveStaleTemporariesIn(const std::string& folder,
                              const std::function<bool(const std::string& name)>& isTarget) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    int dirFd = ::dirfd(dir);
    while (dirent* e = ::readdir(dir)) {
        std::string entry = e->d_name;
        const std::string name = TargetOfTemporary(entry);
        if (name.empty() || !isTarget(name))
            continue;
        int fd = ::openat(dirFd, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        // A writer that is alive holds its lock; a killed one released it with its descriptors.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

void SyncFolderOf(const std::string& path) {
    int dir = ::open(Split(path).folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

int ReplaceFile(const std::string& target, const std::vector<BYTE>& bytes,
                const std::function<void(ReplaceStep)>& onStep) {
    Place place = Split(target);
    RemoveStaleTemporaries(target);
    std::string temp =
        (place.folder == "/" ? "/" : place.folder + "/") + TemporaryPrefix(place) + "XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errno;
    ::flock(fd, LOCK_EX);
    int err = 0;
    try {
        // Keep the permissions of the file being replaced; a new file gets the usual ones.
        struct stat st;
        mode_t mode =
            ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
        ::fchmod(fd, mode);
        if (onStep)
            onStep(ReplaceStep::TemporaryCreated);
        if (!WriteAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
            err = errno;
        } else {
            if (onStep) {
                onStep(ReplaceStep::TemporaryWritten);
                onStep(ReplaceStep::ReadyToRename);
            }
            if (::rename(temp.c_str(), target.c_str()) != 0)
                err = errno;
        }
    } catch (...) {
        ::unlink(temp.c_str());
        ::close(fd);
        throw;
    }
    if (err) {
        ::unlink(temp.c_str());
        ::close(fd);
        return err;
    }
    if (onStep)
        onStep(ReplaceStep::Renamed);
    SyncFolderOf(target);
    ::close(fd); // releases the lock only now: the file is no temporary any more
    return 0;
}

} // namespace platform
