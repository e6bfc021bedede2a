// Names of the storage a design path lies on. There are no drive letters here: the mount
// table tells which file system holds a path. A removable medium is named "<label>", a local
// disk "[]", a network mount by its source ("//server/share", "host:/export").
#pragma once

#include "platform/core/cstring.h"

#include <string>
#include <vector>

// One mounted file system.
struct BrowserMount {
    CString source;     // the device or the network source
    CString mountPoint; // where it is mounted, a native path
    CString fsType;
    bool removable = false;
    CString label; // the volume label, when the medium has one
};
using BrowserMountTable = std::vector<BrowserMount>;

// The longest label shown for a removable medium.
constexpr int kVolumeLabelChars = 32;

// The source of the network mount holding path: 1 with out set, else 0 (out unchanged).
int GetUniversalName(CString& out, const CString& path);
// "<label>" for a removable medium, the network source for a network mount (empty when there
// is none), "[]" for a local disk or a path on no known mount.
CString BrowserGetDriveName(CString path);

// The system's mount table, with removable media and labels; false when it cannot be read.
bool BrowserReadMountTable(BrowserMountTable& table);
// Test seam: a reader in place of the system's; null restores it.
using BrowserMountTableReader = bool (*)(BrowserMountTable& table);
void BrowserSetMountTableReader(BrowserMountTableReader reader);
// Reads mount lines in the kernel's form ("source target type options 0 0", octal escapes).
BrowserMountTable BrowserParseMountLines(const std::string& text);
