#include "felgrin/printer_cutter_port.h"

#include "felgrin/base_cutter.h"
#include "felgrin/felgrin_strings.h"
#include "qvutils/host_services.h"

bool CPrinterCutterPort::Serves(const CString& portName) {
    return CBaseCutter::GetDeviceType(portName) == DEVICE_PRINTER;
}

int CPrinterCutterPort::DeviceType() const {
    return DEVICE_PRINTER;
}

void CPrinterCutterPort::StartOutput() {
    m_strError.clear();
    m_pPrinter = platform::CPrinterQueue::Open(m_strQueue, &m_strError);
    if (m_pPrinter && !m_pPrinter->StartDoc(PRINT_JOB_NAME, &m_strError))
        m_pPrinter.reset();
    if (!m_pPrinter) {
        CString text;
        text.Format(FelgrinLoadString(IDS_FAILED_OPEN_SPOOLER), m_strQueue.GetString());
        qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
    }
}

int CPrinterCutterPort::EndOutput() {
    if (!m_pPrinter)
        return 0;
    // A job the scheduler refused was not cut: say so rather than report success.
    bool ended = m_pPrinter->EndDoc();
    m_pPrinter.reset();
    return ended ? 0 : CUT_ERR_WRITE;
}

int CPrinterCutterPort::Write(const BYTE* data, DWORD length, DWORD) {
    if (!m_pPrinter)
        return PORT_WRITE_GONE;
    int n = m_pPrinter->Write(data, length);
    return n > 0 ? n : PORT_WRITE_GONE;
}
