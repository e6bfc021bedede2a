// Folders and names: the home and design folders, fresh design names, a page's path in the
// design folder, the database names.
#include "gastelo/browser.h"

#include "gastelo/browser_internal.h"
#include "gastelo/design_param_blk.h"
#include "gastelo/file_extensions.h"
#include "gastelo/gastelo_strings.h"

#include "pivora/framework/app_params.h"
#include "pivora/jox_page.h"

#include "platform/system/paths.h"

#include <climits>
#include <filesystem>
#include <system_error>

namespace {

const wchar_t kDesignsFolder[] = L"Designs";
const wchar_t kDatabaseName[] = L"browser.mdb";
const wchar_t kWorkbenchName[] = L"wbtavrin.mdb";

bool IsFolder(const CString& path) {
    std::error_code ec;
    return !path.IsEmpty() && std::filesystem::is_directory(platform::MapPath(path), ec);
}

} // namespace

void BrowserGetHomePath(CString& path) {
    QvHomePath(nullptr, path);
}

void BrowserGetDesignPath(CString& path) {
    const CString param = GasteloLoadString(IDS_DEFAULT_DESIGN_DIRECTORY);
    CString stored;
    if (QvGetAppParam(param, stored) && IsFolder(stored)) {
        path = stored;
        return;
    }
    QvHomePath(kDesignsFolder, path);
    QvSetAppParam(param, path);
    std::error_code ec;
    std::filesystem::create_directories(platform::MapPath(path), ec);
}

CString BrowserGetFreshDesignName(const CString& folder) {
    const CString base = GasteloLoadString(IDS_DEFAULT_DESIGN_NAME);
    int& counter = BrowserDesignCounter();
    CString file;
    do {
        if (counter == INT_MAX)
            break; // every number used: the last one is given again
        ++counter;
        file.Format(L"%s\\%s%d", folder.GetString(), base.GetString(), counter);
        file += kDesignFileExt;
    } while (platform::PathExists(file));
    CString name;
    name.Format(L"%s%d", base.GetString(), counter);
    return name;
}

void BrowserSetPathName(CJoxPage* page, CString& name) {
    if (!page)
        return;
    CString folder;
    BrowserGetDesignPath(folder);
    if (name.IsEmpty()) {
        const CString& current = page->GetPathName();
        name = current.IsEmpty() ? page->GetTitle() : FileTitleOf(current);
        if (name.IsEmpty())
            name = BrowserGetFreshDesignName(folder);
    }
    const CString path = folder + L"\\" + name + kDesignFileExt;
    page->SetPathName(path, FALSE);
    auto* design = DYNAMIC_DOWNCAST(CDesignParamBlk, page->FindParam(CParamBlk::kDesignParamId));
    if (!design)
        return;
    design->m_strDesignName = name;
    // Kept as given: the path names a file, and on this system case tells files apart.
    if (design->m_strPathName.CompareNoCase(path) != 0) {
        design->m_strPathName = path;
        page->ClrFlags(kPageFlagPathChanged);
    }
}

CString gfnGetDefaultDBName() {
    CString path;
    QvHomePath(kDatabaseName, path);
    return path;
}

CString gfnGetDefaultWBName() {
    CString path;
    QvHomePath(kWorkbenchName, path);
    return path;
}
