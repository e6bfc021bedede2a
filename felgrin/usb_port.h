// A USB cutter reached through the maker's USB library, loaded at run time by name. The library
// opens named pipes: PIPE01 (or PIPE03 for QX3) to write, PIPE00 to read, PIPE02 for the
// cutter's free buffer space as decimal text.
#pragma once

#include "felgrin/port_wait.h"
#include "platform/core/types.h"

#include <string>

// The library's wire sizes: data goes in pieces of at most 256 bytes, the status pipe answers
// with at most 16 bytes of decimal text, replies are read 64 bytes at a time and at most 8192
// bytes of a reply are kept.
constexpr int USB_PIECE_BYTES = 256;
constexpr int USB_CREDIT_TEXT_BYTES = 16;
constexpr int USB_READ_CHUNK_BYTES = 64;
constexpr int USB_REPLY_MAX_BYTES = 8192;

class CUsbPort {
public:
    // The library's open entry point: a pipe name and a reserved null; -1 on failure.
    typedef intptr_t (*OpenFileProc)(const char* pipeName, void* reserved);

    CUsbPort(int portNumber, int qx3);
    ~CUsbPort();
    CUsbPort(const CUsbPort&) = delete;
    CUsbPort& operator=(const CUsbPort&) = delete;

    void* Load();
    int Open();
    int Close();
    // The full length when every piece was taken, else 0 (after the message).
    int Write(const void* data, int length);
    // The number of bytes collected (the first min(collected, length) are copied out, followed
    // by a 0 byte: the buffer holds length + 1), or -1 when the read pipe failed.
    int Read(void* buffer, int length);
    void Drain();

    int m_nPortNumber;
    intptr_t m_hWritePipe = -1;
    intptr_t m_hReadPipe = -1;
    intptr_t m_hStatusPipe = -1;
    std::string m_strWritePipe;
    std::string m_strReadPipe = "PIPE00";
    std::string m_strStatusPipe = "PIPE02";
    void* m_hModule = nullptr;
    OpenFileProc m_pfnOpen = nullptr;
    int m_bQX3;
    int m_bReportLoadFailure = 1;
    int m_nCredit = 0;

    // Waits, in milliseconds, and the bound on credit waits (the cutter may never free room).
    DWORD m_nCreditWaitMs = 2000;
    int m_nMaxCreditWaits = 15;
    DWORD m_nPollMs = 25;
    DWORD m_nPipeTimeoutMs = 10000;
    // Dispatches messages while a read waits for the cutter; see PortWaitHook.
    PortWaitHook m_fnWait;
    // The pieces written by the last Write (tests).
    std::string m_strPieces;

private:
    void Unload();
    static void ClosePipe(intptr_t& pipe);
    int ReadPipe(intptr_t pipe, void* buffer, int length, DWORD timeoutMs);
    int WritePipe(intptr_t pipe, const void* data, int length);
};
