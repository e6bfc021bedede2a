#include "platform/system/reg_file.h"

#include "platform/core/read_whole_file.h"

#include <cstdint>
#include <cstring>
#include <cwctype>

namespace platform {

namespace {

const wchar_t* const kHeader4 = L"REGEDIT4";
const wchar_t* const kHeader5 = L"Windows Registry Editor Version 5.00";

// Raw data types of the hex(n) form that hold text (UTF-16 in the file).
constexpr DWORD kTextTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ};

std::wstring DecodeUtf16(const std::string& bytes, size_t from) {
    std::wstring out;
    for (size_t i = from; i + 1 < bytes.size(); i += 2) {
        uint32_t u = uint8_t(bytes[i]) | (uint32_t(uint8_t(bytes[i + 1])) << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            uint32_t lo = uint8_t(bytes[i + 2]) | (uint32_t(uint8_t(bytes[i + 3])) << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        out.push_back(wchar_t(u));
    }
    return out;
}

std::wstring Decode(const std::string& bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
        return DecodeUtf16(bytes, 2);
    size_t from = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    return std::wstring(CString::FromUtf8(bytes.c_str() + from).GetString());
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::iswspace(s[b]))
        ++b;
    while (e > b && std::iswspace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::vector<BYTE> TextBytes(const std::wstring& text) {
    std::vector<BYTE> out((text.size() + 1) * sizeof(wchar_t), 0);
    for (size_t i = 0; i < text.size(); ++i)
        std::memcpy(out.data() + i * sizeof(wchar_t), &text[i], sizeof(wchar_t));
    return out;
}

bool IsTextType(DWORD type) {
    for (DWORD t : kTextTypes)
        if (t == type)
            return true;
    return false;
}

// A quoted string from pos (at the opening quote); pos ends after the closing one.
bool Quoted(const std::wstring& s, size_t& pos, std::wstring& out) {
    if (pos >= s.size() || s[pos] != L'"')
        return false;
    out.clear();
    for (size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size()) {
            out.push_back(s[++i]);
        } else if (s[i] == L'"') {
            pos = i + 1;
            return true;
        } else {
            out.push_back(s[i]);
        }
    }
    return false;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool HexBytes(const std::wstring& text, std::vector<BYTE>& out) {
    out.clear();
    const std::wstring t = Trim(text);
    if (t.empty())
        return true;
    size_t i = 0;
    for (;;) {
        while (i < t.size() && std::iswspace(t[i]))
            ++i;
        if (i >= t.size())
            return false;
        int hi = HexDigit(t[i]);
        int lo = i + 1 < t.size() ? HexDigit(t[i + 1]) : -1;
        if (hi < 0)
            return false;
        if (lo < 0) {
            out.push_back(BYTE(hi));
            i += 1;
        } else {
            out.push_back(BYTE(hi * 16 + lo));
            i += 2;
        }
        while (i < t.size() && std::iswspace(t[i]))
            ++i;
        if (i == t.size())
            return true;
        if (t[i] != L',')
            return false;
        ++i;
    }
}

bool RootOf(const std::wstring& path, HKEY& root, std::wstring& rest) {
    const size_t slash = path.find(L'\\');
    std::wstring head = path.substr(0, slash);
    for (auto& c : head)
        c = wchar_t(std::towupper(c));
    rest = slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
    if (head == L"HKEY_CURRENT_USER" || head == L"HKCU")
        root = HKEY_CURRENT_USER;
    else if (head == L"HKEY_LOCAL_MACHINE" || head == L"HKLM")
        root = HKEY_LOCAL_MACHINE;
    else
        return false;
    return true;
}

// The data after "=": sets op.type and op.data; false with a reason when it is not sound.
bool ValueData(const std::wstring& d, RegOperation& op, const char*& why) {
    size_t pos = 0;
    std::wstring text;
    if (!d.empty() && d[0] == L'"') {
        if (!Quoted(d, pos, text) || !Trim(d.substr(pos)).empty()) {
            why = "a string without its closing quote";
            return false;
        }
        op.type = REG_SZ;
        op.data = TextBytes(text);
        return true;
    }
    if (d.compare(0, 6, L"dword:") == 0) {
        const std::wstring digits = Trim(d.substr(6));
        if (digits.empty() || digits.size() > 8) {
            why = "a dword that is not 1 to 8 hex digits";
            return false;
        }
        uint32_t v = 0;
        for (wchar_t c : digits) {
            const int h = HexDigit(c);
            if (h < 0) {
                why = "a dword that is not 1 to 8 hex digits";
                return false;
            }
            v = v * 16 + uint32_t(h);
        }
        op.type = REG_DWORD;
        op.data = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
        return true;
    }
    if (d.compare(0, 3, L"hex") != 0) {
        why = "data of an unknown kind";
        return false;
    }
    DWORD type = REG_BINARY;
    pos = 3;
    if (pos < d.size() && d[pos] == L'(') {
        const size_t close = d.find(L')', pos);
        if (close == std::wstring::npos || close == pos + 1 || close - pos > 9) {
            why = "a hex type without its closing bracket";
            return false;
        }
        type = 0;
        for (size_t i = pos + 1; i < close; ++i) {
            const int h = HexDigit(d[i]);
            if (h < 0) {
                why = "a hex type that is not a number";
                return false;
            }
            type = type * 16 + DWORD(h);
        }
        pos = close + 1;
    }
    if (pos >= d.size() || d[pos] != L':') {
        why = "hex data without its colon";
        return false;
    }
    std::vector<BYTE> bytes;
    if (!HexBytes(d.substr(pos + 1), bytes)) {
        why = "hex data that is not comma-separated bytes";
        return false;
    }
    // Numbers have their width; a short or long one would be read as something else.
    if ((type == REG_DWORD && bytes.size() != 4) || (type == REG_QWORD && bytes.size() != 8)) {
        why = "a number of the wrong width";
        return false;
    }
    op.type = type;
    if (IsTextType(type)) {
        // The file holds UTF-16; the store keeps wide text. A trailing end mark is kept once.
        std::wstring wide = DecodeUtf16(std::string(bytes.begin(), bytes.end()), 0);
        if (!wide.empty() && wide.back() == L'\0')
            wide.pop_back();
        op.data = TextBytes(wide);
    } else {
        op.data = std::move(bytes);
    }
    return true;
}

} // namespace

RegFileContent ParseRegText(const std::string& bytes) {
    RegFileContent out;
    const std::wstring all = Decode(bytes);
    std::vector<std::wstring> lines;
    std::vector<int> numbers;
    {
        size_t start = 0;
        int number = 0;
        std::wstring pending;
        int pendingLine = 0;
        while (start <= all.size()) {
            size_t end = all.find(L'\n', start);
            if (end == std::wstring::npos)
                end = all.size();
            std::wstring line = all.substr(start, end - start);
            ++number;
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            std::wstring t = Trim(line);
            if (pending.empty())
                pendingLine = number;
            // Long hex data continues on the next line after a "\".
            if (!t.empty() && t.back() == L'\\' && (pending.size() + t.size()) < (1u << 22)) {
                t.pop_back();
                pending += t;
            } else {
                pending += t;
                lines.push_back(pending);
                numbers.push_back(pendingLine);
                pending.clear();
            }
            start = end + 1;
        }
        if (!pending.empty()) {
            lines.push_back(pending);
            numbers.push_back(pendingLine);
        }
    }
    auto problem = [&out](int line, const char* why) {
        CString p;
        p.Format(L"line %d: %hs", line, why);
        out.problems.push_back(p);
    };
    size_t i = 0;
    while (i < lines.size() && lines[i].empty())
        ++i;
    if (i == lines.size() || (lines[i] != kHeader4 && lines[i] != kHeader5)) {
        problem(i < numbers.size() ? numbers[i] : 1, "not a registry export (no header line)");
        return out;
    }
    out.recognised = true;
    bool haveKey = false;
    HKEY root = nullptr;
    std::wstring key;
    for (++i; i < lines.size(); ++i) {
        const std::wstring& l = lines[i];
        const int n = numbers[i];
        if (l.empty() || l[0] == L';')
            continue;
        if (l[0] == L'[') {
            haveKey = false;
            if (l.back() != L']') {
                problem(n, "a key without its closing bracket");
                continue;
            }
            std::wstring path = l.substr(1, l.size() - 2);
            const bool remove = !path.empty() && path[0] == L'-';
            if (remove)
                path = path.substr(1);
            std::wstring rest;
            if (!RootOf(path, root, rest)) {
                problem(n, "a key outside the current user's and the machine's settings");
                continue;
            }
            if (rest.empty()) {
                problem(n, "a root itself cannot be created or deleted");
                continue;
            }
            RegOperation op;
            op.kind = remove ? RegOperation::Kind::DeleteKey : RegOperation::Kind::CreateKey;
            op.root = root;
            op.key = CString(rest.c_str());
            out.operations.push_back(op);
            haveKey = !remove;
            key = rest;
            continue;
        }
        if (!haveKey) {
            problem(n, "a value outside any key");
            continue;
        }
        RegOperation op;
        op.root = root;
        op.key = CString(key.c_str());
        size_t pos = 0;
        std::wstring name;
        if (l[0] == L'@') {
            pos = 1;
        } else if (!Quoted(l, pos, name)) {
            problem(n, "a line that is neither a key nor a value");
            continue;
        }
        while (pos < l.size() && std::iswspace(l[pos]))
            ++pos;
        if (pos >= l.size() || l[pos] != L'=') {
            problem(n, "a value name without \"=\"");
            continue;
        }
        op.name = CString(name.c_str());
        const std::wstring data = Trim(l.substr(pos + 1));
        if (data == L"-") {
            op.kind = RegOperation::Kind::DeleteValue;
            out.operations.push_back(op);
            continue;
        }
        op.kind = RegOperation::Kind::SetValue;
        const char* why = "";
        if (!ValueData(data, op, why)) {
            problem(n, why);
            continue;
        }
        out.operations.push_back(std::move(op));
    }
    return out;
}

int ApplyRegContent(const RegFileContent& content) {
    int refused = 0;
    for (const RegOperation& op : content.operations) {
        LONG r = ERROR_SUCCESS;
        if (op.kind == RegOperation::Kind::DeleteKey) {
            r = RegDeleteTree(op.root, op.key);
            if (r == ERROR_FILE_NOT_FOUND)
                r = ERROR_SUCCESS; // gone already is what was asked
        } else {
            HKEY key = nullptr;
            r = RegCreateKeyEx(op.root, op.key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr);
            if (r == ERROR_SUCCESS && op.kind == RegOperation::Kind::SetValue)
                r = RegSetValueEx(key, op.name, 0, op.type, op.data.data(), DWORD(op.data.size()));
            else if (r == ERROR_SUCCESS && op.kind == RegOperation::Kind::DeleteValue) {
                r = RegDeleteValue(key, op.name);
                if (r == ERROR_FILE_NOT_FOUND)
                    r = ERROR_SUCCESS;
            }
            if (key)
                RegCloseKey(key);
        }
        if (r != ERROR_SUCCESS)
            ++refused;
    }
    return refused;
}

bool ImportRegFile(const CString& path, std::vector<CString>& problems) {
    std::vector<BYTE> raw;
    const ReadWholeFileResult r = ReadWholeFile(path, kMaxRegFileBytes, raw);
    if (r != ReadWholeFileResult::Ok) {
        const wchar_t* why = r == ReadWholeFileResult::CannotOpen ? L"cannot be opened"
                             : r == ReadWholeFileResult::TooLarge ? L"is too large"
                                                                  : L"cannot be read";
        problems.insert(problems.begin(), path + L" " + why);
        return false;
    }
    RegFileContent content = ParseRegText(std::string(raw.begin(), raw.end()));
    problems.insert(problems.end(), content.problems.begin(), content.problems.end());
    if (!content.recognised)
        return false;
    if (int refused = ApplyRegContent(content)) {
        CString p;
        p.Format(L"%d settings could not be written", refused);
        problems.push_back(p);
    }
    return true;
}

} // namespace platform
