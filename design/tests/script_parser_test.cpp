#include "design/script_parser.h"

#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const SC_COMMAND_REC kTable[] = {
    {7, L"CUT", L"IIS", 0},   {8, L"Name", L"SS", 0},    {9, L"Mixed", L"SIS", 0},
    {10, L"Nothing", L"", 0}, {-1, nullptr, nullptr, 0},
};

// The main program's table: no command rows.
const SC_COMMAND_REC kEmptyTable[] = {{-1, nullptr, nullptr, 0}};

struct ScriptFile {
    std::string folder;
    std::string path;
    explicit ScriptFile(const std::string& bytes) {
        char pattern[] = "/tmp/kelvane-script-XXXXXX";
        folder = mkdtemp(pattern);
        path = folder + "/script.txt";
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~ScriptFile() { std::system(("rm -rf '" + folder + "'").c_str()); }
};

} // namespace

TEST(ScriptParser, LinesAsCommands) {
    struct Case {
        const wchar_t* line;
        int id; // -1: no command
        std::vector<int> ints;
        std::vector<std::wstring> strings;
    };
    const Case cases[] = {
        {L"CUT 12 -7 $one two$", 7, {12, -7}, {L"one two"}},
        {L"   CUT\t3 4", 7, {3, 4}, {}},
        {L"CUT 12", 7, {12}, {}},
        {L"CUT x 5", 7, {0, 0}, {L""}}, // not a number: 0, position kept
        {L"CUT 99999999999 -99999999999", 7, {INT32_MAX, INT32_MIN}, {}},
        {L"Name $$ $b$", 8, {}, {L"", L"b"}},       // an empty pair
        {L"Name $unclosed", 8, {}, {L"", L""}},     // a lone "$": no pair for either
        {L"Mixed $a$ 5 $b$", 9, {5}, {L"a", L"b"}}, // strings found by pair, not by letter
        {L"Nothing at all", 10, {}, {}},
        {L"CUT 1 2 $#not a comment$", 7, {1, 2}, {L"#not a comment"}},
        {L"  # CUT 1 2", -1, {}, {}},
        {L"", -1, {}, {}},
        {L"cut 1 2", -1, {}, {}}, // words are case-sensitive
        {L"CUTTER 1 2", -1, {}, {}},
    };
    CScriptParser parser(kTable);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.line).ToUtf8());
        std::unique_ptr<CScriptCommand> command(parser.fnTokenise(c.line));
        if (c.id < 0) {
            EXPECT_EQ(command, nullptr);
            continue;
        }
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->fnGetID(), c.id);
        ASSERT_EQ(command->fnGetIntCount(), int(c.ints.size()));
        for (size_t i = 0; i < c.ints.size(); ++i)
            EXPECT_EQ(command->fnGetInt(int(i)), c.ints[i]);
        ASSERT_EQ(command->fnGetStringCount(), int(c.strings.size()));
        for (size_t i = 0; i < c.strings.size(); ++i)
            EXPECT_STREQ(command->fnGetString(int(i)), c.strings[i].c_str());
    }
}

TEST(ScriptParser, ArgumentIndexesOutOfRange) {
    CScriptParser parser(kTable);
    std::unique_ptr<CScriptCommand> command(parser.fnTokenise(L"CUT 1"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->fnGetInt(5), 0);
    EXPECT_EQ(command->fnGetString(0), nullptr);
    CString s = L"x";
    command->fnGetString(3, s);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_THROW(command->fnGetInt(-1), CInvalidArgException);
    EXPECT_THROW(command->fnGetString(-1), CInvalidArgException);
}

TEST(ScriptParser, CopiedCommandsOwnTheirArguments) {
    CScriptParser parser(kTable);
    std::unique_ptr<CScriptCommand> first(parser.fnTokenise(L"CUT 4 5 $text$"));
    ASSERT_NE(first, nullptr);
    CScriptCommand copy(0);
    copy = *first;
    first.reset();
    EXPECT_EQ(copy.fnGetID(), 7);
    EXPECT_EQ(copy.fnGetInt(1), 5);
    EXPECT_STREQ(copy.fnGetString(0), L"text");
}

TEST(ScriptParser, FilesInOrderWithCommentsAndLongLines) {
    std::string word256 = "CUT" + std::string(253, 'x'); // one word filling a 256-character line
    std::string line256 = "CUT 1 2 $" + std::string(246, 'a') + "$";
    std::string line257 = "CUT 3 4 $" + std::string(247, 'a') + "$";
    ASSERT_EQ(line256.size(), 256u);
    ScriptFile file("# a comment\r\nCUT 1 2 $first$\r\n\r\n" + line257 + "\n" + line256 + "\n" +
                    word256 + "\nunknown 5\nName $caf\xE9$ $x$"); // Latin-1, no final line end
    CScriptParser parser(kTable);
    ASSERT_EQ(parser.fnParseFromFile(CString(file.path)), 1);
    ASSERT_EQ(parser.fnGetCommandCount(), 3);
    EXPECT_STREQ(parser.fnGetCommand(0)->fnGetString(0), L"first");
    EXPECT_EQ(parser.fnGetCommand(1)->fnGetInt(0), 1);
    EXPECT_EQ(CString(parser.fnGetCommand(1)->fnGetString(0)).GetLength(), 246);
    EXPECT_STREQ(parser.fnGetCommand(2)->fnGetString(0), L"caf\u00E9");
    EXPECT_EQ(parser.fnGetCommand(3), nullptr);
    EXPECT_EQ(parser.fnGetCommand(-1), nullptr);
}

TEST(ScriptParser, NothingToRun) {
    ScriptFile file("CUT 1 2\nName $a$\n");
    CScriptParser shipped(kEmptyTable);
    EXPECT_EQ(shipped.fnParseFromFile(CString(file.path)), 0);
    EXPECT_EQ(shipped.fnGetCommand(0), nullptr);

    CScriptParser noTable;
    EXPECT_EQ(noTable.fnParseFromFile(CString(file.path)), 0);

    CScriptParser missing(kTable);
    EXPECT_EQ(missing.fnParseFromFile(CString(file.folder + "/absent.txt")), 0);
    EXPECT_EQ(missing.fnGetStatus(), L"OK");

    ScriptFile binary(std::string("\0\x01\xFF$\n\xFE$ CUT", 12) + std::string(100000, '\x07'));
    CScriptParser parser(kTable);
    EXPECT_EQ(parser.fnParseFromFile(CString(binary.path)), 0);
}

TEST(ScriptParser, ResetForgetsCommandsAndTable) {
    CScriptParser parser(kTable);
    parser.fnAddCommand(parser.fnTokenise(L"CUT 1 2"));
    ASSERT_EQ(parser.fnGetCommandCount(), 1);
    parser.fnResetContents();
    EXPECT_EQ(parser.fnGetCommandCount(), 0);
    EXPECT_EQ(parser.fnFindCommand(L"CUT"), -1);
}
