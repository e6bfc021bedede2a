#include "platform/core/stdio_file.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr size_t kReadAhead = 64 * 1024;

// Length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when there is none.
size_t Utf8Length(const unsigned char* p, size_t left, char32_t& cp) {
    unsigned char c = p[0];
    size_t extra;
    char32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        cp = c & 0x1F;
        extra = 1;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F;
        extra = 2;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        cp = c & 0x07;
        extra = 3;
        min = 0x10000;
    } else {
        return 0;
    }
    if (extra >= left)
        return 0;
    for (size_t k = 1; k <= extra; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return extra + 1;
}

} // namespace

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(const wchar_t* fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

BOOL CStdioFile::Open(const wchar_t* fileName, UINT openFlags, CFileException* error) {
    DropBuffer();
    m_text = !(openFlags & typeBinary);
    return CFile::Open(fileName, openFlags & ~UINT(typeText | typeBinary), error);
}

void CStdioFile::Close() {
    DropBuffer();
    CFile::Close();
}

void CStdioFile::Abort() {
    DropBuffer();
    CFile::Abort();
}

void CStdioFile::DropBuffer() {
    m_buffer.clear();
    m_next = 0;
}

bool CStdioFile::Fill() {
    if (m_next > 0) {
        m_buffer.erase(0, m_next);
        m_next = 0;
    }
    size_t old = m_buffer.size();
    m_buffer.resize(old + kReadAhead);
    UINT got = CFile::Read(m_buffer.data() + old, UINT(kReadAhead));
    m_buffer.resize(old + got);
    return got > 0;
}

BOOL CStdioFile::ReadString(CString& line) {
    bool tooLong = false;
    return ReadString(line, std::string::npos, tooLong);
}

BOOL CStdioFile::ReadString(CString& line, size_t maxBytes, bool& tooLong) {
    line.Empty();
    tooLong = false;
    size_t dropped = 0;  // bytes of an over-long line already thrown away
    size_t searched = 0; // bytes after m_next known to hold no line end
    for (;;) {
        size_t newline = m_buffer.find('\n', m_next + searched);
        size_t stop, next;
        if (newline == std::string::npos) {
            size_t pending = m_buffer.size() - m_next;
            if (pending > maxBytes) {
                // Keep the last byte: it may be the '\r' of a "\r\n" split across reads.
                dropped += pending - 1;
                m_next = m_buffer.size() - 1;
                pending = 1;
                tooLong = true;
            }
            searched = pending;
            if (Fill()) // moves what is pending to the front of the buffer
                continue;
            if (m_next >= m_buffer.size() && dropped == 0)
                return FALSE;
            stop = next = m_buffer.size();
        } else {
            stop = newline;
            next = newline + 1;
            if (m_text && stop > m_next && m_buffer[stop - 1] == '\r')
                --stop;
        }
        if (dropped + (stop - m_next) > maxBytes)
            tooLong = true;
        else
            line = DecodeText(std::string_view(m_buffer).substr(m_next, stop - m_next));
        m_next = next;
        return TRUE;
    }
}

void CStdioFile::WriteString(const wchar_t* text) {
    std::string out = CString(text).ToUtf8();
    if (m_text) {
        std::string crlf;
        crlf.reserve(out.size());
        for (char c : out) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        out.swap(crlf);
    }
    CFile::Write(out.data(), UINT(out.size()));
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    size_t ready = std::min(size_t(count), m_buffer.size() - m_next);
    std::memcpy(buffer, m_buffer.data() + m_next, ready);
    m_next += ready;
    if (ready == count)
        return count;
    return UINT(ready) + CFile::Read(static_cast<char*>(buffer) + ready, UINT(count - ready));
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    if (from == current)
        offset -= LONGLONG(m_buffer.size() - m_next);
    DropBuffer();
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const {
    return CFile::GetPosition() - (m_buffer.size() - m_next);
}

CString CStdioFile::DecodeText(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t i = 0;
    while (i < bytes.size()) {
        if (p[i] < 0x80) {
            out += wchar_t(p[i++]);
            continue;
        }
        char32_t cp = 0;
        size_t n = Utf8Length(p + i, bytes.size() - i, cp);
        if (n == 0) {
            out += wchar_t(p[i++]); // Latin-1
        } else {
            out += wchar_t(cp);
            i += n;
        }
    }
    return CString(std::move(out));
}
