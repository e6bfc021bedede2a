#include "usb_pipes.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Printer-class devices have no credit channel; the kernel driver holds writes while the
// printer is busy, so the status answers with plenty of room.
constexpr char kPlentyOfRoom[] = "65536";

std::string Folder(const char* variable) {
    const char* env = variable ? std::getenv(variable) : nullptr;
    return env && *env ? std::string(env) : std::string("/dev/usb");
}

intptr_t OpenStatus(const std::string& path) {
    struct stat st = {};
    if (::stat(path.c_str(), &st) == 0)
        return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    ssize_t n = ::write(fds[1], kPlentyOfRoom, sizeof kPlentyOfRoom - 1);
    ::close(fds[1]);
    if (n != ssize_t(sizeof kPlentyOfRoom - 1)) {
        ::close(fds[0]);
        return -1;
    }
    return fds[0];
}

} // namespace

intptr_t UsbOpenPipe(const char* folderVariable, int port, const char* pipeName) {
    if (!pipeName || port < 0 || port > 99)
        return -1;
    int index = port > 0 ? port - 1 : 0;
    std::string folder = Folder(folderVariable);
    std::string device = folder + "/lp" + std::to_string(index);
    if (std::strcmp(pipeName, "PIPE01") == 0 || std::strcmp(pipeName, "PIPE03") == 0)
        return ::open(device.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (std::strcmp(pipeName, "PIPE00") == 0)
        return ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (std::strcmp(pipeName, "PIPE02") == 0)
        return OpenStatus(folder + "/status" + std::to_string(index));
    return -1;
}
