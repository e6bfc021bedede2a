// File-name and folder calls in the shapes the deliverables use: splitting a path into its
// parts, making and removing folders and files. Paths may be Windows-style ("\" separators).
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

// Splits a path into drive (always empty here), folder (with its last separator), name and
// extension (with its dot). Any output may be null; each buffer receives at most size - 1
// characters and a terminator. Returns 0, or EINVAL for a null path or a part that does not fit
// (that part is then empty).
int _wsplitpath_s(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir,
                  size_t dirSize, wchar_t* fname, size_t fnameSize, wchar_t* ext, size_t extSize);

// One folder level; false when it cannot be made or already exists.
BOOL CreateDirectory(const wchar_t* path, void* security);
BOOL CreateDirectoryW(const wchar_t* path, void* security);
// Removes a file (never a folder); false when it cannot.
BOOL DeleteFile(const wchar_t* path);
BOOL DeleteFileW(const wchar_t* path);

namespace platform {

// The parts of a path as strings.
struct PathParts {
    CString drive, folder, name, extension;
};
PathParts SplitPathParts(const CString& path);

// Makes the folder and any missing folders above it; true when it exists afterwards.
bool CreateFolders(const CString& path);

} // namespace platform
