#include "platform/core/read_whole_file.h"

#include "platform/system/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ReadWholeFileResult ReadWholeFile(const wchar_t* path, ULONGLONG limit, std::vector<BYTE>& out) {
    out.clear();
    if (!path || !*path)
        return ReadWholeFileResult::CannotOpen;
    const std::string name = MapPath(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadWholeFileResult::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadWholeFileResult::CannotOpen;
    }
    if (ULONGLONG(st.st_size) > limit) {
        ::close(fd);
        return ReadWholeFileResult::TooLarge;
    }
    out.resize(size_t(st.st_size));
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    // A file that shrank while it was read keeps what was there.
    out.resize(done);
    return ReadWholeFileResult::Ok;
}

} // namespace platform
