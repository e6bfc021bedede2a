#include "design/script_command.h"

#include "platform/core/exceptions.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Copies at most kScriptTextSize - 1 characters and terminates.
void CopyText(wchar_t* out, const wchar_t* in, size_t length) {
    length = std::min(length, size_t(kScriptTextSize - 1));
    std::wmemcpy(out, in, length);
    out[length] = 0;
}

// A decimal integer at `p`, white space and one sign before it; values beyond 32 bits are
// clamped. Anything that is not a number reads as 0.
int32_t ReadInt(const wchar_t* p) {
    while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n' || *p == L'\f' || *p == L'\v')
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+')
        negative = *p++ == L'-';
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - L'0');
        if (value > int64_t(INT32_MAX) + 1)
            value = int64_t(INT32_MAX) + 1; // saturated; keeps reading the digits
    }
    if (negative)
        value = -value;
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

CScriptCommand::CScriptCommand(int id) : m_nID(id) {}

CScriptCommand::~CScriptCommand() = default;

void CScriptCommand::fnSetFormat(const wchar_t* format) {
    CopyText(m_szFormat.data(), format ? format : L"", format ? std::wcslen(format) : 0);
}

void CScriptCommand::fnSetName(const wchar_t* name) {
    CopyText(m_szName.data(), name ? name : L"", name ? std::wcslen(name) : 0);
}

void CScriptCommand::fnLoadCommand(const CString& text) {
    const wchar_t* line = text.GetString();
    const int length = text.GetLength();
    int pos = int(std::wcslen(m_szName.data()));
    while (pos < length && IsBlank(line[pos]))
        ++pos;
    int stringNumber = 0;
    for (const wchar_t* letter = m_szFormat.data(); *letter && pos < length; ++letter) {
        if (*letter == L'I') {
            m_integers.push_back(ReadInt(line + pos));
            while (pos < length && IsBlank(line[pos]))
                ++pos;
            if (pos < length && line[pos] == L'-')
                ++pos;
            while (pos < length && IsDigit(line[pos]))
                ++pos;
        } else if (*letter == L'S') {
            Text buffer{};
            pos = fnFindString(line, buffer.data(), ++stringNumber) + 1;
            m_strings.push_back(buffer);
        }
    }
}

int CScriptCommand::fnFindString(const wchar_t* line, wchar_t* out, int n) {
    const size_t length = std::wcslen(line);
    out[0] = 0;
    long p = 0;
    for (int k = 0; k < n; ++k) {
        long a = -1;
        for (size_t i = size_t(std::max(p, 0L)); i < length; ++i) {
            if (line[i] == L'$') {
                a = long(i);
                break;
            }
        }
        long b = 0;
        if (a >= 0) {
            b = -1;
            for (size_t i = size_t(a) + 1; i < length; ++i) {
                if (line[i] == L'$') {
                    b = long(i);
                    break;
                }
            }
        }
        if (b - a < 2)
            out[0] = 0;
        else
            CopyText(out, line + a + 1, size_t(b - a - 1));
        p = b + 1;
    }
    return int(p);
}

int CScriptCommand::fnGetInt(int i) const {
    if (i < 0)
        AfxThrowInvalidArgException();
    return size_t(i) < m_integers.size() ? m_integers[size_t(i)] : 0;
}

void CScriptCommand::fnGetString(int i, CString& out) const {
    const wchar_t* s = fnGetString(i);
    out = s ? s : L"";
}

const wchar_t* CScriptCommand::fnGetString(int i) const {
    if (i < 0)
        AfxThrowInvalidArgException();
    return size_t(i) < m_strings.size() ? m_strings[size_t(i)].data() : nullptr;
}
