#include "platform/core/cstring.h"
#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

TEST(CStringFormat, WideRulesForStringsAndChars) {
    CString s;
    s.Format(L"%s-%c-%d-%S-%ls", L"wide", L'x', 42, "narrow", L"explicit");
    EXPECT_EQ(s, L"wide-x-42-narrow-explicit");
    s.Format(L"%5.1f|%-4s|%%|%04X", 2.25, L"ab", 0xBEEF);
    EXPECT_EQ(s, L"  2.2|ab  |%|BEEF");
    s.Format(L"%s", L"\u00e9\u4e2d");
    EXPECT_EQ(s, L"\u00e9\u4e2d");
    s.AppendFormat(L"/%I64d", (long long)1 << 40);
    EXPECT_EQ(s, L"\u00e9\u4e2d/1099511627776");
}

TEST(CStringFormat, LongOutputGrowsTheBuffer) {
    std::wstring big(5000, L'q');
    CString s;
    s.Format(L"<%s>", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CStringEdit, FindMidTrimReplaceTokenize) {
    CString s(L"  Backup of design.KDX  ");
    s.Trim();
    EXPECT_EQ(s, L"Backup of design.KDX");
    EXPECT_EQ(s.Find(L"of"), 7);
    EXPECT_EQ(s.ReverseFind(L'.'), 16);
    EXPECT_EQ(s.Mid(17), L"KDX");
    EXPECT_EQ(s.Mid(50), L"");
    EXPECT_EQ(s.Left(-3), L"");
    EXPECT_EQ(s.Right(3), L"KDX");
    EXPECT_EQ(s.Replace(L"KDX", L"KDR"), 1);
    EXPECT_EQ(s.CompareNoCase(L"BACKUP OF DESIGN.kdr"), 0);
    EXPECT_LT(CString(L"a").Compare(L"b"), 0);

    CString list(L"a,,b;c");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = list.Tokenize(L",;", pos); pos != -1; t = list.Tokenize(L",;", pos))
        tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2], L"c");
}

TEST(CStringEdit, OutOfRangeAccessThrows) {
    CString s(L"ab");
    EXPECT_THROW(s.GetAt(2), CInvalidArgException);
    EXPECT_THROW(s.SetAt(-1, L'x'), CInvalidArgException);
}

TEST(CStringBuffer, ReleaseBufferStopsAtTerminator) {
    CString s;
    wchar_t* p = s.GetBuffer(10);
    p[0] = L'h';
    p[1] = L'i';
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"hi");
}

TEST(CStringUtf8, RoundTripAndDamagedInput) {
    CString s(L"Gr\u00fc\u00dfe \U0001F600");
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
    // A cut-short sequence and a stray continuation byte become replacement characters.
    EXPECT_EQ(CString::FromUtf8("a\xC3"), CString(L"a\uFFFD"));
    EXPECT_EQ(CString::FromUtf8("\x80z"), CString(L"\uFFFDz"));
}

TEST(MulDivTest, RoundsHalfAwayFromZero) {
    struct Case {
        int n, num, den, expected;
    } cases[] = {
        {5, 1, 2, 3},  {-5, 1, 2, -3},      {5, -1, 2, -3},
        {7, 3, 0, -1}, {1 << 30, 4, 2, -1}, {2000000000, 3, 3, 2000000000},
        {10, 1, 3, 3}, {-10, 1, -3, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.n, c.num, c.den), c.expected) << c.n << "*" << c.num << "/" << c.den;
}
