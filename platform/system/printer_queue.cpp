#include "platform/system/printer_queue.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// A scheduler that stops answering mid-request must not hold the caller: give up at once.
int GiveUp(http_t*, void*) {
    return 0;
}

std::string LastCupsError() {
    const char* text = cupsLastErrorString();
    if (text && *text)
        return text;
    return errno ? std::strerror(errno) : "the print scheduler did not answer";
}

// Whether a connection to one address is refused (nothing listens there) rather than failing
// some other way, within timeoutMs.
bool Refused(int family, const sockaddr* address, socklen_t length, int timeoutMs) {
    int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return errno == EAFNOSUPPORT; // no such network here: nothing can listen on it
    int r = ::connect(fd, address, length);
    int error = r == 0 ? 0 : errno;
    if (r != 0 && error == EINPROGRESS) {
        pollfd p = {fd, POLLOUT, 0};
        error = ETIMEDOUT;
        if (::poll(&p, 1, timeoutMs) == 1) {
            socklen_t size = sizeof error;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
        }
    }
    ::close(fd);
    return error == ECONNREFUSED || error == ENOENT || error == EADDRNOTAVAIL;
}

// CUPS reports every failed connection as "Host is down". Nothing listening where the scheduler
// should be (a refused port, no socket file) means there is no scheduler, so no queues; a
// scheduler that cannot be reached or named is a failure.
bool NoScheduler(const char* server, int port, int timeoutMs) {
    if (!server || !*server)
        return false;
    if (server[0] == '/') {
        sockaddr_un a = {};
        a.sun_family = AF_UNIX;
        if (std::strlen(server) >= sizeof a.sun_path)
            return false;
        std::strcpy(a.sun_path, server);
        return Refused(AF_UNIX, reinterpret_cast<sockaddr*>(&a), sizeof a, timeoutMs);
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(server, std::to_string(port).c_str(), &hints, &list) != 0)
        return false;
    bool refused = list != nullptr;
    for (addrinfo* a = list; a && refused; a = a->ai_next)
        refused = Refused(a->ai_family, a->ai_addr, a->ai_addrlen, timeoutMs);
    ::freeaddrinfo(list);
    return refused;
}

} // namespace

bool ListPrinterQueues(std::vector<CString>& names, std::string* error, int timeoutMs) {
    names.clear();
    if (timeoutMs < 1)
        timeoutMs = 1;
    errno = 0;
    cupsSetServer(nullptr); // CUPS_SERVER as it is now, not as it was at the first call
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                timeoutMs, nullptr);
    if (!http) {
        std::string why = LastCupsError();
        if (NoScheduler(cupsServer(), ippPort(), timeoutMs))
            return true;
        if (error)
            *error = why;
        return false;
    }
    httpSetTimeout(http, timeoutMs / 1000.0, GiveUp, nullptr);
    cups_dest_t* dests = nullptr;
    int count = cupsGetDests2(http, &dests);
    ipp_status_t status = cupsLastError();
    bool ok = status <= IPP_STATUS_OK_CONFLICTING || status == IPP_STATUS_ERROR_NOT_FOUND;
    if (ok) {
        for (int i = 0; i < count; ++i)
            if (!dests[i].instance)
                names.push_back(CString::FromUtf8(dests[i].name));
    } else if (error) {
        *error = LastCupsError();
    }
    cupsFreeDests(count, dests);
    httpClose(http);
    return ok;
}

struct CPrinterQueue::Impl {
    http_t* http = nullptr;
    ~Impl() {
        if (http)
            httpClose(http);
    }
};

std::unique_ptr<CPrinterQueue> CPrinterQueue::Open(const CString& queueName, std::string* error) {
    std::unique_ptr<CPrinterQueue> q(new CPrinterQueue);
    q->m_impl = std::make_unique<Impl>();
    q->m_queue = queueName.ToUtf8();
    // The job must go to the same scheduler the queue is looked up on.
    q->m_impl->http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                   5000, nullptr);
    if (!q->m_impl->http) {
        if (error)
            *error = std::string("cannot reach the print scheduler: ") + cupsLastErrorString();
        return nullptr;
    }
    cups_dest_t* dest = cupsGetNamedDest(q->m_impl->http, q->m_queue.c_str(), nullptr);
    if (!dest) {
        if (error)
            *error = "no printer queue named " + q->m_queue;
        return nullptr;
    }
    cupsFreeDests(1, dest);
    return q;
}

CPrinterQueue::~CPrinterQueue() {
    if (m_job > 0 && m_inDoc && m_impl && m_impl->http) {
        // A job left open would sit in the queue half-written: cancel it.
        cupsCancelJob2(m_impl->http, m_queue.c_str(), m_job, 0);
    }
}

bool CPrinterQueue::StartDoc(const CString& title, std::string* error) {
    if (m_inDoc) {
        if (error)
            *error = "a document is already open";
        return false;
    }
    std::string t = title.ToUtf8();
    m_job = cupsCreateJob(m_impl->http, m_queue.c_str(), t.c_str(), 0, nullptr);
    if (m_job <= 0) {
        if (error)
            *error = cupsLastErrorString();
        m_job = 0;
        return false;
    }
    if (cupsStartDocument(m_impl->http, m_queue.c_str(), m_job, t.c_str(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        if (error)
            *error = cupsLastErrorString();
        cupsCancelJob2(m_impl->http, m_queue.c_str(), m_job, 0);
        m_job = 0;
        return false;
    }
    m_inDoc = true;
    return true;
}

int CPrinterQueue::Write(const void* data, size_t length) {
    if (!m_inDoc)
        return 0;
    if (length == 0)
        return 0;
    if (cupsWriteRequestData(m_impl->http, static_cast<const char*>(data), length) !=
        HTTP_STATUS_CONTINUE)
        return 0;
    return int(length);
}

bool CPrinterQueue::EndDoc(std::string* error) {
    if (!m_inDoc) {
        if (error)
            *error = "no document is open";
        return false;
    }
    m_inDoc = false;
    ipp_status_t st = cupsFinishDocument(m_impl->http, m_queue.c_str());
    if (st > IPP_STATUS_OK_CONFLICTING) {
        if (error)
            *error = cupsLastErrorString();
        return false;
    }
    return true;
}

} // namespace platform
