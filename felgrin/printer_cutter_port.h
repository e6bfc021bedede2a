// A cutter behind a printer queue: each output is one raw print job.
#pragma once

#include "felgrin/cutter_port.h"
#include "platform/core/cstring.h"
#include "platform/system/printer_queue.h"

#include <memory>

// The title of a raw job on a printer queue.
constexpr const wchar_t* PRINT_JOB_NAME = L"Vanter Plot";

class CPrinterCutterPort : public CCutterPort {
public:
    explicit CPrinterCutterPort(const CString& queueName) : m_strQueue(queueName) {}

    // The port name names a printer queue.
    static bool Serves(const CString& portName);

    int DeviceType() const override;
    // The queue is reached at the start of each output; nothing is opened before.
    int Open(int) override { return 1; }
    bool IsOpen() const override { return m_pPrinter != nullptr; }
    int Close() override { return 0; }
    void StartOutput() override;
    int EndOutput() override;
    int Write(const BYTE* data, DWORD length, DWORD waitMs) override;
    bool TakesMediaAsInquired() const override { return true; }
    // Why the job could not start (for the cut log).
    std::string OpenNote() const override { return m_strError; }

private:
    CString m_strQueue;
    std::unique_ptr<platform::CPrinterQueue> m_pPrinter;
    std::string m_strError;
};
