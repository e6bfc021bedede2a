#include "platform/framework/recent_file_list.h"

#include "platform/system/app_registry.h"
#include "platform/system/paths.h"
#include "platform/windowing/menu.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// The file a path names, so that two spellings of one file count once.
std::filesystem::path Resolved(const CString& path) {
    std::error_code ec;
    std::filesystem::path p(platform::MapPath(path));
    std::filesystem::path r = std::filesystem::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : r;
}

} // namespace

CRecentFileList::CRecentFileList(UINT start, const wchar_t* section, const wchar_t* entryPrefix,
                                 int size)
    : m_start(start), m_section(section), m_entryPrefix(entryPrefix), m_size(std::max(size, 0)) {}

CString CRecentFileList::EntryName(int index) const {
    return m_entryPrefix + FormatString(L"%d", index + 1);
}

void CRecentFileList::Add(const wchar_t* path) {
    if (!path || !*path || m_size == 0)
        return;
    const CString added(path);
    const std::filesystem::path key = Resolved(added);
    std::erase_if(m_files, [&](const CString& f) { return Resolved(f) == key; });
    m_files.insert(m_files.begin(), added);
    if (int(m_files.size()) > m_size)
        m_files.resize(size_t(m_size));
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < GetCount())
        m_files.erase(m_files.begin() + index);
}

void CRecentFileList::ReadList(CAppRegistry* profile) {
    m_files.clear();
    if (!profile)
        return;
    std::vector<CString> read;
    for (int i = 0; i < m_size; ++i) {
        CString path = profile->GetProfileString(m_section, EntryName(i), L"");
        if (!path.IsEmpty())
            read.push_back(path);
    }
    // Oldest first, so a hand-edited repeat keeps its newest place.
    for (auto it = read.rbegin(); it != read.rend(); ++it)
        Add(*it);
}

void CRecentFileList::WriteList(CAppRegistry* profile) const {
    if (!profile)
        return;
    for (int i = 0; i < m_size; ++i)
        profile->WriteProfileString(m_section, EntryName(i),
                                    i < GetCount() ? m_files[size_t(i)].GetString() : nullptr);
}

void CRecentFileList::UpdateMenu(HMENU popup, const wchar_t* emptyText) const {
    const UINT last = m_start + UINT(std::max(m_size, 1)) - 1;
    int place = -1;
    for (int i = 0; i < ::GetMenuItemCount(popup);) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id >= m_start && id <= last) {
            if (place < 0)
                place = i;
            ::DeleteMenu(popup, UINT(i), MF_BYPOSITION);
        } else {
            ++i;
        }
    }
    if (place < 0)
        return;
    if (m_files.empty()) {
        ::InsertMenuW(popup, UINT(place), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_start,
                      emptyText);
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        const CString text =
            FormatString(L"&%d ", i + 1) + platform::FileNameOf(m_files[size_t(i)]);
        ::InsertMenuW(popup, UINT(place + i), MF_BYPOSITION | MF_STRING, m_start + UINT(i), text);
    }
}
