// CRecentFileList: the files opened or saved last, newest first, without repeats (paths are
// compared as the files they resolve to), kept in the application's profile as
// "<section>\File1".."File<n>" and shown in place of the menu's recent-file items.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"
#include "platform/windowing/window.h"

#include <vector>

class CAppRegistry;

class CRecentFileList {
public:
    CRecentFileList(UINT start, const wchar_t* section, const wchar_t* entryPrefix, int size);

    int GetSize() const { return m_size; }
    int GetCount() const { return int(m_files.size()); }
    const CString& operator[](int index) const { return m_files[size_t(index)]; }

    // To the top; an entry naming the same file goes, the oldest falls off past the size.
    void Add(const wchar_t* path);
    void Remove(int index);

    // Read from / written to the profile; nothing happens without one.
    void ReadList(CAppRegistry* profile);
    void WriteList(CAppRegistry* profile) const;

    // Replaces the popup's recent-file items (the first one marks the place) by "&1 name"
    // items, or by a single greyed item with the given text when the list is empty.
    void UpdateMenu(HMENU popup, const wchar_t* emptyText) const;

private:
    CString EntryName(int index) const;

    UINT m_start;
    CString m_section;
    CString m_entryPrefix;
    int m_size;
    std::vector<CString> m_files;
};
