#include "pivora/framework/app_params.h"

#include "pivora/framework/app_param_list.h"
#include "pivora/framework/app_profile.h"
#include "platform/system/paths.h"
#include "platform/system/settings_store.h"
#include "platform/windowing/resources.h"

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <string>

namespace {

constexpr int kSectionChars = 100;
constexpr int kStemChars = 256;
const wchar_t kStringNotFound[] = L"String-Not-Found";
const wchar_t kBootSwitch[] = L"Enable Settings By BOOT Profile";

wchar_t g_section[kSectionChars] = L"Application-Settings";
wchar_t g_stem[kStemChars] = L"";
std::wstring g_registryString;
// Filled once outside boot-profile mode; a CString, so a long home is never cut.
CString g_homeCache;

// Copies with a terminator always inside the buffer.
void CopyCut(wchar_t* to, int chars, const wchar_t* from) {
    std::wcsncpy(to, from ? from : L"", size_t(chars - 1));
    to[chars - 1] = 0;
}

bool BootProfileMode() {
    return FnGetBootProfileInt(kBootSwitch, 0) != 0;
}

// Software\Oquen\<stem>\<section> of the local machine, opened step by step.
HKEY OpenMachineSection(REGSAM access) {
    // A fresh machine hive has no "Software" yet; a writer makes it, a reader finds nothing.
    HKEY software = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Software", 0, nullptr, 0, access, nullptr, &software,
                       nullptr) != ERROR_SUCCESS)
        return nullptr;
    HKEY key = software;
    for (const wchar_t* sub :
         {L"Oquen", static_cast<const wchar_t*>(g_stem), static_cast<const wchar_t*>(g_section)}) {
        HKEY next = nullptr;
        LONG r = RegCreateKeyEx(key, sub, 0, nullptr, 0, access, nullptr, &next, nullptr);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS)
            return nullptr;
        key = next;
    }
    return key;
}

} // namespace

int QvGetAppParam(const wchar_t* name, int defaultValue) {
    int value = defaultValue;
    CAppParamList::Instance().GetAppParam(name, value);
    return value;
}

int QvGetAppParam(const wchar_t* name, int& out, int defaultValue) {
    out = defaultValue;
    return CAppParamList::Instance().GetAppParam(name, out);
}

int QvGetAppParam(const wchar_t* name, CString& out) {
    return CAppParamList::Instance().GetAppParam(name, out);
}

CAppParam* QvGetAppParam(const CString& name, CAppParam* (*factory)(const CString&)) {
    return CAppParamList::Instance().GetAppParam(name, factory);
}

void QvSetAppParam(const wchar_t* name, int value) {
    CAppParamList::Instance().SetAppParam(name, value);
}

void QvSetAppParam(const wchar_t* name, const CString& value) {
    CAppParamList::Instance().SetAppParam(name, value);
}

int QvGetSetAppParam(const wchar_t* name, int defaultValue) {
    int value = defaultValue;
    if (!QvGetAppParam(name, value, defaultValue))
        QvSetAppParam(name, defaultValue);
    return value;
}

int QvGetSetAppParam(const wchar_t* name, CString& text) {
    if (!QvGetAppParam(name, text))
        QvSetAppParam(name, text);
    return 1;
}

wchar_t* QvGetAppParamSection() {
    return g_section;
}

void QvSetAppParamSection(const wchar_t* section) {
    CopyCut(g_section, kSectionChars, section);
}

int FnGetAppParamFromLocalMachine(const wchar_t* name, CString& out) {
    // Callers keep their own text when nothing is found.
    CString found;
    int ok = 0;
    if (BootProfileMode()) {
        ok = FnGetBootProfileString(name, found);
    } else if (HKEY key = OpenMachineSection(KEY_READ)) {
        DWORD type = 0, size = 0;
        if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
            DWORD bytes = DWORD(buf.size() * sizeof(wchar_t));
            if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                                &bytes) == ERROR_SUCCESS) {
                found = CString(buf.c_str());
                ok = found != kStringNotFound;
            }
        }
        RegCloseKey(key);
    }
    if (ok)
        out = found;
    return ok;
}

int FnSetAppParamInLocalMachine(const wchar_t* name, const CString& value) {
    if (BootProfileMode())
        return FnSetBootProfileString(name, value);
    HKEY key = OpenMachineSection(KEY_ALL_ACCESS);
    if (!key)
        return 0;
    LONG r = RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                           DWORD(value.GetLength() * sizeof(wchar_t)));
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? 1 : 0;
}

void FnSetRegistryStem(const wchar_t* stem) {
    CopyCut(g_stem, kStemChars, stem);
}

wchar_t* FnGetRegistryStem() {
    return g_stem;
}

wchar_t* FnGetRegistryString(const wchar_t* sub) {
    g_registryString = std::wstring(L"Software\\Oquen\\") + g_stem;
    if (sub)
        g_registryString += std::wstring(L"\\") + sub;
    return g_registryString.data();
}

void QvRuntimePath(const wchar_t* file, CString& out) {
    CString folder = platform::ProgramFolder();
    if (folder.IsEmpty())
        return;
    out = folder;
    QvSetAppParam(L"Runtime Path", out);
    if (file)
        out += file;
}

void QvHomePath(const wchar_t* file, CString& out) {
    if (BootProfileMode()) {
        FnGetHomePath(file, out);
        return;
    }
    if (!g_homeCache.IsEmpty()) {
        out = g_homeCache;
    } else {
        out.Empty();
        FnGetAppParamFromLocalMachine(L"HomeDir", out);
        if (out.IsEmpty())
            QvGetAppParam(L"HomeDir", out);
        // With no home configured the data folder stands in; never the file-system root.
        if (out.IsEmpty())
            out = platform::DefaultHomeFolder();
        if (!platform::EndsWithSeparator(out))
            out += L"\\";
        g_homeCache = out;
    }
    if (file && *file)
        out += file[0] == L'\\' ? file + 1 : file;
}

void QvHomePathFromID(int id, CString& out) {
    std::wstring name;
    platform::LoadResourceString(UINT(id), name);
    QvHomePath(name.c_str(), out);
}

void QvLogAction(const CString& text) {
    CString name;
    if (!QvGetAppParam(L"Log File", name) || name.IsEmpty())
        return;
    // A relative name lies in the home folder.
    CString path = name;
    bool absolute = name.GetAt(0) == L'/' || name.GetAt(0) == L'\\' ||
                    (name.GetLength() > 1 && name.GetAt(1) == L':');
    if (!absolute)
        QvHomePath(name, path);
    std::FILE* f = std::fopen(platform::MapPath(path).c_str(), "a");
    if (!f)
        return;
    char stamp[128];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%a %d %b %Y %X ", &local);
    std::string line = stamp + text.ToUtf8();
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

void QvResetAppParamCache() {
    CAppParamList::Instance().Discard();
    g_homeCache.Empty();
    CopyCut(g_section, kSectionChars, L"Application-Settings");
    CopyCut(g_stem, kStemChars, L"");
}
