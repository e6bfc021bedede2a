#include "platform/system/private_profile.h"

#include "platform/core/cstring.h"
#include "platform/system/paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

enum class Encoding { Utf8, Utf8Bom, Utf16 };

struct IniFile {
    std::vector<std::wstring> lines; // without their line ends
    Encoding encoding = Encoding::Utf8;
    std::wstring eol = L"\r\n";
    bool finalEol = true;
    bool exists = false;
};

bool ReadBytes(const std::string& path, std::string& out) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, size_t(n));
    }
    close(fd);
    return true;
}

std::wstring Decode(const std::string& bytes, Encoding& enc) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
        enc = Encoding::Utf16;
        std::wstring out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            uint32_t u = uint8_t(bytes[i]) | uint32_t(uint8_t(bytes[i + 1])) << 8;
            if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
                uint32_t l = uint8_t(bytes[i + 2]) | uint32_t(uint8_t(bytes[i + 3])) << 8;
                if (l >= 0xDC00 && l < 0xE000) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (l - 0xDC00);
                    i += 2;
                }
            }
            out += wchar_t(u);
        }
        return out;
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        enc = Encoding::Utf8Bom;
        return CString::FromUtf8(std::string_view(bytes).substr(3)).str();
    }
    enc = Encoding::Utf8;
    return CString::FromUtf8(bytes).str();
}

std::string Encode(const std::wstring& text, Encoding enc) {
    if (enc != Encoding::Utf16) {
        std::string s = CString(text).ToUtf8();
        return enc == Encoding::Utf8Bom ? "\xEF\xBB\xBF" + s : s;
    }
    std::string out = "\xFF\xFE";
    auto put = [&](uint32_t u) {
        out += char(u & 0xFF);
        out += char(u >> 8);
    };
    for (wchar_t c : text) {
        uint32_t u = uint32_t(c);
        if (u >= 0x10000) {
            u -= 0x10000;
            put(0xD800 + (u >> 10));
            put(0xDC00 + (u & 0x3FF));
        } else {
            put(u);
        }
    }
    return out;
}

IniFile Load(const std::string& path) {
    IniFile f;
    std::string bytes;
    if (!ReadBytes(path, bytes))
        return f;
    f.exists = true;
    std::wstring text = Decode(bytes, f.encoding);
    f.eol = text.find(L"\r\n") != std::wstring::npos || text.find(L'\n') == std::wstring::npos
                ? L"\r\n"
                : L"\n";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find(L'\n', pos);
        std::wstring line =
            text.substr(pos, nl == std::wstring::npos ? std::wstring::npos : nl - pos);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        f.lines.push_back(line);
        if (nl == std::wstring::npos) {
            f.finalEol = false;
            break;
        }
        pos = nl + 1;
    }
    return f;
}

