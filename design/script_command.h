// One parsed line of a script file: the command's id and its integer and string arguments.
#pragma once

#include "platform/core/cstring.h"

#include <array>
#include <cstdint>
#include <vector>

// Script words and texts are held in buffers of this many wide characters (terminator included).
constexpr int kScriptTextSize = 256;

class CScriptCommand {
public:
    explicit CScriptCommand(int id);
    ~CScriptCommand();
    // Copies name, id, format and arguments: two commands never share their arguments.
    CScriptCommand(const CScriptCommand&) = default;
    CScriptCommand& operator=(const CScriptCommand&) = default;

    int fnGetID() const { return m_nID; }
    void fnSetFormat(const wchar_t* format);
    void fnSetName(const wchar_t* name);
    const wchar_t* fnGetName() const { return m_szName.data(); }

    // Reads the arguments that the format asks for from the (left-trimmed) line.
    void fnLoadCommand(const CString& line);
    // The n-th dollar-delimited string of the line into `out` (kScriptTextSize characters);
    // returns the position after its closing dollar sign.
    static int fnFindString(const wchar_t* line, wchar_t* out, int n);

    // Out-of-range indexes give 0, an empty string or null; a negative one raises
    // CInvalidArgException.
    int fnGetInt(int i) const;
    void fnGetString(int i, CString& out) const;
    const wchar_t* fnGetString(int i) const;
    int fnGetIntCount() const { return int(m_integers.size()); }
    int fnGetStringCount() const { return int(m_strings.size()); }

    void fnDump() const {}

private:
    using Text = std::array<wchar_t, kScriptTextSize>;

    Text m_szName{};
    int m_nID;
    Text m_szFormat{};
    std::vector<int32_t> m_integers;
    std::vector<Text> m_strings;
};
