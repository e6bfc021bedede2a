// CMemFile: a seekable file in memory (design streams are built and patched in place).
#pragma once

#include "platform/core/file.h"

#include <vector>

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);
    // A file holding a copy of the bytes, positioned at the start.
    CMemFile(const BYTE* data, UINT size, UINT growBytes = 0);

    BOOL Open(const wchar_t*, UINT, CFileException* = nullptr) override { return FALSE; }
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_data.size(); }
    void SetLength(ULONGLONG length) override;
    void Flush() override {}

    const std::vector<BYTE>& Data() const { return m_data; }
    // Hands the contents over and leaves the file empty.
    std::vector<BYTE> Detach();

private:
    std::vector<BYTE> m_data;
    size_t m_position = 0;
};
