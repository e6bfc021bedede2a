#include "pivora/tx_effect.h"

#include "article_fixtures.h"
#include "pivora/document/tx_xform_effect.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(TxEffect, EnabledBitAndPropertyWord) {
    CTxEffect e;
    EXPECT_EQ(e.IsEnabled(), 0u);
    e.SetEnabled();
    EXPECT_EQ(e.GetProperties(), 4u);
    EXPECT_EQ(e.GetProperty(6), 1);
    e.SetProperty(0x100);
    e.SetDisabled();
    EXPECT_EQ(e.GetProperties(), 0x100u);
    e.ClrProperty(0x100);
    EXPECT_EQ(e.GetProperties(), 0u);
}

TEST(TxEffect, BaseIsTheIdentity) {
    CTxEffect e;
    int x = 0, y = 0;
    e.Xform(12, -7, x, y);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, -7);
    CLpoint pts[1] = {CLpoint(1, 1)};
    int n = 5;
    EXPECT_EQ(e.Xform(pts, 1, n), nullptr);
    EXPECT_EQ(n, 5);
    CArticle a;
    EXPECT_EQ(e.Xform(&a, 1), &a);
    EXPECT_EQ(e.Xform(static_cast<CItem*>(nullptr)), nullptr);

    e.SetProperties(0x14);
    std::unique_ptr<CTxEffect> copy(static_cast<CTxEffect*>(e.CopyObject(nullptr)));
    EXPECT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(CTxEffect));
    EXPECT_EQ(copy->GetProperties(), 0x14u);
}

TEST(TxEffect, GroupGoldenBytesAndLoad) {
    CTxEffect e;
    e.SetProperties(0x04);
    const std::vector<BYTE> expected = {
        0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00, 'C',  'T',  'x',  'E',  'f',  'f',  'e',
        'c',  't',  0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, // properties
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
    };
    const std::vector<BYTE> bytes = StoreObject(&e);
    EXPECT_EQ(bytes, expected);

    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CTxEffect> back(ar.ReadObjectAs<CTxEffect>());
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->IsEnabled());
}
