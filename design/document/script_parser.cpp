#include "design/script_parser.h"

#include "platform/core/stdio_file.h"

namespace {

bool IsWhite(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v';
}

// A script line never needs more bytes than this (four UTF-8 bytes a character, one more line).
constexpr size_t kMaxLineBytes = 4 * (CScriptParser::kMaxLineLength + 1);

} // namespace

CScriptParser::CScriptParser() {
    fnResetContents();
}

CScriptParser::CScriptParser(const SC_COMMAND_REC* table) {
    fnResetContents();
    m_pTable = table;
}

CScriptParser::~CScriptParser() {
    fnResetContents();
}

void CScriptParser::fnResetContents() {
    m_status = L"OK";
    m_nSpare = 0;
    m_commands.clear();
    m_pTable = nullptr;
}

int CScriptParser::fnParseFromFile(const CString& path) {
    if (!m_pTable)
        return 0;
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText))
        return 0;
    return fnParseFromFile(file);
}

int CScriptParser::fnParseFromFile(CStdioFile& file) {
    CString line;
    bool tooLong = false;
    try {
        while (file.ReadString(line, kMaxLineBytes, tooLong)) {
            if (tooLong || line.GetLength() > kMaxLineLength)
                continue;
            if (CScriptCommand* command = fnTokenise(line))
                fnAddCommand(command);
        }
    } catch (CFileException&) {
        // A read error ends the file; what was parsed so far stands.
    }
    file.Abort();
    return m_commands.empty() ? 0 : 1;
}

CScriptCommand* CScriptParser::fnTokenise(const CString& text) const {
    CString line = text;
    line.TrimLeft();
    if (line.IsEmpty() || line[0] == L'#')
        return nullptr;
    int end = 0;
    while (end < line.GetLength() && !IsWhite(line[end]))
        ++end;
    if (end >= kScriptTextSize)
        return nullptr; // does not fit the word buffer
    CString word = line.Left(end);
    int row = fnFindCommand(word);
    if (row < 0)
        return nullptr;
    auto* command = new CScriptCommand(m_pTable[row].id);
    command->fnSetFormat(m_pTable[row].format);
    command->fnSetName(word);
    command->fnLoadCommand(line);
    return command;
}

int CScriptParser::fnFindCommand(const CString& word) const {
    if (!m_pTable)
        return -1;
    for (int i = 0; m_pTable[i].id != -1; ++i) {
        if (m_pTable[i].name && word == m_pTable[i].name)
            return i;
    }
    return -1;
}

void CScriptParser::fnAddCommand(CScriptCommand* command) {
    if (command)
        m_commands.emplace_back(command);
}

CScriptCommand* CScriptParser::fnGetCommand(int i) const {
    return i >= 0 && size_t(i) < m_commands.size() ? m_commands[size_t(i)].get() : nullptr;
}
