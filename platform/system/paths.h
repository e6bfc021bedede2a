// The boundary between the Windows-style paths the deliverables build and the Linux file system.
//
// Deliverables keep folders as native paths and join names to them with "\"; MapPath turns
// such a path into one the system can open. Environment:
//   KELVANE_PROGRAM_DIR  the program folder, in place of the running program's folder
//   KELVANE_HOME         the home (data) folder used when no "HomeDir" is configured;
//                        otherwise $XDG_DATA_HOME/kelvane or ~/.local/share/kelvane
#pragma once

#include "platform/core/cstring.h"

#include <string>

namespace platform {

// "\" becomes "/", a leading drive letter ("D:") is dropped, repeated separators collapse.
// When the path does not exist as spelt, each missing component is looked up ignoring case
// (names spelt in capitals by the deliverables); the first match in sorted order wins.
// What cannot be found is kept as given, so the result can name a file to create.
// The spelling of real paths is never changed.
std::string MapPath(const wchar_t* path);
inline std::string MapPath(const CString& path) {
    return MapPath(path.GetString());
}
// The same as a wide string.
CString NativePath(const wchar_t* path);

// True when the last character is "\" or "/".
bool EndsWithSeparator(const CString& path);
// The folder part of a path, up to and including its last separator ("\" or "/").
CString FolderOf(const CString& path);
// The name after the last separator.
CString FileNameOf(const CString& path);

// The program folder, ending in "/": KELVANE_PROGRAM_DIR or the running program's folder.
CString ProgramFolder();
// The default home folder, ending in "/"; never the file-system root.
CString DefaultHomeFolder();

// True when the mapped path is an existing file or folder.
bool PathExists(const wchar_t* path);

} // namespace platform
