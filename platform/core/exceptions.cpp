#include "platform/core/exceptions.h"

#include <cerrno>
#include <cwchar>

BOOL CException::GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext) const {
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxChars == 0)
        return FALSE;
    CString text = GetMessageText();
    std::wcsncpy(buffer, text, maxChars - 1);
    buffer[maxChars - 1] = 0;
    return TRUE;
}

const char* CArchiveException::what() const noexcept {
    switch (m_cause) {
    case readOnly:
        return "archive: write to an archive opened for loading";
    case endOfFile:
        return "archive: unexpected end of file";
    case writeOnly:
        return "archive: read from an archive opened for storing";
    case badIndex:
        return "archive: invalid object reference";
    case badClass:
        return "archive: unexpected or unknown class";
    case badSchema:
        return "archive: unsupported schema";
    case bufferFull:
        return "archive: buffer full";
    default:
        return "archive: damaged or unsupported data";
    }
}

CString CArchiveException::GetMessageText() const {
    CString text(what());
    if (!m_strFileName.IsEmpty())
        text = m_strFileName + L": " + text;
    return text;
}

const char* CFileException::what() const noexcept {
    // A folder where a file was asked for is refused like a protected file, but the operator
    // has to look for another name, not for permissions.
    if (m_lOsError == EISDIR)
        return "is a folder, not a file";
    switch (m_cause) {
    case fileNotFound:
        return "file not found";
    case badPath:
        return "bad path";
    case tooManyOpenFiles:
        return "too many open files";
    case accessDenied:
        return "access denied";
    case invalidFile:
        return "invalid file";
    case directoryFull:
        return "directory full";
    case badSeek:
        return "bad seek";
    case hardIO:
        return "input/output error";
    case sharingViolation:
        return "sharing violation";
    case lockViolation:
        return "lock violation";
    case diskFull:
        return "disk full";
    case endOfFile:
        return "end of file";
    default:
        return "file error";
    }
}

CString CFileException::GetMessageText() const {
    CString text(what());
    if (!m_strFileName.IsEmpty())
        text = m_strFileName + L": " + text;
    return text;
}

int CFileException::OsErrorToException(int osError) {
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO:
        return hardIO;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case EAGAIN:
        return lockViolation;
    default:
        return genericException;
    }
}

void AfxThrowMemoryException() {
    throw CMemoryException();
}
void AfxThrowInvalidArgException() {
    throw CInvalidArgException();
}
void AfxThrowNotSupportedException() {
    throw CNotSupportedException();
}
void AfxThrowResourceException() {
    throw CResourceException();
}
void AfxThrowArchiveException(int cause, const wchar_t* fileName) {
    throw CArchiveException(cause, CString(fileName));
}
void AfxThrowFileException(int cause, int osError, const wchar_t* fileName) {
    throw CFileException(cause, osError, CString(fileName));
}
