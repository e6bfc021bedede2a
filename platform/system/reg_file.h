// The registry export text (".reg": "REGEDIT4" or "Windows Registry Editor Version 5.00",
// "[key]" and "[-key]" lines, "name"=value lines with strings, dword:, hex: and hex(n):
// data) read into the settings store. Reading and applying are apart: a reading reports each
// line it could not take and never touches the store.
#pragma once

#include "platform/core/cstring.h"
#include "platform/system/settings_store.h"

#include <string>
#include <vector>

namespace platform {

struct RegOperation {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    HKEY root = nullptr; // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    CString key;         // below the root
    CString name;        // the value's name; empty for the default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data; // as the settings store keeps it (text as wchar_t with its end)
};

struct RegFileContent {
    bool recognised = false; // the first line named the format
    std::vector<RegOperation> operations;
    std::vector<CString> problems; // "line N: reason"
};

// Text as read from the file: UTF-16 with its byte-order mark, or UTF-8 (a mark is skipped).
RegFileContent ParseRegText(const std::string& bytes);

// Applies what was read; the number of operations the store refused.
int ApplyRegContent(const RegFileContent& content);

// Reads and applies a file; false (with the reason first in problems) when it cannot be read,
// is too large or is not in the format, and then nothing is applied.
bool ImportRegFile(const CString& path, std::vector<CString>& problems);

// Files larger than this are refused whole.
constexpr size_t kMaxRegFileBytes = 16u << 20;

} // namespace platform
