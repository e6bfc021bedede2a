#include "platform/system/printer_queue.h"

#include <cups/cups.h>

namespace platform {

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
