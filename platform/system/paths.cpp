#include "platform/system/paths.h"

#include "platform/system/module.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <vector>

namespace platform {
namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

std::wstring Fold(const std::wstring& s) {
    std::wstring f(s);
    for (wchar_t& c : f)
        c = wchar_t(std::towlower(wint_t(c)));
    return f;
}

// The entry of `folder` whose name equals `name` ignoring case; empty when none.
std::string FindNoCase(const std::string& folder, const std::string& name) {
    DIR* d = opendir(folder.empty() ? "." : folder.c_str());
    if (!d)
        return std::string();
    std::wstring want = Fold(CString::FromUtf8(name).str());
    std::vector<std::string> hits;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..")
            continue;
        if (Fold(CString::FromUtf8(n).str()) == want)
            hits.push_back(n);
    }
    closedir(d);
    if (hits.empty())
        return std::string();
    std::sort(hits.begin(), hits.end());
    return hits.front();
}

std::string WithSlash(const std::string& s) {
    if (s.empty() || s.back() == '/')
        return s;
    return s + "/";
}

} // namespace

std::string MapPath(const wchar_t* path) {
    if (!path || !*path)
        return std::string();
    std::wstring w(path);
    std::replace(w.begin(), w.end(), L'\\', L'/');
    if (w.size() >= 2 && w[1] == L':' && std::iswalpha(wint_t(w[0])))
        w.erase(0, 2);
    std::wstring collapsed;
    for (wchar_t c : w)
        if (!(c == L'/' && !collapsed.empty() && collapsed.back() == L'/'))
            collapsed += c;
    std::string mapped = CString(collapsed).ToUtf8();
    if (mapped.empty() || Exists(mapped))
        return mapped;

    // Walk the components; only the missing ones are looked up ignoring case.
    bool absolute = mapped[0] == '/';
    std::vector<std::string> parts;
    size_t start = absolute ? 1 : 0;
    while (start <= mapped.size()) {
        size_t slash = mapped.find('/', start);
        if (slash == std::string::npos)
            slash = mapped.size();
        parts.push_back(mapped.substr(start, slash - start));
        start = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    bool lost = false;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string next = out + part;
        if (!lost && !part.empty() && part != "." && part != ".." && !Exists(next)) {
            std::string hit = FindNoCase(out, part);
            if (!hit.empty())
                next = out + hit;
            else
                lost = true;
        }
        out = next;
        if (i + 1 < parts.size())
            out += "/";
    }
    return out;
}

CString NativePath(const wchar_t* path) {
    return CString::FromUtf8(MapPath(path));
}

bool EndsWithSeparator(const CString& path) {
    if (path.IsEmpty())
        return false;
    wchar_t c = path.GetAt(path.GetLength() - 1);
    return c == L'\\' || c == L'/';
}

CString FolderOf(const CString& path) {
    int cut = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return cut < 0 ? CString() : path.Left(cut + 1);
}

CString FileNameOf(const CString& path) {
    int cut = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return path.Mid(cut + 1);
}

CString ProgramFolder() {
    const char* env = std::getenv("KELVANE_PROGRAM_DIR");
    if (env && *env)
        return CString::FromUtf8(WithSlash(env));
    return FolderOf(ProgramFilePath());
}

CString DefaultHomeFolder() {
    std::string folder;
    const char* env = std::getenv("KELVANE_HOME");
    if (env && *env) {
        folder = env;
    } else if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        folder = std::string(data) + "/kelvane";
    } else if (const char* home = std::getenv("HOME");
               home && *home == '/' && std::string(home) != "/") {
        folder = std::string(home) + "/.local/share/kelvane";
    } else {
        // No usable home: stay out of the root, which is not ours to fill.
        folder = "/tmp/kelvane-" + std::to_string(getuid());
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder == "/")
        folder = "/tmp/kelvane-" + std::to_string(getuid());
    return CString::FromUtf8(WithSlash(folder));
}

bool PathExists(const wchar_t* path) {
    std::string p = MapPath(path);
    struct stat st;
    return !p.empty() && stat(p.c_str(), &st) == 0;
}

} // namespace platform
