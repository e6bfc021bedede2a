#include "kelvane/app/script_file.h"

#include "design/script_command.h"
#include "design/script_parser.h"
#include "platform/framework/wnd.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr int kMinScriptPath = 3;
constexpr SC_COMMAND_REC kNoCommands[] = {{-1, nullptr, nullptr, 0}};

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

CString FnScriptPathOf(const CString& line) {
    const int n = line.GetLength();
    int at = -1;
    for (int i = 0; i + 1 < n; ++i) {
        // "-b" inside a word ("/x/my-backup.kdx") is no option.
        if (line[i] == L'-' && line[i + 1] == L'b' && (i == 0 || IsBlank(line[i - 1]))) {
            at = i + 2;
            break;
        }
    }
    if (at < 0)
        return CString();
    int end = at;
    CString path;
    if (at < n && line[at] == L'$') {
        end = at + 1;
        while (end < n && line[end] != L'$')
            ++end;
        if (end >= n)
            return CString();
        path = line.Mid(at + 1, end - at - 1);
    } else {
        while (end < n && !IsBlank(line[end]))
            ++end;
        path = line.Mid(at, end - at);
    }
    return path.GetLength() < kMinScriptPath ? CString() : path;
}

bool FnRunScriptFile(const CString& line, CWnd* /*mainWnd*/) {
    const CString path = FnScriptPathOf(line);
    if (path.IsEmpty())
        return true;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path.ToUtf8()), ec)) {
        CString text;
        text.Format(L"Script ERROR : Unable to open %s", path.GetString());
        AfxMessageBox(text);
        return false;
    }
    CScriptParser parser(kNoCommands);
    if (parser.fnParseFromFile(path))
        for (int i = 0; CScriptCommand* command = parser.fnGetCommand(i); ++i)
            command->fnDump();
    return true;
}
