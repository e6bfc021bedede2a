// Script files ("-b" on the command line): one command per line, words looked up in the caller's
// table. The parser only parses; what a command does is the caller's business.
#pragma once

#include "design/script_command.h"
#include "platform/core/cstring.h"

#include <cstdint>
#include <memory>
#include <vector>

class CStdioFile;

// One row of the caller's command table; a row whose id is -1 ends the table.
struct SC_COMMAND_REC {
    int32_t id;
    const wchar_t* name;   // the command word, matched exactly
    const wchar_t* format; // one letter per argument: "I" an integer, "S" a string
    uint32_t spare;
};

class CScriptParser {
public:
    // Lines longer than this many characters are skipped whole.
    static constexpr int kMaxLineLength = 256;

    CScriptParser();
    explicit CScriptParser(const SC_COMMAND_REC* table);
    ~CScriptParser();
    CScriptParser(const CScriptParser&) = delete;
    CScriptParser& operator=(const CScriptParser&) = delete;

    void fnResetContents();
    // 1 when at least one command was parsed; 0 without a table, when the file cannot be opened,
    // or when no line held a known command.
    int fnParseFromFile(const CString& path);
    int fnParseFromFile(CStdioFile& file);
    // The command of one line, or null (comment, blank, unknown word, over-long word). The caller
    // owns the result.
    CScriptCommand* fnTokenise(const CString& line) const;
    int fnFindCommand(const CString& word) const;
    void fnAddCommand(CScriptCommand* command);
    CScriptCommand* fnGetCommand(int i) const;
    int fnGetCommandCount() const { return int(m_commands.size()); }
    const CString& fnGetStatus() const { return m_status; }

private:
    CString m_status;
    std::vector<std::unique_ptr<CScriptCommand>> m_commands;
    int m_nSpare = 0;
    const SC_COMMAND_REC* m_pTable = nullptr;
};
