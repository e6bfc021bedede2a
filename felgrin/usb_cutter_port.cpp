#include "felgrin/usb_cutter_port.h"

#include "felgrin/base_cutter.h"
#include "felgrin/felgrin_strings.h"
#include "qvutils/host_services.h"

CUsbCutterPort::CUsbCutterPort(int portNumber, int qx3, const UsbWaits& waits)
    : m_nPortNumber(portNumber), m_bQX3(qx3), m_waits(waits) {}

bool CUsbCutterPort::Serves(const CString& portName) {
    return CBaseCutter::GetDeviceType(portName) == DEVICE_USB;
}

int CUsbCutterPort::DeviceType() const {
    return DEVICE_USB;
}

int CUsbCutterPort::PortNumber(const CString& name) {
    if (name.GetLength() == 4 && name[3] >= L'0' && name[3] <= L'9')
        return name[3] - L'0';
    return 1;
}

int CUsbCutterPort::Open(int showErrors) {
    m_pUsb = std::make_unique<CUsbPort>(m_nPortNumber, m_bQX3);
    m_pUsb->m_nCreditWaitMs = m_waits.creditWaitMs;
    m_pUsb->m_nMaxCreditWaits = m_waits.maxCreditWaits;
    m_pUsb->m_nPollMs = m_waits.pollMs;
    m_pUsb->m_nPipeTimeoutMs = m_waits.pipeMs;
    m_pUsb->m_fnWait = m_waitHook;
    if (!m_pUsb->Open()) {
        if (showErrors)
            qvhost::MessageBox(FelgrinLoadString(IDS_NO_USB_DEVICE),
                               qvhost::kMbOk | qvhost::kMbIconExclamation);
        m_pUsb.reset();
        return 0;
    }
    // The device answered; its pipes open again for each output.
    m_pUsb->Close();
    return 1;
}

int CUsbCutterPort::Close() {
    if (m_pUsb)
        m_pUsb->Close();
    m_pUsb.reset();
    return 0;
}

void CUsbCutterPort::StartOutput() {
    if (m_pUsb)
        m_pUsb->Open();
}

int CUsbCutterPort::EndOutput() {
    if (m_pUsb)
        m_pUsb->Close();
    return 0;
}

int CUsbCutterPort::Write(const BYTE* data, DWORD length, DWORD) {
    if (!m_pUsb)
        return PORT_WRITE_GONE;
    // One piece at a time, as the cutter's credit is counted: a block larger than the room the
    // cutter reports would wait for credit that never comes. The library waits for the credit
    // itself and says when a piece was lost.
    int piece = length < DWORD(USB_PIECE_BYTES) ? int(length) : USB_PIECE_BYTES;
    int n = m_pUsb->Write(data, piece);
    return n > 0 ? n : PORT_WRITE_REPORTED;
}

int CUsbCutterPort::Read(BYTE* buffer, DWORD length, const char*, DWORD) {
    if (!m_pUsb)
        return PORT_READ_NOT_OPEN;
    int n = m_pUsb->Read(buffer, int(length));
    return n > int(length) ? int(length) : n;
}

void CUsbCutterPort::DiscardInput() {
    if (!m_pUsb)
        return;
    // Twice: a reply may still be on its way when the first drain ends.
    m_pUsb->Drain();
    m_pUsb->Drain();
}
