#include "platform/core/file.h"

#include "platform/system/paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() = default;

CFile::CFile(const wchar_t* fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

CFile::~CFile() {
    Abort();
}

BOOL CFile::Open(const wchar_t* fileName, UINT openFlags, CFileException* error) {
    Abort();
    m_strFileName = fileName ? fileName : L"";
    int flags = O_CLOEXEC;
    switch (openFlags & 3) {
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    // A reader never waits in open: a named pipe without a writer would block it for ever.
    // Reads stay blocking; callers that want regular files only check the type afterwards.
    const bool readOnly = (flags & O_ACCMODE) == O_RDONLY;
    m_fd =
        ::open(platform::MapPath(m_strFileName).c_str(), flags | (readOnly ? O_NONBLOCK : 0), 0666);
    if (m_fd >= 0 && readOnly)
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    if (m_fd < 0) {
        int err = errno;
        if (error)
            *error = CFileException(CFileException::OsErrorToException(err), err, m_strFileName);
        return FALSE;
    }
    struct stat st;
    if (::fstat(m_fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        if (error)
            *error = CFileException(CFileException::accessDenied, EISDIR, m_strFileName);
        return FALSE;
    }
    return TRUE;
}

void CFile::Close() {
    if (m_fd >= 0) {
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            ThrowOsError(errno);
    }
}

void CFile::Abort() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

UINT CFile::Read(void* buffer, UINT count) {
    if (m_fd < 0)
        ThrowOsError(EBADF);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    if (m_fd < 0)
        ThrowOsError(EBADF);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        done += UINT(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
    off_t r = ::lseek(m_fd, off_t(offset), whence);
    if (r < 0)
        ThrowOsError(errno);
    return ULONGLONG(r);
}

ULONGLONG CFile::GetPosition() const {
    off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0)
        ThrowOsError(errno);
    return ULONGLONG(r);
}

ULONGLONG CFile::GetLength() const {
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        ThrowOsError(errno);
    return ULONGLONG(st.st_size);
}

void CFile::SetLength(ULONGLONG length) {
    if (::ftruncate(m_fd, off_t(length)) != 0)
        ThrowOsError(errno);
}

void CFile::Flush() {
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowOsError(errno);
}

CString CFile::GetFileName() const {
    int slash = std::max(m_strFileName.ReverseFind(L'/'), m_strFileName.ReverseFind(L'\\'));
    return m_strFileName.Mid(slash + 1);
}

void CFile::ThrowOsError(int osError) const {
    throw CFileException(CFileException::OsErrorToException(osError), osError, m_strFileName);
}

void CFile::Remove(const wchar_t* fileName) {
    CString name(fileName);
    if (::unlink(platform::MapPath(name).c_str()) != 0) {
        int err = errno;
        throw CFileException(CFileException::OsErrorToException(err), err, name);
    }
}

void CFile::Rename(const wchar_t* oldName, const wchar_t* newName) {
    CString from(oldName), to(newName);
    if (::rename(platform::MapPath(from).c_str(), platform::MapPath(to).c_str()) != 0) {
        int err = errno;
        throw CFileException(CFileException::OsErrorToException(err), err, from);
    }
}
