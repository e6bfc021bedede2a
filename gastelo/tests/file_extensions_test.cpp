#include "gastelo/file_extensions.h"

#include <gtest/gtest.h>

TEST(FileExtensionsTest, ClassifiesNamesByTheirExtension) {
    const struct {
        const wchar_t* name;
        int id;
    } cases[] = {
        {L"C:\\Designs\\logo.kdx", 0},
        {L"logo.KDX", 0},
        {L"logo.KDXS", 0},
        {L"logo.kdxs", 0},
        {L"job.dst", 17},  // also row 20: the first row wins
        {L"plot.hgl", 16}, // also row 41
        {L"photo.jpg", -1},
        {L"no_dot", -1},
        {L"", -1},
        {L"dir.v2\\name", -1},
        {L"plot.plt<COM1>", 42},
        {L"plot.PLT<", 42},
        {L"a<b.plt", -1}, // the last "<" lies before the dot: no extension
        {L"a<x>.dxf<y", 14},
        {L"cut.U??", 21}, // a plain text, not a pattern
        {L"cut.U01", -1},
        {L"cut.t0?", 25},
        {L"blank.   ", 28}, // three spaces: the first blank row
        {L"blank.  ", -1},
        {L"art.ai", 11},
        {L"job.tmp", 68},
        {L"trailing.", -1},
        {L"art.a\u0131", -1}, // a dotless i folds to "I" in some locales: not the row "AI"
        {L"job.D\u017FT", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserGetFileExtID(CString(c.name)), c.id) << CString(c.name).ToUtf8();
}

TEST(FileExtensionsTest, GivesTheTextOfEachRowAndNothingOutside) {
    const struct {
        int id;
        const wchar_t* text;
    } rows[] = {{0, L"Kdx"},  {11, L"AI"},  {17, L"DST"}, {20, L"DST"}, {21, L"U??"},
                {28, L"   "}, {31, L"   "}, {52, L"10O"}, {65, L"PDF"}, {68, L"TMP"}};
    for (const auto& r : rows) {
        CString out;
        BrowserGetFileExt(r.id, out);
        EXPECT_EQ(out, CString(r.text)) << r.id;
    }
    for (int id : {-1, 69, 1000}) {
        CString out(L"stale");
        BrowserGetFileExt(id, out);
        EXPECT_TRUE(out.IsEmpty()) << id;
    }
    // Every row but the repeated and the blank ones names itself.
    for (int id = 0; id < kFileExtCount; ++id) {
        CString ext;
        BrowserGetFileExt(id, ext);
        int back = BrowserGetFileExtID(L"x." + ext);
        if (id == 20 || id == 41 || id == 31)
            EXPECT_LT(back, id);
        else
            EXPECT_EQ(back, id) << ext.ToUtf8();
    }
}

TEST(FileExtensionsTest, ListTitlesByIndexAndNothingOutside) {
    const struct {
        int index;
        const wchar_t* title;
    } cases[] = {
        {0, L"Name"}, {3, L"Size"},           {8, L"File"}, {15, L"Sequins"},
        {2, L""}, // a column without a title
        {-1, L""},    {kListTitleCount, L""},
    };
    for (const auto& c : cases) {
        CString out(L"stale");
        FnGasteloGetListTitle(c.index, out);
        EXPECT_EQ(out, CString(c.title)) << c.index;
    }
}

TEST(FileExtensionsTest, TheDesignExtensionNamesTheDesignRow) {
    CString ext(L"stale");
    FnGasteloGetDesignFileExt(ext);
    EXPECT_EQ(ext, CString(L".KDX"));
    EXPECT_EQ(BrowserGetFileExtID(L"logo" + ext), kDesignFileExtID);
    CString row;
    BrowserGetFileExt(kDesignFileExtID, row);
    EXPECT_EQ(row.CompareNoCase(ext.Mid(1)), 0) << row.ToUtf8();
}
