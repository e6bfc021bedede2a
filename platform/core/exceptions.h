// The class library's exceptions. Thrown by value, caught by reference.
#pragma once

#include "platform/core/cstring.h"

#include <exception>

class CException : public std::exception {
public:
    ~CException() override = default;
    const char* what() const noexcept override { return "CException"; }
    // Kept for code written against the pointer style; thrown objects need no deletion here.
    void Delete() {}
    virtual BOOL GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext = nullptr) const;
    virtual CString GetMessageText() const { return CString(what()); }
};

class CSimpleException : public CException {};

class CMemoryException : public CSimpleException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

class CInvalidArgException : public CSimpleException {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

class CNotSupportedException : public CSimpleException {
public:
    const char* what() const noexcept override { return "not supported"; }
};

class CResourceException : public CSimpleException {
public:
    const char* what() const noexcept override { return "resource not found"; }
};

class CArchiveException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
        bufferFull = 8,
    };
    explicit CArchiveException(int cause = none, const CString& fileName = CString())
        : m_cause(cause), m_strFileName(fileName) {}
    const char* what() const noexcept override;
    CString GetMessageText() const override;

    int m_cause;
    CString m_strFileName;
};

class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };
    explicit CFileException(int cause = none, int osError = 0, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    const char* what() const noexcept override;
    CString GetMessageText() const override;
    // Maps an errno value to a cause.
    static int OsErrorToException(int osError);

    int m_cause;
    int m_lOsError;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowArchiveException(int cause, const wchar_t* fileName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, int osError = -1,
                                        const wchar_t* fileName = nullptr);
