// CFile: an unbuffered file on a descriptor. Paths are UTF-8 at the system boundary.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/exceptions.h"
#include "platform/core/object.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    CFile(const wchar_t* fileName, UINT openFlags); // throws CFileException on failure
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False (with the cause in `error` when given) when the file cannot be opened.
    virtual BOOL Open(const wchar_t* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without raising.
    virtual void Abort();
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG length);
    virtual void Flush();
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    bool IsOpen() const { return m_fd >= 0; }
    int GetDescriptor() const { return m_fd; }

    static void Remove(const wchar_t* fileName);
    static void Rename(const wchar_t* oldName, const wchar_t* newName);

protected:
    [[noreturn]] void ThrowOsError(int osError) const;

    int m_fd = -1;
    CString m_strFileName;
};
