#include "platform/system/file_names.h"

#include "platform/system/paths.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int CopyPart(const std::wstring& part, wchar_t* out, size_t size) {
    if (!out)
        return 0;
    if (size == 0)
        return EINVAL;
    if (part.size() >= size) {
        out[0] = 0;
        return EINVAL;
    }
    std::wmemcpy(out, part.c_str(), part.size() + 1);
    return 0;
}

} // namespace

namespace platform {

PathParts SplitPathParts(const CString& path) {
    PathParts parts;
    const std::wstring& s = path.str();
    // A leading drive letter belongs to no part: paths here have no drives.
    const size_t driveLength = s.size() >= 2 && s[1] == L':' && std::iswalpha(s[0]) ? 2 : 0;
    size_t slash = s.find_last_of(L"\\/");
    size_t nameStart = slash == std::wstring::npos ? driveLength : slash + 1;
    parts.folder = CString(s.substr(driveLength, nameStart - driveLength));
    std::wstring rest = s.substr(nameStart);
    size_t dot = rest.rfind(L'.');
    if (dot == std::wstring::npos) {
        parts.name = CString(rest);
    } else {
        parts.name = CString(rest.substr(0, dot));
        parts.extension = CString(rest.substr(dot));
    }
    return parts;
}

bool CreateFolders(const CString& path) {
    std::error_code ec;
    std::filesystem::path p(MapPath(path));
    std::filesystem::create_directories(p, ec);
    return std::filesystem::is_directory(p, ec);
}

} // namespace platform

int _wsplitpath_s(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir,
                  size_t dirSize, wchar_t* fname, size_t fnameSize, wchar_t* ext, size_t extSize) {
    if (!path)
        return EINVAL;
    platform::PathParts parts = platform::SplitPathParts(path);
    int result = 0;
    for (int r :
         {CopyPart(parts.drive.str(), drive, driveSize), CopyPart(parts.folder.str(), dir, dirSize),
          CopyPart(parts.name.str(), fname, fnameSize),
          CopyPart(parts.extension.str(), ext, extSize)})
        if (r)
            result = r;
    return result;
}

BOOL CreateDirectory(const wchar_t* path, void*) {
    if (!path || !*path)
        return FALSE;
    return ::mkdir(platform::MapPath(path).c_str(), 0777) == 0;
}

BOOL CreateDirectoryW(const wchar_t* path, void* security) {
    return CreateDirectory(path, security);
}

BOOL DeleteFile(const wchar_t* path) {
    if (!path || !*path)
        return FALSE;
    std::string native = platform::MapPath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return FALSE;
    return ::unlink(native.c_str()) == 0;
}

BOOL DeleteFileW(const wchar_t* path) {
    return DeleteFile(path);
}