std::wstring Trim(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::iswspace(wint_t(s[a])))
        ++a;
    while (b > a && std::iswspace(wint_t(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool SameNoCase(const std::wstring& a, const wchar_t* b) {
    return CString(a.c_str()).CompareNoCase(b ? b : L"") == 0;
}

// The section named in a header line; false when the line is not one.
bool SectionOf(const std::wstring& line, std::wstring& name) {
    std::wstring t = Trim(line);
    if (t.empty() || t[0] != L'[')
        return false;
    size_t close = t.find(L']');
    name = Trim(t.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
    return true;
}

// The key and value of a line inside a section; false for lines without "=" and comments.
bool EntryOf(const std::wstring& line, std::wstring& key, std::wstring& value) {
    std::wstring t = Trim(line);
    if (t.empty() || t[0] == L';')
        return false;
    size_t eq = t.find(L'=');
    if (eq == std::wstring::npos)
        return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

// Index range [first, last) of the first section of that name, header at first - 1.
bool FindSection(const IniFile& f, const wchar_t* section, size_t& first, size_t& last) {
    std::wstring name;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        if (!SectionOf(f.lines[i], name) || !SameNoCase(name, section))
            continue;
        first = i + 1;
        last = first;
        while (last < f.lines.size() && !SectionOf(f.lines[last], name))
            ++last;
        return true;
    }
    return false;
}

// Copies a list of zero-terminated items with a final zero; the list form of the result.
DWORD CopyList(const std::vector<std::wstring>& items, wchar_t* buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    if (size == 1) {
        buffer[0] = 0;
        return 0;
    }
    DWORD pos = 0;
    for (const std::wstring& item : items) {
        if (pos + item.size() + 1 > size - 1) {
            // Cut short: what fits, then the two zeros.
            DWORD room = size - 2 - pos;
            std::wmemcpy(buffer + pos, item.c_str(), room);
            buffer[size - 2] = 0;
            buffer[size - 1] = 0;
            return size - 2;
        }
        std::wmemcpy(buffer + pos, item.c_str(), item.size() + 1);
        pos += DWORD(item.size() + 1);
    }
    buffer[pos] = 0;
    return pos;
}

DWORD CopyValue(const std::wstring& v, wchar_t* buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    if (v.size() >= size) {
        std::wmemcpy(buffer, v.c_str(), size - 1);
        buffer[size - 1] = 0;
        return size - 1;
    }
    std::wmemcpy(buffer, v.c_str(), v.size() + 1);
    return DWORD(v.size());
}

bool Store(const std::string& path, const IniFile& f) {
    std::wstring text;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        text += f.lines[i];
        if (i + 1 < f.lines.size() || f.finalEol)
            text += f.eol;
    }
    std::string bytes = Encode(text, f.encoding);
    struct stat st;
    mode_t mode = stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    std::string temp = path + ".tmp" + std::to_string(getpid());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    bool ok = done == bytes.size() && fsync(fd) == 0;
    close(fd);
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

// Serialises writers of profiles in the same folder, across processes.
class FolderLock {
public:
    explicit FolderLock(const std::string& file) {
        size_t slash = file.rfind('/');
        std::string folder = slash == std::string::npos ? "." : file.substr(0, slash + 1);
        m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd >= 0)
            while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock() {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace

namespace {

// The value of a key, quotes around the whole value removed; false when missing.
bool Lookup(const IniFile& f, const wchar_t* section, const wchar_t* key, std::wstring& out) {
    size_t first = 0, last = 0;
    if (!FindSection(f, section, first, last))
        return false;
    std::wstring k, v;
    for (size_t i = first; i < last; ++i) {
        if (!EntryOf(f.lines[i], k, v) || !SameNoCase(k, key))
            continue;
        if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        out = v;
        return true;
    }
    return false;
}

} // namespace

DWORD GetPrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                              wchar_t* buffer, DWORD size, const wchar_t* file) {
    IniFile f = Load(platform::MapPath(file));
    std::wstring name, k, v;
    if (!section) {
        std::vector<std::wstring> names;
        for (const std::wstring& line : f.lines)
            if (SectionOf(line, name))
                names.push_back(name);
        return CopyList(names, buffer, size);
    }
    if (!key) {
        std::vector<std::wstring> keys;
        size_t first = 0, last = 0;
        if (FindSection(f, section, first, last))
            for (size_t i = first; i < last; ++i)
                if (EntryOf(f.lines[i], k, v))
                    keys.push_back(k);
        return CopyList(keys, buffer, size);
    }
    if (Lookup(f, section, key, v))
        return CopyValue(v, buffer, size);
    std::wstring d = def ? def : L"";
    while (!d.empty() && d.back() == L' ')
        d.pop_back();
    return CopyValue(d, buffer, size);
}

UINT GetPrivateProfileInt(const wchar_t* section, const wchar_t* key, INT def,
                          const wchar_t* file) {
    std::wstring v;
    if (!section || !key || !Lookup(Load(platform::MapPath(file)), section, key, v))
        return UINT(def);
    const wchar_t* p = v.c_str();
    while (std::iswspace(wint_t(*p)))
        ++p;
    bool neg = false;
    if (*p == L'-' || *p == L'+')
        neg = *p++ == L'-';
    int64_t n = 0;
    while (*p >= L'0' && *p <= L'9') {
        n = n * 10 + (*p++ - L'0');
        if (n > 0xFFFFFFFFll)
            n = 0xFFFFFFFFll;
    }
    return UINT(neg ? -n : n);
}

BOOL WritePrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                               const wchar_t* file) {
    if (!section || !file)
        return FALSE;
    std::string path = platform::MapPath(file);
    FolderLock lock(path);
    if (!lock.ok())
        return FALSE;
    IniFile f = Load(path);
    size_t first = 0, last = 0;
    bool found = FindSection(f, section, first, last);
    if (!key) {
        if (found)
            f.lines.erase(f.lines.begin() + long(first - 1), f.lines.begin() + long(last));
        return !found || Store(path, f) ? TRUE : FALSE;
    }
    std::wstring k, v;
    for (size_t i = first; found && i < last; ++i) {
        if (!EntryOf(f.lines[i], k, v) || !SameNoCase(k, key))
            continue;
        if (!value)
            f.lines.erase(f.lines.begin() + long(i));
        else
            f.lines[i] = k + L"=" + value;
        return Store(path, f) ? TRUE : FALSE;
    }
    if (!value)
        return TRUE;
    std::wstring entry = std::wstring(key) + L"=" + value;
    if (found) {
        // After the section's last line that is not blank.
        size_t at = last;
        while (at > first && Trim(f.lines[at - 1]).empty())
            --at;
        f.lines.insert(f.lines.begin() + long(at), entry);
    } else {
        if (!f.lines.empty() && !f.finalEol)
            f.finalEol = true;
        f.lines.push_back(L"[" + std::wstring(section) + L"]");
        f.lines.push_back(entry);
        f.finalEol = true;
    }
    return Store(path, f) ? TRUE : FALSE;
}

DWORD GetPrivateProfileSection(const wchar_t* section, wchar_t* buffer, DWORD size,
                               const wchar_t* file) {
    IniFile f = Load(platform::MapPath(file));
    size_t first = 0, last = 0;
    std::vector<std::wstring> items;
    if (section && FindSection(f, section, first, last))
        for (size_t i = first; i < last; ++i) {
            std::wstring t = Trim(f.lines[i]);
            if (!t.empty() && t[0] != L';')
                items.push_back(t);
        }
    return CopyList(items, buffer, size);
}

DWORD GetPrivateProfileSectionNames(wchar_t* buffer, DWORD size, const wchar_t* file) {
    return GetPrivateProfileString(nullptr, nullptr, nullptr, buffer, size, file);
}
