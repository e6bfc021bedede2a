#include "platform/system/shared_file.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CSharedFile, CFile)

CSharedFile::CSharedFile(UINT growBytes) : m_growBytes(growBytes ? growBytes : 1) {}

CSharedFile::~CSharedFile() {
    Release();
}

void CSharedFile::Release() {
    if (m_block && m_owned)
        GlobalFree(m_block);
    m_block = nullptr;
    m_owned = true;
    m_allowGrow = true;
    m_length = m_position = 0;
}

void CSharedFile::SetHandle(HGLOBAL block, BOOL allowGrow) {
    Release();
    m_block = block;
    m_owned = m_allowGrow = allowGrow != FALSE;
    m_length = block ? GlobalSize(block) : 0;
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL out = m_block;
    if (out && m_owned && m_length != GlobalSize(out)) {
        // The reader sees exactly what was written, not the growth step's tail.
        HGLOBAL cut = m_length ? GlobalAlloc(GMEM_MOVEABLE, m_length) : nullptr;
        if (cut) {
            std::memcpy(GlobalLock(cut), GlobalLock(out), m_length);
            GlobalUnlock(cut);
            GlobalUnlock(out);
            GlobalFree(out);
            out = cut;
        } else if (!m_length) {
            GlobalFree(out);
            out = nullptr;
        }
    }
    m_block = nullptr;
    Release();
    return out;
}

void CSharedFile::Close() {
    Release();
}

UINT CSharedFile::Read(void* buffer, UINT count) {
    if (!m_block || m_position >= m_length || count == 0)
        return 0;
    const size_t n = std::min<size_t>(count, m_length - m_position);
    std::memcpy(buffer, static_cast<const BYTE*>(GlobalLock(m_block)) + m_position, n);
    GlobalUnlock(m_block);
    m_position += n;
    return UINT(n);
}

void CSharedFile::Reserve(size_t bytes) {
    const size_t have = m_block ? GlobalSize(m_block) : 0;
    if (bytes <= have)
        return;
    if (!m_allowGrow)
        throw CFileException(CFileException::diskFull, 0, m_strFileName);
    const size_t steps = (bytes + m_growBytes - 1) / m_growBytes;
    HGLOBAL grown = GlobalAlloc(GMEM_MOVEABLE, steps * m_growBytes);
    if (!grown)
        throw CFileException(CFileException::diskFull, 0, m_strFileName);
    if (m_block) {
        std::memcpy(GlobalLock(grown), GlobalLock(m_block), m_length);
        GlobalUnlock(grown);
        GlobalUnlock(m_block);
        GlobalFree(m_block);
    }
    m_block = grown;
}

void CSharedFile::Write(const void* buffer, UINT count) {
    if (count == 0)
        return;
    Reserve(m_position + count);
    if (m_position > m_length) { // written past the end: the gap reads as zeros
        std::memset(static_cast<BYTE*>(GlobalLock(m_block)) + m_length, 0, m_position - m_length);
        GlobalUnlock(m_block);
    }
    std::memcpy(static_cast<BYTE*>(GlobalLock(m_block)) + m_position, buffer, count);
    GlobalUnlock(m_block);
    m_position += count;
    m_length = std::max(m_length, m_position);
}

ULONGLONG CSharedFile::Seek(LONGLONG offset, UINT from) {
    const LONGLONG base =
        from == current ? LONGLONG(m_position) : (from == end ? LONGLONG(m_length) : 0);
    const LONGLONG target = base + offset;
    if (target < 0)
        throw CFileException(CFileException::badSeek, 0, m_strFileName);
    m_position = size_t(target);
    return m_position;
}

void CSharedFile::SetLength(ULONGLONG length) {
    Reserve(size_t(length));
    if (length > m_length) {
        std::memset(static_cast<BYTE*>(GlobalLock(m_block)) + m_length, 0,
                    size_t(length) - m_length);
        GlobalUnlock(m_block);
    }
    m_length = size_t(length);
    m_position = std::min(m_position, m_length);
}
