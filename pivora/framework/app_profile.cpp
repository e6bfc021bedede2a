#include "pivora/framework/app_profile.h"

#include "pivora/framework/percentage_dlg.h"
#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/system/private_profile.h"
#include "platform/system/settings_store.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

IMPLEMENT_DYNAMIC(CApplicationProfile, CObject)

namespace {

constexpr DWORD kValueChars = 1024;
const wchar_t kSettings[] = L"Settings";

CApplicationProfile* g_profile = nullptr;

CString WithSeparator(const CString& folder) {
    return platform::EndsWithSeparator(folder) ? folder : folder + L"\\";
}

// Joins a name to a folder, dropping a leading "\" of the name.
CString Join(const CString& folder, const wchar_t* file) {
    CString out = WithSeparator(folder);
    if (file && *file)
        out += file[0] == L'\\' ? file + 1 : file;
    return out;
}

CString ReadString(const wchar_t* section, const wchar_t* key, const CString& file) {
    std::vector<wchar_t> buf(kValueChars, L'\0');
    GetPrivateProfileString(section, key, L"", buf.data(), kValueChars, file);
    return CString(buf.data());
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> Entries(const CString& folder) {
    std::vector<std::string> names;
    std::string native = platform::MapPath(folder);
    DIR* d = opendir(native.empty() ? "." : native.c_str());
    if (!d)
        return names;
    while (dirent* e = readdir(d))
        names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

CApplicationProfile::~CApplicationProfile() {
    fnDestroyProgressBar();
}

void CApplicationProfile::fnInitContents() {
    m_programFolder.Empty();
    m_bootProfile.Empty();
    fnDestroyProgressBar();
}

void CApplicationProfile::fnCreateProgressBar(int caption) {
    fnDestroyProgressBar();
    m_progress = new CPercentageDlg(UINT(caption), CPercentageDlg::IDD_PERCENTAGE);
    m_progress->SetNoCancelButton(1);
    m_progress->Create(nullptr);
    m_progress->SetStep(5);
}

void CApplicationProfile::fnStepProgressBar(int ms) {
    if (m_progress)
        m_progress->StepItByTime(ms);
}

void CApplicationProfile::fnDestroyProgressBar() {
    delete m_progress;
    m_progress = nullptr;
}

int CApplicationProfile::fnCreate() {
    return fnGetProgramDirectory(m_programFolder) != 0 && fnPrepareBootProfile();
}

int CApplicationProfile::fnGetProgramDirectory(CString& out) {
    // The folder keeps its real spelling: upper-casing it would name another folder here.
    out = platform::ProgramFolder();
    CString program = platform::FileNameOf(platform::ProgramFilePath());
    int dot = program.ReverseFind(L'.');
    if (dot > 0)
        program = program.Left(dot);
    program.MakeUpper();
    program += L".EXE";
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"Software\\Oquen\\App Paths\\", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        wchar_t buf[1024 / sizeof(wchar_t)] = {};
        DWORD type = 0, size = sizeof buf - sizeof(wchar_t);
        if (RegQueryValueEx(key, program, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            out = WithSeparator(CString(buf));
        RegCloseKey(key);
    }
    return out.GetLength();
}

int CApplicationProfile::fnPrepareBootProfile() {
    CString path = m_programFolder + L"Profiles\\BOOT.INI";
    std::string native = platform::MapPath(path);
    struct stat st;
    // A read-only file is not used, even for a user whose rights would override the mode.
    if (stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        access(native.c_str(), R_OK | W_OK) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        m_bootProfile = path;
    return 1;
}

int CApplicationProfile::fnGetHomePath(const wchar_t* file, CString& out) {
    out = m_programFolder;
    if (out.IsEmpty())
        return 0;
    out = Join(out, file);
    return 1;
}

int CApplicationProfile::fnGetBootProfileString(const wchar_t* key, CString& out) {
    out = ReadString(kSettings, key, m_bootProfile);
    return out.IsEmpty() ? 0 : 1;
}

int CApplicationProfile::fnGetBootProfileValue(const wchar_t* key, int def) {
    return int(GetPrivateProfileInt(kSettings, key, def, m_bootProfile));
}

int CApplicationProfile::fnSetBootProfileString(const wchar_t* key, const CString& value) {
    return WritePrivateProfileString(kSettings, key, value, m_bootProfile) ? 1 : 0;
}

void CApplicationProfile::fnWriteBootProfileString(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileString(kSettings, key, value, m_bootProfile);
}

void CApplicationProfile::fnWriteBootProfileValue(const wchar_t* key, int value) {
    fnWriteBootProfileString(key, FormatString(L"%d", value));
}

void CApplicationProfile::fnGetSettingsPath(CString& out, int withFile) {
    out = m_programFolder + L"Profiles\\Shared Settings";
    if (withFile)
        out = Join(out, L"Settings.INI");
}

CString CApplicationProfile::SettingsFile(const wchar_t* file) {
    if (file)
        return CString(file);
    CString path;
    fnGetSettingsPath(path, 1);
    return path;
}

int CApplicationProfile::fnGetProfileString(const wchar_t* section, const wchar_t* key,
                                            CString& out, const wchar_t* file) {
    out = ReadString(section, key, SettingsFile(file));
    return out.IsEmpty() ? 0 : 1;
}

int CApplicationProfile::fnGetProfileValue(const wchar_t* section, const wchar_t* key, int def,
                                           const wchar_t* file) {
    return int(GetPrivateProfileInt(section, key, def, SettingsFile(file)));
}

int CApplicationProfile::fnWriteProfileString(const wchar_t* section, const wchar_t* key,
                                              const wchar_t* value, const wchar_t* file) {
    return WritePrivateProfileString(section, key, value, SettingsFile(file)) ? 1 : 0;
}

int CApplicationProfile::fnWriteProfileValue(const wchar_t* section, const wchar_t* key, int value,
                                             const wchar_t* file) {
    return fnWriteProfileString(section, key, FormatString(L"%d", value), file);
}

int CApplicationProfile::fnGetSettingsProfileString(const wchar_t* key, CString& out,
                                                    const wchar_t* file) {
    return fnGetProfileString(kSettings, key, out, file);
}

int CApplicationProfile::fnGetSettingsProfileValue(const wchar_t* key, int def,
                                                   const wchar_t* file) {
    return fnGetProfileValue(kSettings, key, def, file);
}

int CApplicationProfile::fnWriteSettingsProfileString(const wchar_t* key, const wchar_t* value,
                                                      const wchar_t* file) {
    return fnWriteProfileString(kSettings, key, value, file);
}

int CApplicationProfile::fnWriteSettingsProfileValue(const wchar_t* key, int value,
                                                     const wchar_t* file) {
    return fnWriteProfileValue(kSettings, key, value, file);
}

int CApplicationProfile::fnGetSettingsFileSections(const wchar_t* file, CStringArray& out) {
    std::vector<wchar_t> buf(4096, L'\0');
    GetPrivateProfileSectionNames(buf.data(), DWORD(buf.size()), file);
    out.RemoveAll();
    for (const wchar_t* p = buf.data(); *p; p += std::wcslen(p) + 1)
        out.Add(CString(p));
    return int(out.GetSize());
}

int CApplicationProfile::fnGetSettingsFileList(const wchar_t* folder, CStringArray& out,
                                               int stripExtension) {
    std::string native = platform::MapPath(folder);
    for (const std::string& entry : Entries(folder)) {
        CString name = CString::FromUtf8(entry);
        if (name.GetLength() < 4 || name.Right(4).CompareNoCase(L".INI") != 0 ||
            IsFolder(native + "/" + entry))
            continue;
        // Only the extension goes; a name like "A.ini.ini" keeps its inner part.
        if (stripExtension)
            name = name.Left(name.GetLength() - 4);
        if (!name.IsEmpty())
            out.Add(name);
    }
    return int(out.GetSize());
}

int CApplicationProfile::fnGetDirList(const CString& folder, const wchar_t* pattern,
                                      CStringArray& names, CStringArray& paths) {
    CString wanted = pattern ? pattern : L"*";
    while (!wanted.IsEmpty() && (wanted.GetAt(0) == L'\\' || wanted.GetAt(0) == L'/'))
        wanted = wanted.Mid(1);
    std::string glob = wanted.ToUtf8();
    std::string native = platform::MapPath(folder);
    for (const std::string& entry : Entries(folder)) {
        if (entry == "." || entry == ".." || !IsFolder(native + "/" + entry) ||
            fnmatch(glob.c_str(), entry.c_str(), FNM_CASEFOLD) != 0)
            continue;
        CString name = CString::FromUtf8(entry);
        names.Add(name);
        paths.Add(folder + name);
    }
    return int(names.GetSize());
}

void CApplicationProfile::fnRenameDirAsDeleted(const CString& folder, const CString& name) {
    CString path = Join(folder, name);
    char stamp[64];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, " DELETED %d%b%Y %H-%M-%S", &local);
    std::string from = platform::MapPath(path);
    while (from.size() > 1 && from.back() == '/')
        from.pop_back();
    std::rename(from.c_str(), (from + stamp).c_str());
}

bool CApplicationProfile::fnAddSettings(const CString& updateFile, const CString& target) {
    std::ifstream in(platform::MapPath(updateFile), std::ios::binary);
    if (!in)
        return !platform::PathExists(updateFile);
    bool ok = true;
    std::string raw;
    while (std::getline(in, raw)) {
        // Lines written on the original platform end in CR LF.
        while (!raw.empty() && (raw.back() == '\r' || raw.back() == '\n'))
            raw.pop_back();
        CString line = CString::FromUtf8(raw);
        int eq = line.Find(L'=');
        if (eq < 0)
            continue;
        CString key = line.Left(eq), value = line.Mid(eq + 1);
        if (key.IsEmpty())
            continue;
        if (!WritePrivateProfileString(kSettings, key, value, target))
            ok = false;
    }
    return ok;
}

CApplicationProfile* FnCreateApplicationProfile() {
    if (g_profile)
        return g_profile;
    auto* profile = new CApplicationProfile;
    if (profile->fnCreate())
        g_profile = profile;
    else
        delete profile;
    return g_profile;
}

CApplicationProfile* FnGetApplicationProfile() {
    return g_profile;
}

void FnDestroyApplicationProfile() {
    delete g_profile;
    g_profile = nullptr;
}

int FnGetBootProfileInt(const wchar_t* key, int def) {
    if (!g_profile || g_profile->BootProfile().IsEmpty())
        return def;
    return g_profile->fnGetBootProfileValue(key, def);
}

int FnGetBootProfileString(const wchar_t* key, CString& out) {
    out.Empty();
    if (!g_profile || g_profile->BootProfile().IsEmpty())
        return 0;
    return g_profile->fnGetBootProfileString(key, out);
}

int FnSetBootProfileString(const wchar_t* key, const CString& value) {
    if (!g_profile || g_profile->BootProfile().IsEmpty())
        return 0;
    return g_profile->fnSetBootProfileString(key, value);
}

int FnGetHomePath(const wchar_t* file, CString& out) {
    out.Empty();
    if (!g_profile)
        return 0;
    return g_profile->fnGetHomePath(file, out);
}
