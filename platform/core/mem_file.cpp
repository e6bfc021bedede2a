#include "platform/core/mem_file.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes) {
    m_data.reserve(growBytes);
}

CMemFile::CMemFile(const BYTE* data, UINT size, UINT) : m_data(data, data + size) {}

void CMemFile::Close() {
    m_position = 0;
}
void CMemFile::Abort() {
    Close();
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (m_position >= m_data.size())
        return 0;
    size_t n = std::min<size_t>(count, m_data.size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, n);
    m_position += n;
    return UINT(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0)
        return;
    if (m_position + count > m_data.size())
        m_data.resize(m_position + count);
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base =
        from == current ? LONGLONG(m_position) : (from == end ? LONGLONG(m_data.size()) : 0);
    LONGLONG target = base + offset;
    if (target < 0)
        throw CFileException(CFileException::badSeek, 0, m_strFileName);
    m_position = size_t(target);
    return m_position;
}

void CMemFile::SetLength(ULONGLONG length) {
    m_data.resize(size_t(length));
    if (m_position > m_data.size())
        m_position = m_data.size();
}

std::vector<BYTE> CMemFile::Detach() {
    std::vector<BYTE> out;
    out.swap(m_data);
    m_position = 0;
    return out;
}
