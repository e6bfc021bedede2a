#include "pivora/select.h"

#include "article_fixtures.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(SelectEntry, ExtentsByMode) {
    CWindow box(0, 0, 10, 10), childBox(20, 20, 30, 40);
    std::unique_ptr<CArticle> a(MakeBoxArticle(L"a", &box));
    a->AddChild(MakeBoxArticle(L"child", &childBox));
    const CWindow untouched(1, 2, 3, 4);
    struct Case {
        int mode;
        CWindow expected;
    };
    const Case cases[] = {
        {1, CWindow(0, 0, 30, 40)},
        {3, CWindow(0, 0, 30, 40)},
        {2, box},
        {7, untouched},
        {0, untouched},
    };
    for (const Case& c : cases) {
        CSelect entry(a.get(), c.mode);
        EXPECT_EQ(entry.SelectMode(), c.mode);
        EXPECT_EQ(entry.Article(), a.get());
        CWindow w = untouched;
        entry.GetExtents(w);
        EXPECT_EQ(w, c.expected) << "mode " << c.mode;
    }

    // An item entry whose article has no item leaves the rectangle as it was.
    CArticle group;
    CSelect itemEntry(&group, 2);
    CWindow w = untouched;
    itemEntry.GetExtents(w);
    EXPECT_EQ(w, untouched);
}

TEST(SelectEntry, StoredAfterTheTreeRefersBackToTheArticle) {
    CWindow box(0, 0, 10, 10);
    std::unique_ptr<CArticle> a(MakeBoxArticle(L"a", &box));
    CSelect entry(a.get(), 3);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(a.get());
    const ULONGLONG treeEnd = ar.GetPosition();
    ar.WriteObject(&entry);
    ar.Close();
    std::vector<BYTE> bytes = file.Detach();
    // The entry's class, then the article as a back reference (object 2: class CArticle is 1,
    // and the item's class and object follow it), then the mode.
    std::vector<BYTE> tail(bytes.begin() + std::ptrdiff_t(treeEnd), bytes.end());
    ASSERT_EQ(tail.size(), 6u + 7u + 2u + 4u);
    EXPECT_EQ(tail[0], 0xFF);
    EXPECT_EQ(tail[1], 0xFF);
    EXPECT_EQ(tail[13], 0x02);
    EXPECT_EQ(tail[14], 0x00);
    EXPECT_EQ(tail[15], 0x03);

    // Loads back pointing at the article loaded before it.
    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive loader(&in, CArchive::load);
    std::unique_ptr<CArticle> tree(loader.ReadObjectAs<CArticle>());
    std::unique_ptr<CSelect> back(loader.ReadObjectAs<CSelect>());
    ASSERT_TRUE(tree && back);
    EXPECT_EQ(back->Article(), tree.get());
    EXPECT_EQ(back->SelectMode(), 3);
}

TEST(SelectEntry, LoadsAnArticleOfItsOwnAndFreesIt) {
    CWindow box(5, 5, 9, 9);
    std::unique_ptr<CArticle> a(MakeBoxArticle(L"a", &box));
    CSelect entry(a.get(), 2);
    std::vector<BYTE> bytes = StoreObject(&entry);

    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CSelect> back(ar.ReadObjectAs<CSelect>());
    ASSERT_TRUE(back);
    ASSERT_TRUE(back->Article());
    EXPECT_EQ(back->SelectMode(), 2);
    CWindow w;
    back->GetExtents(w);
    EXPECT_EQ(w, box);

    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        CMemFile f(cut.data(), UINT(cut.size()));
        CArchive in(&f, CArchive::load);
        EXPECT_THROW(delete in.ReadObjectAs<CSelect>(), CArchiveException) << "length " << n;
    }
}
