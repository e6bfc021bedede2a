#include "platform/system/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace platform {
namespace {

std::wstring Fold(const std::wstring& s) {
    std::wstring f(s);
    for (wchar_t& c : f)
        c = wchar_t(std::towlower(wint_t(c)));
    return f;
}

struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::wstring name;
    std::map<std::wstring, std::unique_ptr<Key>> subkeys; // by folded name: a stable order
    std::vector<Value> values;                            // in the order first written

    Key* Find(const std::wstring& n) {
        auto it = subkeys.find(Fold(n));
        return it == subkeys.end() ? nullptr : it->second.get();
    }
    Key* Make(const std::wstring& n) {
        auto& slot = subkeys[Fold(n)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = n;
        }
        return slot.get();
    }
    Value* FindValue(const std::wstring& n) {
        std::wstring f = Fold(n);
        for (Value& v : values)
            if (Fold(v.name) == f)
                return &v;
        return nullptr;
    }
};

std::vector<std::wstring> SplitPath(const wchar_t* path) {
    std::vector<std::wstring> parts;
    if (!path)
        return parts;
    std::wstring cur;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\') {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
        } else {
            cur += *p;
        }
    }
    if (!cur.empty())
        parts.push_back(cur);
    return parts;
}

// ---- text form -------------------------------------------------------------------------

std::string Escape(const std::wstring& s) {
    std::string in = CString(s).ToUtf8();
    std::string out = "\"";
    for (unsigned char c : in) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads one line's tokens: bare words and quoted strings. False on a malformed string.
bool Tokenize(const std::string& line, std::vector<std::string>& out, std::vector<bool>& quoted) {
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '"') {
            std::string s;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    s += d;
                    continue;
                }
                if (i >= line.size())
                    return false;
                char e = line[i++];
                switch (e) {
                case '\\':
                    s += '\\';
                    break;
                case '"':
                    s += '"';
                    break;
                case 'n':
                    s += '\n';
                    break;
                case 'r':
                    s += '\r';
                    break;
                case 't':
                    s += '\t';
                    break;
                case 'x': {
                    if (i + 2 > line.size())
                        return false;
                    int h = HexDigit(line[i]), l = HexDigit(line[i + 1]);
                    if (h < 0 || l < 0)
                        return false;
                    s += char(h * 16 + l);
                    i += 2;
                    break;
                }
                default:
                    return false;
                }
            }
            if (!closed)
                return false;
            out.push_back(s);
            quoted.push_back(true);
            continue;
        }
        size_t end = line.find_first_of(" \t\r\"", i);
        if (end == std::string::npos)
            end = line.size();
        out.push_back(line.substr(i, end - i));
        quoted.push_back(false);
        i = end;
    }
    return true;
}

bool ParseUnsigned(const std::string& s, int base, unsigned long long max, unsigned long long& v) {
    if (s.empty() || s.size() > 20)
        return false;
    v = 0;
    for (char c : s) {
        int d = HexDigit(c);
        if (d < 0 || d >= base)
            return false;
        v = v * unsigned(base) + unsigned(d);
        if (v > max)
            return false;
    }
    return true;
}

std::vector<BYTE> StringBytes(const std::wstring& s) {
    std::vector<BYTE> b((s.size() + 1) * sizeof(wchar_t));
    std::memcpy(b.data(), s.c_str(), b.size());
    return b;
}

