// CSharedFile: a file in a movable global memory block, the form the clipboard takes. The file
// grows its own block in steps; Detach hands the block over (cut to the length written) and
// never frees it. A block wrapped without the right to grow stays its owner's: it is read and
// written in place, never grown or freed here.
#pragma once

#include "platform/core/file.h"
#include "platform/system/global_memory.h"

class CSharedFile : public CFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT growBytes = 4096);
    ~CSharedFile() override;
    CSharedFile(const CSharedFile&) = delete;
    CSharedFile& operator=(const CSharedFile&) = delete;

    // Works on the block in place, its whole size as the length; with allowGrow the file takes
    // it as its own. A block the file had is freed first.
    void SetHandle(HGLOBAL block, BOOL allowGrow = TRUE);
    // The block with what was written, null when nothing was; the file is then empty.
    HGLOBAL Detach();

    BOOL Open(const wchar_t*, UINT, CFileException* = nullptr) override { return FALSE; }
    void Close() override;
    void Abort() override { Close(); }
    UINT Read(void* buffer, UINT count) override;
    // Past the end of a block that may not grow, or when no memory is left: CFileException.
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_length; }
    void SetLength(ULONGLONG length) override;
    void Flush() override {}

private:
    // Makes the block hold at least bytes, in whole growth steps.
    void Reserve(size_t bytes);
    void Release();

    HGLOBAL m_block = nullptr;
    bool m_owned = true;
    bool m_allowGrow = true;
    UINT m_growBytes;
    size_t m_length = 0;
    size_t m_position = 0;
};
