// A raw job on a printer queue: the bytes reach the queue's device unchanged.
#pragma once

#include "platform/core/cstring.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// The names of the scheduler's queues (CUPS_SERVER or the default), in the scheduler's order.
// Without a scheduler (nothing listens where it would) there are no queues: true and empty.
// False, with `names` empty and `error` holding the scheduler's own text, when it cannot be
// reached or does not answer within `timeoutMs`.
bool ListPrinterQueues(std::vector<CString>& names, std::string* error = nullptr,
                       int timeoutMs = 3000);

class CPrinterQueue {
public:
    // Connects to the scheduler (CUPS_SERVER or the default) and checks that the queue exists.
    // Null with `error` set when it does not.
    static std::unique_ptr<CPrinterQueue> Open(const CString& queueName,
                                               std::string* error = nullptr);
    ~CPrinterQueue();
    CPrinterQueue(const CPrinterQueue&) = delete;
    CPrinterQueue& operator=(const CPrinterQueue&) = delete;

    // Starts a one-document job of raw data under the given title.
    bool StartDoc(const CString& title, std::string* error = nullptr);
    // The count of bytes accepted: all of them, or 0 when the job did not take them.
    int Write(const void* data, size_t length);
    // Ends the document; false when the scheduler did not accept the job.
    bool EndDoc(std::string* error = nullptr);
    int JobId() const { return m_job; }
    bool InDoc() const { return m_job > 0 && m_inDoc; }

private:
    CPrinterQueue() = default;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_queue;
    int m_job = 0;
    bool m_inDoc = false;
};

} // namespace platform