std::wstring BytesString(const std::vector<BYTE>& b) {
    size_t n = b.size() / sizeof(wchar_t);
    std::wstring s(n, L'\0');
    if (n)
        std::memcpy(s.data(), b.data(), n * sizeof(wchar_t));
    size_t z = s.find(L'\0');
    if (z != std::wstring::npos)
        s.resize(z);
    return s;
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

void WriteKey(const Key& key, std::vector<std::wstring>& path, std::string& out) {
    if (!path.empty()) {
        out += "key";
        for (const std::wstring& p : path)
            out += " " + Escape(p);
        out += "\n";
        for (const Value& v : key.values) {
            out += "value " + Escape(v.name) + " ";
            if (v.type == REG_DWORD && v.data.size() == 4) {
                DWORD d = DWORD(v.data[0]) | DWORD(v.data[1]) << 8 | DWORD(v.data[2]) << 16 |
                          DWORD(v.data[3]) << 24;
                out += "dword " + std::to_string(d);
            } else if (IsString(v.type)) {
                out += (v.type == REG_SZ ? "sz " : "expand_sz ") + Escape(BytesString(v.data));
            } else {
                out += "hex " + std::to_string(v.type) + " ";
                static const char digits[] = "0123456789abcdef";
                for (BYTE b : v.data) {
                    out += digits[b >> 4];
                    out += digits[b & 15];
                }
                if (v.data.empty())
                    out += "-";
            }
            out += "\n";
        }
    }
    for (const auto& [folded, sub] : key.subkeys) {
        path.push_back(sub->name);
        WriteKey(*sub, path, out);
        path.pop_back();
    }
}

std::string Serialize(const Key& root) {
    std::string out = "# Kelvane settings hive: written by the program, edit with care\n"
                      "hive 1\n";
    std::vector<std::wstring> path;
    WriteKey(root, path, out);
    out += "end\n";
    return out;
}

// Loads what is sound; every line that is not is reported and skipped.
void Parse(const std::string& text, Key& root, std::vector<CString>& problems,
           const std::string& file) {
    auto report = [&](size_t line, const char* what) {
        problems.push_back(
            CString::FromUtf8(file + ": line " + std::to_string(line) + ": " + what));
    };
    Key* current = nullptr;
    bool currentBad = false;
    bool ended = false;
    size_t lineNo = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        bool complete = nl != std::string::npos;
        std::string line = text.substr(pos, complete ? nl - pos : std::string::npos);
        pos = complete ? nl + 1 : text.size();
        ++lineNo;
        if (!complete) {
            report(lineNo, "cut short");
            break;
        }
        if (line.empty() || line[0] == '#' || (line.size() == 1 && line[0] == '\r'))
            continue;
        if (ended) {
            report(lineNo, "text after the end mark");
            break;
        }
        std::vector<std::string> tok;
        std::vector<bool> quoted;
        if (!Tokenize(line, tok, quoted) || tok.empty()) {
            report(lineNo, "unreadable");
            if (!tok.empty() && tok[0] == "key")
                currentBad = true;
            continue;
        }
        const std::string& word = tok[0];
        if (word == "hive") {
            if (tok.size() != 2 || tok[1] != "1")
                report(lineNo, "unknown hive version");
        } else if (word == "end" && tok.size() == 1) {
            ended = true;
        } else if (word == "key") {
            bool ok = tok.size() >= 2;
            for (size_t i = 1; ok && i < tok.size(); ++i)
                ok = quoted[i] && !tok[i].empty() && tok[i].find('\\') == std::string::npos;
            if (!ok) {
                report(lineNo, "bad key line");
                currentBad = true;
                continue;
            }
            Key* k = &root;
            for (size_t i = 1; i < tok.size(); ++i)
                k = k->Make(CString::FromUtf8(tok[i]).str());
            current = k;
            currentBad = false;
        } else if (word == "value") {
            if (!current || currentBad) {
                report(lineNo, "value outside a readable key");
                continue;
            }
            if (tok.size() < 4 || !quoted[1] || quoted[2]) {
                report(lineNo, "bad value line");
                continue;
            }
            Value v;
            v.name = CString::FromUtf8(tok[1]).str();
            const std::string& type = tok[2];
            unsigned long long n = 0;
            if (type == "dword" && tok.size() == 4 && !quoted[3] &&
                ParseUnsigned(tok[3], 10, 0xFFFFFFFFull, n)) {
                v.type = REG_DWORD;
                v.data = {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)};
            } else if ((type == "sz" || type == "expand_sz") && tok.size() == 4 && quoted[3]) {
                v.type = type == "sz" ? REG_SZ : REG_EXPAND_SZ;
                v.data = StringBytes(CString::FromUtf8(tok[3]).str());
            } else if (type == "hex" && tok.size() == 5 && !quoted[3] && !quoted[4] &&
                       ParseUnsigned(tok[3], 10, 0xFFFFFFFFull, n) &&
                       (tok[4] == "-" || tok[4].size() % 2 == 0)) {
                v.type = DWORD(n);
                bool good = true;
                if (tok[4] != "-")
                    for (size_t i = 0; i < tok[4].size(); i += 2) {
                        int h = HexDigit(tok[4][i]), l = HexDigit(tok[4][i + 1]);
                        if (h < 0 || l < 0) {
                            good = false;
                            break;
                        }
                        v.data.push_back(BYTE(h * 16 + l));
                    }
                if (!good) {
                    report(lineNo, "bad binary data");
                    continue;
                }
            } else {
                report(lineNo, "bad value data");
                continue;
            }
            if (Value* old = current->FindValue(v.name))
                *old = std::move(v);
            else
                current->values.push_back(std::move(v));
        } else {
            report(lineNo, "unknown line");
        }
    }
    if (!ended)
        problems.push_back(CString::FromUtf8(file + ": no end mark; the hive may be cut short"));
}

