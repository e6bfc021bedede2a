#include "kelvane/app/openable_file.h"

#include "gastelo/file_extensions.h"
#include "kelvane/app/design_file_dlg.h"
#include "kelvane/app/import_readers.h"
#include "kelvane/app/open_resources.h"
#include "maltrec/import/import_draw.h"
#include "pivora/framework/jox_win_app_ex.h"

#include <filesystem>
#include <system_error>

namespace kelvane {

bool IsCutterFileExt(int id) {
    switch (id) {
    case kExtSpool:
    case kExtHgl:
    case kExtHglAlt:
    case kExtHpg:
    case kExtPlt:
    case kExtGnM:
    case kExtPanel:
        return true;
    default:
        return false;
    }
}

bool NamesCutterOutput(const CString& path) {
    return path.Find(L"output.spl") >= 0 || path.Find(L"CutLog.txt") >= 0;
}

int FileExtIdOf(const CString& path) {
    const int id = BrowserGetFileExtID(path);
    return id == kExtUnknown && NamesCutterOutput(path) ? kExtSpool : id;
}

bool SameFile(const CString& a, const CString& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    std::error_code ec;
    const std::filesystem::path pa(a.ToUtf8()), pb(b.ToUtf8());
    const std::filesystem::path ra = std::filesystem::weakly_canonical(pa, ec);
    const bool resolvedA = !ec;
    const std::filesystem::path rb = std::filesystem::weakly_canonical(pb, ec);
    if (!resolvedA || ec)
        return pa.lexically_normal() == pb.lexically_normal();
    return ra == rb;
}

} // namespace kelvane

bool FnIsSupportedExtension(int& id, const CDesignFileDlg& dialog, const CString& path) {
    const int given = id;
    if (id == kelvane::kExtUnknown && kelvane::NamesCutterOutput(path))
        id = kelvane::kExtSpool;
    if (id == kelvane::kExtUnknown)
        return false;
    if (id == kelvane::kExtCutTemplate || kelvane::IsCutterFileExt(id))
        return true;
    for (const CFilterInfo& f : dialog.Filters())
        if (f.m_nExtID == id)
            return true;
    id = given;
    return false;
}

bool FnIsOpenableFile(const CString& path) {
    CJoxWinAppEx* app = JoxGetApp();
    CDesignFileDlg dialog(TRUE, 0, app ? app->ImportFlags() : 0);
    int id = BrowserGetFileExtID(path);
    if (FnIsSupportedExtension(id, dialog, path))
        return true;
    kelvane::TellImportFailure(path, FnFormatNotSupported(path));
    return false;
}

CString FnFormatNotSupported(const CString& path) {
    CString text = kelvane::LoadAppString(CImportDraw::IDS_FORMAT_NOT_SUPPORTED);
    if (text.IsEmpty())
        text = L"Format Not Supported";
    const CString name = path.Mid(std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\')) + 1);
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? text : text + L" " + name.Mid(dot);
}
