// The hive text form: escaping, tokens, writing keys and values, reading them back.
#include "platform/system/settings_text.h"

#include <string>

namespace platform::settings {
namespace {

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

} // namespace

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

} // namespace platform::settings
