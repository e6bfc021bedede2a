#include "felgrin/usb_port.h"

#include "felgrin/felgrin_strings.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The libraries keep their Windows names in messages; on this system they are shared objects.
const char* LibraryFile(int qx3) {
    return qx3 ? "libvanterQX3.so" : "libvanterusb.so";
}

// The libraries are installed beside the driver; the search path is tried after that.
void* LoadBesideDriver(const char* file) {
    Dl_info info = {};
    if (::dladdr(reinterpret_cast<void*>(&LibraryFile), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        size_t slash = path.rfind('/');
        if (slash != std::string::npos) {
            path = path.substr(0, slash + 1) + file;
            if (void* m = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
                return m;
        }
    }
    return ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
}

} // namespace

CUsbPort::CUsbPort(int portNumber, int qx3)
    : m_nPortNumber(portNumber), m_strWritePipe(qx3 ? "PIPE03" : "PIPE01"), m_bQX3(qx3) {}

CUsbPort::~CUsbPort() {
    Close();
}

void* CUsbPort::Load() {
    if (m_hModule)
        return m_hModule;
    void* module = LoadBesideDriver(LibraryFile(m_bQX3));
    if (!module) {
        if (m_bReportLoadFailure) {
            qvhost::MessageBox(
                FelgrinLoadString(m_bQX3 ? IDS_QX3_LOAD_FAILED : IDS_USB_LOAD_FAILED),
                qvhost::kMbOk | qvhost::kMbIconExclamation);
            m_bReportLoadFailure = 0;
        }
        return nullptr;
    }
    std::string entry = "open_file";
    if (m_nPortNumber >= 2)
        entry += std::to_string(m_nPortNumber);
    void* proc = ::dlsym(module, entry.c_str());
    if (!proc) {
        CString port = m_nPortNumber == 0 ? CString(L"USB") : FormatString(L"USB%d", m_nPortNumber);
        CString text = FelgrinLoadString(IDS_USB_OPEN_PORT_FAILED);
        text.Replace(L"%1", port);
        qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
        ::dlclose(module);
        return nullptr;
    }
    m_hModule = module;
    m_pfnOpen = reinterpret_cast<OpenFileProc>(proc);
    return m_hModule;
}

void CUsbPort::Unload() {
    if (m_hModule)
        ::dlclose(m_hModule);
    m_hModule = nullptr;
    m_pfnOpen = nullptr;
}

void CUsbPort::ClosePipe(intptr_t& pipe) {
    if (pipe >= 0)
        ::close(int(pipe));
    pipe = -1;
}

int CUsbPort::Open() {
    if (m_pfnOpen)
        return 0;
    if (!Load())
        return 0;
    m_hReadPipe = m_pfnOpen(m_strReadPipe.c_str(), nullptr);
    m_hWritePipe = m_pfnOpen(m_strWritePipe.c_str(), nullptr);
    m_hStatusPipe = m_pfnOpen(m_strStatusPipe.c_str(), nullptr);
    return m_hReadPipe >= 0;
}

int CUsbPort::Close() {
    ClosePipe(m_hReadPipe);
    ClosePipe(m_hWritePipe);
    ClosePipe(m_hStatusPipe);
    Unload();
    return 1;
}

int CUsbPort::ReadPipe(intptr_t pipe, void* buffer, int length, DWORD timeoutMs) {
    if (pipe < 0)
        return -1;
    pollfd p = {int(pipe), POLLIN, 0};
    int r = ::poll(&p, 1, int(timeoutMs));
    if (r < 0)
        return -1;
    if (r == 0)
        return 0;
    ssize_t n = ::read(int(pipe), buffer, size_t(length));
    if (n < 0)
        return errno == EAGAIN ? 0 : -1;
    return int(n);
}

int CUsbPort::WritePipe(intptr_t pipe, const void* data, int length) {
    if (pipe < 0)
        return -1;
    const char* p = static_cast<const char*>(data);
    int done = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_nPipeTimeoutMs);
    while (done < length) {
        ssize_t n = ::write(int(pipe), p + done, size_t(length - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return done > 0 ? done : -1;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0)
            break;
        pollfd q = {int(pipe), POLLOUT, 0};
        ::poll(&q, 1, int(left));
    }
    return done;
}

int CUsbPort::Write(const void* data, int length) {
    m_strPieces.clear();
    if (length < 0)
        return 0;
    bool ownStatus = false;
    bool hadModule = m_hModule != nullptr;
    if (m_hStatusPipe < 0) {
        if (!Load())
            return 0;
        m_hStatusPipe = m_pfnOpen(m_strStatusPipe.c_str(), nullptr);
        ownStatus = true;
    }
    // Wait until the cutter has room for the whole buffer; a cutter that never frees room fails
    // the write instead of holding the program.
    m_nCredit -= length;
    bool first = true;
    int waits = 0;
    bool noRoom = false;
    while (first ? m_nCredit < 1 : m_nCredit < length) {
        first = false;
        char text[USB_CREDIT_TEXT_BYTES + 1] = {};
        int n = ReadPipe(m_hStatusPipe, text, USB_CREDIT_TEXT_BYTES, m_nCreditWaitMs);
        if (n <= 0)
            break; // no status: write and let the pipe's own time-out decide
        m_nCredit = std::atoi(text);
        if (m_nCredit <= 0) {
            if (++waits > m_nMaxCreditWaits) {
                noRoom = true;
                break;
            }
            fnQvWaitTimer(m_nCreditWaitMs, true);
        }
    }
    bool ok = !noRoom;
    if (ok && m_hWritePipe < 0)
        m_hWritePipe = m_pfnOpen ? m_pfnOpen(m_strWritePipe.c_str(), nullptr) : -1;
    const char* p = static_cast<const char*>(data);
    if (ok && length <= USB_PIECE_BYTES) {
        int n = WritePipe(m_hWritePipe, p, length);
        m_strPieces = std::to_string(n);
        ok = n == length;
    } else if (ok) {
        fnQvWaitTimer(1, true);
        int offset = 0;
        // Whole pieces; when the length is a multiple of a piece an empty piece ends the run.
        for (;;) {
            int piece = length - offset < USB_PIECE_BYTES ? length - offset : USB_PIECE_BYTES;
            int n = piece > 0 ? WritePipe(m_hWritePipe, p + offset, piece)
                              : (m_hWritePipe >= 0 ? 0 : -1);
            if (!m_strPieces.empty())
                m_strPieces += ",";
            m_strPieces += std::to_string(n);
            if (n != piece) {
                ok = false;
                break;
            }
            offset += piece;
            if (piece < USB_PIECE_BYTES)
                break;
        }
    }
    if (ownStatus) {
        ClosePipe(m_hStatusPipe);
        // Pipes of an open output stay; only what this write opened goes.
        if (!hadModule) {
            ClosePipe(m_hWritePipe);
            Unload();
        }
    }
    if (!ok) {
        // A piece that did not go whole means the cutter did not get the command.
        qvhost::MessageBox(L"Error Writing to USB", qvhost::kMbOk | qvhost::kMbIconExclamation);
        return 0;
    }
    return length;
}

int CUsbPort::Read(void* buffer, int length) {
    bool own = false;
    bool hadModule = m_hModule != nullptr;
    if (m_hReadPipe < 0) {
        if (!Load())
            return -1;
        m_hReadPipe = m_pfnOpen(m_strReadPipe.c_str(), nullptr);
        own = true;
    }
    std::string collected;
    char chunk[USB_READ_CHUNK_BYTES];
    int result = 0;
    // Wait for the first bytes, bounded by the pipe time-out.
    DWORD waited = 0;
    for (;;) {
        if (!PortWait(m_fnWait, m_nPollMs))
            break;
        waited += m_nPollMs;
        int n = ReadPipe(m_hReadPipe, chunk, USB_READ_CHUNK_BYTES, 0);
        if (n < 0) {
            result = -1;
            break;
        }
        if (n > 0) {
            collected.append(chunk, size_t(n));
            break;
        }
        if (waited >= m_nPipeTimeoutMs)
            break;
    }
    while (result == 0 && !collected.empty() && collected.size() < size_t(USB_REPLY_MAX_BYTES)) {
        if (!PortWait(m_fnWait, m_nPollMs))
            break;
        int n = ReadPipe(m_hReadPipe, chunk, USB_READ_CHUNK_BYTES, 0);
        if (n <= 0)
            break;
        collected.append(chunk, size_t(n));
    }
    if (collected.size() > size_t(USB_REPLY_MAX_BYTES))
        collected.resize(size_t(USB_REPLY_MAX_BYTES));
    if (result == 0) {
        int copy = int(collected.size()) < length ? int(collected.size()) : length;
        if (copy > 0 && buffer)
            std::memcpy(buffer, collected.data(), size_t(copy));
        if (buffer && length >= 0)
            static_cast<char*>(buffer)[copy] = 0;
        result = int(collected.size());
    }
    if (own) {
        ClosePipe(m_hReadPipe);
        if (!hadModule)
            Unload();
    }
    return result;
}

void CUsbPort::Drain() {
    bool own = false;
    bool hadModule = m_hModule != nullptr;
    if (m_hReadPipe < 0) {
        if (!Load())
            return;
        m_hReadPipe = m_pfnOpen(m_strReadPipe.c_str(), nullptr);
        own = true;
    }
    char chunk[USB_READ_CHUNK_BYTES];
    for (int i = 0; i < 100000; ++i) {
        if (!PortWait(m_fnWait, m_nPollMs))
            break;
        if (ReadPipe(m_hReadPipe, chunk, USB_READ_CHUNK_BYTES, 0) <= 0)
            break;
    }
    if (own) {
        ClosePipe(m_hReadPipe);
        if (!hadModule)
            Unload();
    }
}
