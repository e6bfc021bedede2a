#include "pivora/document/tx_xform_effect.h"

#include "article_fixtures.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

CTxXformEffect* LoadEffect(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return ar.ReadObjectAs<CTxXformEffect>();
}

std::vector<BYTE> Header() {
    std::vector<BYTE> h = {0xFF, 0xFF, 0x00, 0x00, 0x0E, 0x00};
    for (char c : std::string("CTxXformEffect"))
        h.push_back(BYTE(c));
    return h;
}

} // namespace

TEST(TxXformEffect, MapsPointsArraysItemsAndArticles) {
    CTxXformEffect e;
    CMat2d m(CScale(2.0, 0.5));
    e.SetXform(m);
    CMat2d back;
    e.GetXform(back);
    EXPECT_EQ(back, m);

    int x, y;
    e.Xform(3, 3, x, y);
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 2); // 1.5 rounds half away from zero

    CLpoint pts[2] = {CLpoint(10, 10), CLpoint(-3, -3)};
    int n = -1;
    std::unique_ptr<CLpoint[]> out(e.Xform(pts, 2, n));
    ASSERT_EQ(n, 2);
    EXPECT_EQ(out[0], CLpoint(20, 5));
    EXPECT_EQ(out[1], CLpoint(-6, -2));

    CPoint dev[1] = {CPoint(3, 3)};
    std::unique_ptr<CPoint[]> devOut(e.Xform(dev, 1, n));
    EXPECT_EQ(devOut[0], CPoint(6, 1)); // device points truncate

    std::unique_ptr<CLpoint[]> none(e.Xform(pts, 0, n));
    EXPECT_NE(none, nullptr); // an empty array, not null
    EXPECT_EQ(n, 0);

    CWindow box(0, 0, 10, 10);
    std::unique_ptr<CArticle> a(MakeBoxArticle(L"a", &box));
    EXPECT_EQ(e.Xform(a->GetItem()), a->GetItem());
    EXPECT_EQ(static_cast<CBoxItem*>(a->GetItem())->m_Box, CWindow(0, 0, 20, 5));
    EXPECT_EQ(e.Xform(a.get(), 1), a.get());
    EXPECT_EQ(static_cast<CBoxItem*>(a->GetItem())->m_Box, CWindow(0, 0, 40, 3));
}

TEST(TxXformEffect, CopyTakesTheMatrixButNotTheProperties) {
    CTxXformEffect e;
    e.SetXform(CMat2d(CDpoint(4.0, 5.0)));
    e.SetEnabled();
    std::unique_ptr<CTxXformEffect> copy(static_cast<CTxXformEffect*>(e.CopyObject(nullptr)));
    CMat2d a, b;
    e.GetXform(a);
    copy->GetXform(b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(copy->GetProperties(), 0u);

    CTxEffect plain; // a target of another class is left as it is
    EXPECT_EQ(e.CopyObject(&plain), &plain);
    EXPECT_TRUE(IsCXformEffect(copy.get()));
    EXPECT_FALSE(IsCXformEffect(&plain));
    EXPECT_FALSE(IsCXformEffect(nullptr));
}

TEST(TxXformEffect, TwoGroupsGoldenBytesAndRoundTrip) {
    CTxXformEffect e;
    e.SetXform(CMat2d(CDpoint(1.0, -2.0)));
    e.SetEnabled();
    std::vector<BYTE> expected = Header();
    const std::vector<BYTE> base = {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x00,
                                    0x00, 0x00, 0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    expected.insert(expected.end(), base.begin(), base.end());
    const std::vector<BYTE> field = {0x00, 0x00, 0x48, 0x00, 0x00, 0x00};
    expected.insert(expected.end(), field.begin(), field.end());
    const double m[9] = {1, 0, 0, 0, 1, 0, 1, -2, 1};
    const BYTE* raw = reinterpret_cast<const BYTE*>(m);
    expected.insert(expected.end(), raw, raw + sizeof m);
    const std::vector<BYTE> end = {0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    expected.insert(expected.end(), end.begin(), end.end());
    // The stored doubles as bytes: 1.0 is 00 00 00 00 00 00 F0 3F.
    EXPECT_EQ(expected[42], 0x00);
    EXPECT_EQ(expected[49], 0x3F);

    const std::vector<BYTE> bytes = StoreObject(&e);
    EXPECT_EQ(bytes, expected);
    std::unique_ptr<CTxXformEffect> back(LoadEffect(bytes));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->IsEnabled());
    int x, y;
    back->Xform(0, 0, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -2);
    EXPECT_EQ(StoreObject(back.get()), bytes);
}

TEST(TxXformEffect, MatrixFieldOfTheWrongSizeKeepsTheIdentity) {
    std::vector<BYTE> bytes = Header();
    const std::vector<BYTE> rest = {
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,                         // empty base group
        0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, // one double only
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
    };
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    std::unique_ptr<CTxXformEffect> e(LoadEffect(bytes));
    ASSERT_TRUE(e);
    CMat2d m;
    e->GetXform(m);
    EXPECT_EQ(m, CMat2d());

    bytes.resize(bytes.size() - 7); // cut inside the group
    EXPECT_THROW(delete LoadEffect(bytes), CArchiveException);
}
