// The page's safety copies: the backup of the previous file made when a design is saved over
// it, and the recovery copy (".KDR") that autosave writes.
#include "pivora/jox_page.h"

#include "pivora/framework/app_params.h"

#include "platform/core/replace_file.h"
#include "platform/system/paths.h"

#include <cerrno>
#include <chrono>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const wchar_t kBackupOnParam[] = L"BackupOn";
const wchar_t kBackupDirParam[] = L"BackupDir";
const wchar_t kAutoSaveDirParam[] = L"AutoSaveDir";
const wchar_t kBackupPrefix[] = L"Backup of ";
constexpr ULONGLONG kMaxBackupCopyBytes = 1ull << 30; // no design is larger

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

CString StripTrailingSeparators(CString s) {
    while (!s.IsEmpty() && IsSeparator(s[s.GetLength() - 1]))
        s = s.Left(s.GetLength() - 1);
    return s;
}

CString Join(const CString& folder, const wchar_t* name) {
    CString out = folder;
    if (!out.IsEmpty() && !IsSeparator(out[out.GetLength() - 1]))
        out += L"\\";
    return out + name;
}

// A folder parameter, or its default under the home folder written back when it is empty.
CString FolderParam(const wchar_t* param, const wchar_t* defaultName) {
    CString folder;
    QvGetAppParam(param, folder);
    folder = StripTrailingSeparators(folder);
    if (folder.IsEmpty()) {
        QvHomePath(defaultName, folder);
        QvSetAppParam(param, folder);
    }
    return folder;
}

bool CanOpenForReading(const CString& path) {
    CFile file;
    return file.Open(path, CFile::modeRead | CFile::shareDenyNone) != FALSE;
}

// Recovery names of the pages alive in this process; two pages never share one.
std::set<CString>& NamesInUse() {
    static std::set<CString> names;
    return names;
}

// The random part of recovery names: 0 .. 32767, seeded once per process. Seeding again from
// the clock for every name gave two pages made in one second the same number.
int NextRecoveryNumber() {
    static std::mt19937 generator([] {
        auto now = std::chrono::system_clock::now().time_since_epoch().count();
        std::seed_seq seq{uint32_t(now), uint32_t(uint64_t(now) >> 32), uint32_t(::getpid())};
        return std::mt19937(seq);
    }());
    return int(generator() % 32768u);
}

} // namespace

CString CJoxPage::BackupFolder() {
    return FolderParam(kBackupDirParam, L"Backup");
}

CString CJoxPage::AutosaveFolder() {
    return FolderParam(kAutoSaveDirParam, L"Recover");
}

void CJoxPage::CreateBackup(const wchar_t* path) {
    CString folder = BackupFolder();
    std::string native = platform::MapPath(folder);
    if (!platform::PathExists(folder) && ::mkdir(native.c_str(), 0777) != 0)
        return;
    CString name;
    {
        CFile file;
        if (!file.Open(path, CFile::modeReadWrite | CFile::shareExclusive))
            return; // no previous file
        name = file.GetFileName();
    }
    if (name.IsEmpty())
        return;
    name = name.Left(name.GetLength() - 1) + L"~";
    CString backup = Join(folder, kBackupPrefix) + name;
    const std::string from = platform::MapPath(path), to = platform::MapPath(backup);
    if (platform::PathExists(backup)) {
        try {
            CFile::Remove(backup);
        } catch (const CFileException&) {
            return; // the link below would fail as well; the save goes on without a backup
        }
    }
    // The previous file stays at its path until the new one is renamed over it: a second
    // name for it, or a copy where the folders cannot share a file.
    if (::link(from.c_str(), to.c_str()) == 0) {
        platform::SyncFolderOf(to);
        return;
    }
    if (errno == EEXIST)
        return;
    std::vector<BYTE> bytes;
    {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
            return;
        try {
            if (file.GetLength() > kMaxBackupCopyBytes)
                return;
            bytes.resize(size_t(file.GetLength()));
            bytes.resize(file.Read(bytes.data(), UINT(bytes.size())));
        } catch (const std::exception&) {
            return;
        }
    }
    platform::ReplaceFile(to, bytes);
}

void CJoxPage::SetAutosaveName(const CString& name) {
    if (name == m_strAutosaveFile)
        return;
    if (!m_strAutosaveFile.IsEmpty())
        NamesInUse().erase(m_strAutosaveFile);
    m_strAutosaveFile = name;
    if (!name.IsEmpty())
        NamesInUse().insert(name);
}

void CJoxPage::fnSetAutosaveFile(const wchar_t* path) {
    CString fullPath(path ? path : L"");
    CString name;
    {
        CFile file;
        if (file.Open(fullPath, CFile::modeRead | CFile::shareDenyNone))
            name = file.GetFileName();
        else
            name = platform::FileNameOf(fullPath);
    }
    CString base = name.Left(std::max(0, name.GetLength() - 4));
    if (ExistsPreviousAutosave()) {
        RenAutosaveFile(base);
        return;
    }
    // A number that no live page holds and no recovery file on disk carries.
    const CString folder = AutosaveFolder();
    CString candidate;
    for (int attempt = 0; attempt < 32768 * 2; ++attempt) {
        candidate.Format(L"%s-%d%s", base.GetString(), NextRecoveryNumber(), kAutosaveExtension);
        if (candidate == m_strAutosaveFile ||
            (!NamesInUse().count(candidate) && !CanOpenForReading(Join(folder, candidate))))
            break;
    }
    SetAutosaveName(candidate);
}

int CJoxPage::ExistsPreviousAutosave() {
    if (m_strAutosaveFile.IsEmpty())
        return 0;
    return CanOpenForReading(Join(AutosaveFolder(), m_strAutosaveFile)) ? 1 : 0;
}

void CJoxPage::RenAutosaveFile(const CString& base) {
    int dash = m_strAutosaveFile.ReverseFind(L'-');
    if (dash < 0)
        return;
    CString before = m_strAutosaveFile.Left(dash);
    if (before == base)
        return;
    CString renamed = base + m_strAutosaveFile.Mid(dash);
    // Another page may already hold that name: then this page keeps its own.
    if (NamesInUse().count(renamed))
        return;
    SetAutosaveName(renamed);
}

int CJoxPage::CreateAutosaveFile() {
    if (m_strAutosaveFile.IsEmpty())
        fnSetAutosaveFile(GetTitle());
    if (m_strAutosaveFile.IsEmpty())
        return 0;
    CString folder = AutosaveFolder();
    // The first recovery copy of a fresh installation makes its folder (one level).
    if (!platform::PathExists(folder))
        ::mkdir(platform::MapPath(folder).c_str(), 0777);
    CString target = Join(folder, m_strAutosaveFile);
    // Straight to the file: the page's own save would clear the modified flag, and closing
    // would then lose the edits without asking.
    return SaveToFile(target) ? 1 : 0;
}