// ---- hives -----------------------------------------------------------------------------

std::function<bool(const std::string&)> g_commitHook;
constexpr size_t kMaxHiveBytes = 64u << 20;

bool MakeFolders(const std::string& file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    std::string folder = file.substr(0, slash);
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            std::string part = folder.substr(0, i);
            // Readable by all: the machine-wide hive is read by every user.
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

bool WriteAll(int fd, const std::string& s) {
    size_t done = 0;
    while (done < s.size()) {
        ssize_t n = write(fd, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

class Hive {
public:
    explicit Hive(std::string path) : m_path(std::move(path)) {}
    ~Hive() {
        if (m_fd >= 0)
            close(m_fd);
    }

    const std::string& path() const { return m_path; }
    const std::vector<CString>& problems() const { return m_problems; }

    // Reads the file again when another writer has replaced it.
    Key& Current() {
        if (Changed())
            Load();
        return m_root;
    }

    // Runs `change` on the freshest tree under the lock and writes the result through.
    // The change returns ERROR_SUCCESS to be written, anything else to leave the hive alone.
    LONG Modify(const std::function<LONG(Key&)>& change) {
        if (!MakeFolders(m_path))
            return ERROR_ACCESS_DENIED;
        std::string lockPath = m_path + ".lock";
        int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0)
            return ERROR_ACCESS_DENIED;
        while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
        }
        if (Changed())
            Load();
        LONG result = change(m_root);
        if (result == ERROR_SUCCESS) {
            result = Save();
            // What is in memory must match the disk again.
            if (result != ERROR_SUCCESS)
                Load();
        }
        flock(lock, LOCK_UN);
        close(lock);
        return result;
    }

private:
    bool Changed() {
        struct stat now;
        if (stat(m_path.c_str(), &now) != 0)
            return m_fd >= 0 || !m_loaded; // deleted since, or never looked at
        if (m_fd < 0)
            return true;
        struct stat held;
        if (fstat(m_fd, &held) != 0)
            return true;
        // The open descriptor pins the inode, so a replaced file always has another one.
        return now.st_dev != held.st_dev || now.st_ino != held.st_ino || now.st_size != m_size ||
               now.st_mtim.tv_sec != m_mtime.tv_sec || now.st_mtim.tv_nsec != m_mtime.tv_nsec;
    }

    void Load() {
        m_root = Key();
        m_problems.clear();
        m_damaged = false;
        m_loaded = true;
        if (m_fd >= 0)
            close(m_fd);
        m_fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0) {
            if (errno != ENOENT)
                m_problems.push_back(
                    CString::FromUtf8(m_path + ": cannot be read: " + std::strerror(errno)));
            return;
        }
        struct stat st;
        fstat(m_fd, &st);
        m_size = st.st_size;
        m_mtime = st.st_mtim;
        std::string text;
        char buf[65536];
        bool tooLarge = false;
        for (;;) {
            ssize_t n = pread(m_fd, buf, sizeof buf, off_t(text.size()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            // No settings hive grows this large; what does is not ours to load.
            if (text.size() + size_t(n) > kMaxHiveBytes) {
                tooLarge = true;
                break;
            }
            text.append(buf, size_t(n));
        }
        if (tooLarge)
            m_problems.push_back(CString::FromUtf8(m_path + ": larger than any hive; not loaded"));
        else
            Parse(text, m_root, m_problems, m_path);
        if (!m_problems.empty()) {
            m_damaged = true;
            for (const CString& p : m_problems)
                std::fprintf(stderr, "settings: %s\n", p.ToUtf8().c_str());
        }
    }

    LONG Save() {
        if (m_damaged) {
            // Keep the damaged original: what could not be read is not lost. Where the file
            // system has no hard links, the original is moved aside instead.
            for (int i = 0; i < 1000; ++i) {
                std::string aside = m_path + ".damaged" + (i ? "." + std::to_string(i) : "");
                if (access(aside.c_str(), F_OK) == 0)
                    continue;
                if (link(m_path.c_str(), aside.c_str()) != 0 && errno != EEXIST)
                    rename(m_path.c_str(), aside.c_str());
                break;
            }
            m_damaged = false;
        }
        std::string text = Serialize(m_root);
        std::string temp = m_path + ".tmp";
        struct stat old;
        mode_t mode = stat(m_path.c_str(), &old) == 0 ? (old.st_mode & 0777) : 0644;
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (fd >= 0)
            fchmod(fd, mode); // a temporary file left by a crash keeps no other mode
        if (fd < 0)
            return errno == EACCES || errno == EROFS || errno == EPERM ? ERROR_ACCESS_DENIED
                                                                       : ERROR_WRITE_FAULT;
        if (!WriteAll(fd, text) || fsync(fd) != 0) {
            close(fd);
            unlink(temp.c_str());
            return ERROR_WRITE_FAULT;
        }
        close(fd);
        if (g_commitHook && !g_commitHook(temp))
            return ERROR_WRITE_FAULT;
        if (rename(temp.c_str(), m_path.c_str()) != 0) {
            unlink(temp.c_str());
            return ERROR_WRITE_FAULT;
        }
        size_t slash = m_path.rfind('/');
        std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
        int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
        // Hold the file just written, so the next change by anyone else is seen.
        if (m_fd >= 0)
            close(m_fd);
        m_fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (m_fd >= 0 && fstat(m_fd, &st) == 0) {
            m_size = st.st_size;
            m_mtime = st.st_mtim;
        }
        return ERROR_SUCCESS;
    }

    std::string m_path;
    Key m_root;
    std::vector<CString> m_problems;
    bool m_damaged = false;
    bool m_loaded = false;
    int m_fd = -1;
    off_t m_size = 0;
    timespec m_mtime{};
};

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::map<std::string, std::unique_ptr<Hive>> g_hives;
std::string g_lastUser, g_lastMachine;

enum { kUser = 1, kMachine = 2 };

Hive& HiveFor(int root) {
    std::string path = root == kUser ? UserHivePath() : MachineHivePath();
    (root == kUser ? g_lastUser : g_lastMachine) = path;
    auto& slot = g_hives[path];
    if (!slot)
        slot = std::make_unique<Hive>(path);
    return *slot;
}

// ---- handles ---------------------------------------------------------------------------

struct KeyHandle {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
};

std::set<KeyHandle*> g_handles;

bool Resolve(HKEY key, int& root, std::vector<std::wstring>& path, REGSAM& access) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) {
        root = key == HKEY_CURRENT_USER ? kUser : kMachine;
        path.clear();
        access = KEY_ALL_ACCESS;
        return true;
    }
    auto* h = reinterpret_cast<KeyHandle*>(key);
    if (!g_handles.count(h))
        return false;
    root = h->root;
    path = h->path;
    access = h->access;
    return true;
}

Key* Walk(Key& root, const std::vector<std::wstring>& path) {
    Key* k = &root;
    for (const std::wstring& p : path) {
        k = k->Find(p);
        if (!k)
            return nullptr;
    }
    return k;
}

HKEY NewHandle(int root, std::vector<std::wstring> path, REGSAM access) {
    auto* h = new KeyHandle{root, std::move(path), access};
    g_handles.insert(h);
    return reinterpret_cast<HKEY>(h);
}

// A handle's key, resolved in the freshest tree.
LONG Locate(HKEY key, int& root, std::vector<std::wstring>& path, REGSAM& access, Key*& found) {
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    found = Walk(HiveFor(root).Current(), path);
    return found ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG CopyName(const std::wstring& n, wchar_t* out, DWORD* chars) {
    if (!chars)
        return ERROR_INVALID_PARAMETER;
    if (!out || *chars <= n.size()) {
        *chars = DWORD(n.size());
        return ERROR_MORE_DATA;
    }
    std::wmemcpy(out, n.c_str(), n.size() + 1);
    *chars = DWORD(n.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const Value& v, DWORD* type, BYTE* data, DWORD* bytes) {
    if (type)
        *type = v.type;
    if (!bytes)
        return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    DWORD need = DWORD(v.data.size());
    if (data && *bytes < need) {
        *bytes = need;
        return ERROR_MORE_DATA;
    }
    if (data && need)
        std::memcpy(data, v.data.data(), need);
    *bytes = need;
    return ERROR_SUCCESS;
}

} // namespace

std::string UserHivePath() {
    std::string config = EnvOr("XDG_CONFIG_HOME", "");
    if (config.empty() || config[0] != '/')
        config = EnvOr("HOME", "/tmp") + "/.config";
    return EnvOr("KELVANE_USER_HIVE", config + "/kelvane/user.hive");
}

std::string MachineHivePath() {
    return EnvOr("KELVANE_MACHINE_HIVE", "/etc/kelvane/machine.hive");
}

std::vector<CString> SettingsProblems() {
    std::vector<CString> all;
    for (const std::string& p : {g_lastUser, g_lastMachine}) {
        auto it = g_hives.find(p);
        if (it != g_hives.end())
            all.insert(all.end(), it->second->problems().begin(), it->second->problems().end());
    }
    return all;
}

void ResetSettingsStore() {
    g_hives.clear();
    g_lastUser.clear();
    g_lastMachine.clear();
}

void SetHiveCommitHook(std::function<bool(const std::string&)> hook) {
    g_commitHook = std::move(hook);
}

} // namespace platform

using namespace platform;

LONG RegOpenKeyEx(HKEY key, const wchar_t* subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    int root;
    std::vector<std::wstring> path;
    REGSAM parentAccess;
    Key* k;
    if (LONG r = Locate(key, root, path, parentAccess, k); r != ERROR_SUCCESS)
        return r == ERROR_KEY_DELETED ? ERROR_FILE_NOT_FOUND : r;
    for (const std::wstring& p : SplitPath(subKey)) {
        k = k->Find(p);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        path.push_back(k->name);
    }
    *result = NewHandle(root, std::move(path), access);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, const wchar_t* subKey, DWORD, wchar_t*, DWORD, REGSAM access, void*,
                    PHKEY result, DWORD* disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    int root;
    std::vector<std::wstring> path;
    REGSAM parentAccess;
    if (!Resolve(key, root, path, parentAccess))
        return ERROR_INVALID_HANDLE;
    std::vector<std::wstring> parts = SplitPath(subKey);
    // Opening what exists needs no write.
    if (Key* k = Walk(HiveFor(root).Current(), path)) {
        std::vector<std::wstring> full = path;
        for (const std::wstring& p : parts) {
            k = k ? k->Find(p) : nullptr;
            if (k)
                full.push_back(k->name);
        }
        if (k) {
            if (disposition)
                *disposition = REG_OPENED_EXISTING_KEY;
            *result = NewHandle(root, std::move(full), access);
            return ERROR_SUCCESS;
        }
    }
    if (!(parentAccess & KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    std::vector<std::wstring> full;
    LONG r = HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        full = path;
        for (const std::wstring& p : parts) {
            k = k->Make(p);
            full.push_back(k->name);
        }
        return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS)
        return r;
    if (disposition)
        *disposition = REG_CREATED_NEW_KEY;
    *result = NewHandle(root, std::move(full), access);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    auto* h = reinterpret_cast<KeyHandle*>(key);
    if (!g_handles.erase(h))
        return ERROR_INVALID_HANDLE;
    delete h;
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const wchar_t* name, DWORD*, DWORD* type, BYTE* data,
                     DWORD* dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    Value* v = k->FindValue(name ? name : L"");
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    return CopyData(*v, type, data, dataBytes);
}

LONG RegSetValueEx(HKEY key, const wchar_t* name, DWORD, DWORD type, const BYTE* data,
                   DWORD dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (dataBytes && !data)
        return ERROR_INVALID_PARAMETER;
    Value v;
    v.name = name ? name : L"";
    v.type = type;
    if (type == REG_DWORD) {
        if (dataBytes != 4)
            return ERROR_INVALID_PARAMETER;
        v.data.assign(data, data + 4);
    } else if (IsString(type)) {
        // Strings are kept to their terminator; a missing terminator is supplied.
        std::wstring s;
        size_t n = dataBytes / sizeof(wchar_t);
        for (size_t i = 0; i < n; ++i) {
            wchar_t c;
            std::memcpy(&c, data + i * sizeof(wchar_t), sizeof c);
            if (!c)
                break;
            s += c;
        }
        v.data = StringBytes(s);
    } else {
        v.data.assign(data, data + dataBytes);
    }
    return HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        if (Value* old = k->FindValue(v.name)) {
            old->type = v.type;
            old->data = v.data;
        } else {
            k->values.push_back(v);
        }
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY key, const wchar_t* name) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    std::wstring want = Fold(name ? name : L"");
    return HiveFor(root).Modify([&](Key& tree) -> LONG {
        Key* k = Walk(tree, path);
        if (!k)
            return ERROR_KEY_DELETED;
        for (auto it = k->values.begin(); it != k->values.end(); ++it)
            if (Fold(it->name) == want) {
                k->values.erase(it);
                return ERROR_SUCCESS;
            }
        return ERROR_FILE_NOT_FOUND;
    });
}

static LONG DeleteKey(HKEY key, const wchar_t* subKey, bool tree) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    if (!Resolve(key, root, path, access))
        return ERROR_INVALID_HANDLE;
    std::vector<std::wstring> parts = SplitPath(subKey);
    if (parts.empty() && !tree)
        return ERROR_INVALID_PARAMETER;
    return HiveFor(root).Modify([&](Key& t) -> LONG {
        Key* parent = Walk(t, path);
        if (!parent)
            return ERROR_KEY_DELETED;
        if (parts.empty()) {
            parent->subkeys.clear();
            parent->values.clear();
            return ERROR_SUCCESS;
        }
        for (size_t i = 0; i + 1 < parts.size(); ++i) {
            parent = parent->Find(parts[i]);
            if (!parent)
                return ERROR_FILE_NOT_FOUND;
        }
        auto it = parent->subkeys.find(Fold(parts.back()));
        if (it == parent->subkeys.end())
            return ERROR_FILE_NOT_FOUND;
        if (!tree && !it->second->subkeys.empty())
            return ERROR_ACCESS_DENIED;
        parent->subkeys.erase(it);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteKey(HKEY key, const wchar_t* subKey) {
    return DeleteKey(key, subKey, false);
}
LONG RegDeleteTree(HKEY key, const wchar_t* subKey) {
    return DeleteKey(key, subKey, true);
}

LONG RegEnumKeyEx(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD*, wchar_t* cls,
                  DWORD* classChars, void*) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (index >= k->subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    auto it = k->subkeys.begin();
    std::advance(it, index);
    if (cls && classChars && *classChars)
        cls[0] = 0;
    if (classChars)
        *classChars = 0;
    return CopyName(it->second->name, name, nameChars);
}

LONG RegEnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* nameChars, DWORD*, DWORD* type,
                  BYTE* data, DWORD* dataBytes) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (index >= k->values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& v = k->values[index];
    if (LONG r = CopyName(v.name, name, nameChars); r != ERROR_SUCCESS)
        return r;
    return CopyData(v, type, data, dataBytes);
}

LONG RegQueryInfoKey(HKEY key, wchar_t* cls, DWORD* classChars, DWORD*, DWORD* subKeys,
                     DWORD* maxSubKeyChars, DWORD* maxClassChars, DWORD* values,
                     DWORD* maxValueNameChars, DWORD* maxValueBytes, DWORD* securityBytes, void*) {
    int root;
    std::vector<std::wstring> path;
    REGSAM access;
    Key* k;
    if (LONG r = Locate(key, root, path, access, k); r != ERROR_SUCCESS)
        return r;
    if (cls && classChars && *classChars)
        cls[0] = 0;
    if (classChars)
        *classChars = 0;
    if (maxClassChars)
        *maxClassChars = 0;
    if (securityBytes)
        *securityBytes = 0;
    DWORD maxSub = 0, maxName = 0, maxData = 0;
    for (const auto& [f, sub] : k->subkeys)
        maxSub = std::max(maxSub, DWORD(sub->name.size()));
    for (const Value& v : k->values) {
        maxName = std::max(maxName, DWORD(v.name.size()));
        maxData = std::max(maxData, DWORD(v.data.size()));
    }
    if (subKeys)
        *subKeys = DWORD(k->subkeys.size());
    if (maxSubKeyChars)
        *maxSubKeyChars = maxSub;
    if (values)
        *values = DWORD(k->values.size());
    if (maxValueNameChars)
        *maxValueNameChars = maxName;
    if (maxValueBytes)
        *maxValueBytes = maxData;
    return ERROR_SUCCESS;
}
