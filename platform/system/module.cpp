#include "platform/system/module.h"

#include "platform/system/paths.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace platform {
namespace {

CString g_lastError;

// Handles given out are the loader's own; the program is dlopen(NULL).
HMODULE ToHandle(void* h) {
    return reinterpret_cast<HMODULE>(h);
}
void* FromHandle(HMODULE h) {
    return reinterpret_cast<void*>(h);
}

bool HasSeparator(const std::wstring& s) {
    return s.find_first_of(L"/\\") != std::wstring::npos;
}

std::vector<std::string> Candidates(const CString& name) {
    std::wstring full = name.str();
    // A path names its folder: the forms below are tried there and nowhere else.
    std::wstring given;
    if (HasSeparator(full)) {
        given = FolderOf(name).str();
        full = full.substr(given.size());
    }
    std::wstring base = full;
    std::vector<std::wstring> forms;
    forms.push_back(base);
    size_t dot = base.rfind(L'.');
    std::wstring stem = base;
    if (dot != std::wstring::npos && base.size() - dot == 4 &&
        CString(base.substr(dot).c_str()).CompareNoCase(L".dll") == 0)
        stem = base.substr(0, dot);
    if (stem.size() < 3 || stem.compare(stem.size() - 3, 3, L".so") != 0) {
        forms.push_back(L"lib" + stem + L".so");
        forms.push_back(stem + L".so");
    }

    std::vector<std::string> out;
    if (!given.empty()) {
        for (const std::wstring& f : forms) {
            std::string p = MapPath((given + f).c_str());
            if (f == base || access(p.c_str(), R_OK) == 0)
                out.push_back(p);
        }
        return out;
    }
    std::vector<CString> folders;
    folders.push_back(ProgramFolder());
    CString exeFolder = FolderOf(ProgramFilePath());
    if (!exeFolder.IsEmpty()) {
        folders.push_back(exeFolder);
        folders.push_back(exeFolder + L"../lib/");
    }
    for (const CString& folder : folders)
        for (const std::wstring& f : forms) {
            std::string p = MapPath(folder + f.c_str());
            if (access(p.c_str(), R_OK) == 0)
                out.push_back(p);
        }
    // Leave the rest to the loader's own search.
    for (const std::wstring& f : forms)
        out.push_back(CString(f).ToUtf8());
    return out;
}

} // namespace

CString ProgramFilePath() {
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return CString();
    return CString::FromUtf8(std::string_view(buf.data(), size_t(n)));
}

CString ModuleFilePathOf(const void* address) {
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return CString();
    CString path = CString::FromUtf8(info.dli_fname);
    // The main program is reported by the name it was started with.
    CString exe = ProgramFilePath();
    if (!path.IsEmpty() && path.GetAt(0) != L'/' && !exe.IsEmpty())
        return exe;
    char* real = realpath(info.dli_fname, nullptr);
    if (real) {
        path = CString::FromUtf8(real);
        free(real);
    }
    return path;
}

HMODULE ModuleHandleOf(const void* address) {
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return nullptr;
    void* h = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (!h)
        return nullptr;
    // Handles from GetModuleHandle are not counted, as on the original platform.
    dlclose(h);
    return ToHandle(h);
}

CString GetModuleLoadError() {
    return g_lastError;
}

} // namespace platform

HMODULE LoadLibrary(const wchar_t* name) {
    if (!name || !*name) {
        platform::g_lastError = L"no library name";
        return nullptr;
    }
    CString first;
    for (const std::string& candidate : platform::Candidates(name)) {
        void* h = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (h) {
            platform::g_lastError.Empty();
            return platform::ToHandle(h);
        }
        if (first.IsEmpty()) {
            const char* e = dlerror();
            first = CString::FromUtf8(e ? e : "cannot load");
        }
    }
    platform::g_lastError = first;
    return nullptr;
}

HMODULE LoadLibraryW(const wchar_t* name) {
    return LoadLibrary(name);
}

BOOL FreeLibrary(HMODULE module) {
    if (!module)
        return FALSE;
    return dlclose(platform::FromHandle(module)) == 0 ? TRUE : FALSE;
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name)
        return nullptr;
    void* sym = dlsym(platform::FromHandle(module), name);
    FARPROC proc = nullptr;
    static_assert(sizeof(proc) == sizeof(sym));
    std::memcpy(&proc, &sym, sizeof(proc));
    return proc;
}

namespace {

struct FindModule {
    std::wstring want; // file name, lower case
    std::string found;
};

CString LowerName(const CString& path) {
    CString n = platform::FileNameOf(path);
    n.MakeLower();
    return n;
}

int VisitModule(dl_phdr_info* info, size_t, void* data) {
    auto* f = static_cast<FindModule*>(data);
    if (!info->dlpi_name || !*info->dlpi_name)
        return 0;
    CString name = LowerName(CString::FromUtf8(info->dlpi_name));
    const std::wstring& n = name.str();
    const std::wstring& w = f->want;
    if (n == w || n == L"lib" + w + L".so" || n == w + L".so" || n == L"lib" + w) {
        f->found = info->dlpi_name;
        return 1;
    }
    return 0;
}

} // namespace

HMODULE GetModuleHandle(const wchar_t* name) {
    if (!name) {
        void* self = dlopen(nullptr, RTLD_NOW);
        if (self)
            dlclose(self);
        return platform::ToHandle(self);
    }
    CString want = LowerName(name);
    int dot = want.ReverseFind(L'.');
    if (dot >= 0 && want.Mid(dot) == L".dll")
        want = want.Left(dot);
    FindModule f{want.str(), {}};
    dl_iterate_phdr(VisitModule, &f);
    if (f.found.empty())
        return nullptr;
    void* h = dlopen(f.found.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h)
        dlclose(h);
    return platform::ToHandle(h);
}

HMODULE GetModuleHandleW(const wchar_t* name) {
    return GetModuleHandle(name);
}

DWORD GetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    CString path;
    void* self = dlopen(nullptr, RTLD_NOW);
    if (self)
        dlclose(self);
    if (!module || platform::FromHandle(module) == self) {
        path = platform::ProgramFilePath();
    } else {
        link_map* map = nullptr;
        if (dlinfo(platform::FromHandle(module), RTLD_DI_LINKMAP, &map) != 0 || !map)
            return 0;
        if (!map->l_name || !*map->l_name) {
            path = platform::ProgramFilePath();
        } else {
            char* real = realpath(map->l_name, nullptr);
            path = CString::FromUtf8(real ? real : map->l_name);
            free(real);
        }
    }
    if (path.IsEmpty())
        return 0;
    DWORD n = DWORD(path.GetLength());
    if (n >= size) {
        wmemcpy(buffer, path.GetString(), size - 1);
        buffer[size - 1] = 0;
        return size;
    }
    wmemcpy(buffer, path.GetString(), n + 1);
    return n;
}

DWORD GetModuleFileNameW(HMODULE module, wchar_t* buffer, DWORD size) {
    return GetModuleFileName(module, buffer, size);
}
