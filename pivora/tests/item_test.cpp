#include "pivora/item.h"

#include "article_fixtures.h"
#include "pivora/article.h"

#include "pivora/framework/jox_dc.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An item whose overrides refuse rotation, to show that the single tests decide.
class CNoRotateItem : public CItem {
    DECLARE_SERIAL(CNoRotateItem)
public:
    int CanRotate() override { return 0; }
};
IMPLEMENT_SERIAL(CNoRotateItem, CItem, 0)

std::vector<BYTE> ItemClassHeader() {
    return {0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00, 'C', 'I', 't', 'e', 'm'};
}

std::vector<BYTE> Cat(std::vector<BYTE> a, const std::vector<BYTE>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(ItemPermissions, DefaultsAndSingleTests) {
    CBoxItem item;
    EXPECT_EQ(item.GetXformProperties(), 0x1F7u);
    EXPECT_EQ(item.XformProperties(), 0x1F7u);
    EXPECT_TRUE(item.CanScale());
    EXPECT_TRUE(item.CanXform(0x1F7));
    EXPECT_FALSE(item.CanReflect());

    item.ClrXformProperty(CItem::kXformScaleY);
    EXPECT_TRUE(item.CanScaleX());
    EXPECT_FALSE(item.CanScale());
    EXPECT_FALSE(item.CanXform(CItem::kXformScaleX | CItem::kXformScaleY));
    EXPECT_TRUE(item.CanXform(CItem::kXformMove));

    item.SetProperty(0x08); // inactive: nothing may transform it
    EXPECT_TRUE(item.IsInActive());
    EXPECT_FALSE(item.CanXform(1));

    CNoRotateItem noRotate;
    EXPECT_EQ(noRotate.XformProperties(), 0x1F7u & ~CItem::kXformRotate);
    EXPECT_FALSE(noRotate.CanXform(CItem::kXformRotate));
}

TEST(ItemState, HiddenFollowsTheOwnerAndExtentsInvalidateIt) {
    CWindow box(0, 0, 10, 20);
    CArticle parent;
    CArticle* owner = MakeBoxArticle(L"a", &box);
    parent.AddChild(owner);
    CItem* item = owner->GetItem();
    EXPECT_EQ(item->GetArticle(), owner);
    EXPECT_FALSE(item->IsHidden());
    owner->SetProperty(0x20, false);
    EXPECT_TRUE(item->IsHidden());

    EXPECT_EQ(item->Extents(), box);
    EXPECT_EQ(item->GetInvExtents(), 0);
    parent.Extents(0);
    EXPECT_EQ(parent.GetInvExtents(), 0);
    item->InvExtents(1);
    EXPECT_EQ(owner->GetInvExtents(), 1);
    EXPECT_EQ(parent.GetInvExtents(), 1);
}

TEST(ItemCopy, CopiesBaseStateButNotTheOwner) {
    CWindow box(1, 2, 3, 4);
    CArticle owner;
    auto* item = new CBoxItem(box);
    owner.Item(item);
    item->SetProperties(0x40);
    item->SetXformProperties(0x3);
    item->Extents();

    CBoxItem copy;
    EXPECT_EQ(item->CopyObject(&copy), &copy);
    EXPECT_EQ(copy.GetProperties(), 0x40u);
    EXPECT_EQ(copy.GetXformProperties(), 0x3u);
    EXPECT_EQ(copy.GetInvExtents(), 0);
    EXPECT_EQ(copy.GetArticle(), nullptr);
    EXPECT_EQ(item->CItem::CopyObject(nullptr), nullptr);
}

TEST(ItemRecords, GroupGoldenBytes) {
    std::unique_ptr<CItem> item(static_cast<CItem*>(CItem::CreateObject()));
    item->SetProperties(0x24);
    std::vector<BYTE> expected =
        Cat(ItemClassHeader(),
            {
                0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, // properties
                0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0xF7, 0x01, 0x00, 0x00, // permissions
                0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
            });
    EXPECT_EQ(StoreObject(item.get()), expected);

    std::unique_ptr<CItem> back(LoadObjectAs<CItem>(expected));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetProperties(), 0x24u);
    EXPECT_EQ(back->GetXformProperties(), 0x1F7u);
    EXPECT_EQ(back->GetInvExtents(), 1);
}

TEST(ItemRecords, LoadKeepsDefaultsForMissingForeignAndMisSizedFields) {
    struct Case {
        const char* what;
        std::vector<BYTE> group;
        DWORD properties;
        DWORD permissions;
    };
    const std::vector<Case> cases = {
        {"only record 1",
         {0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0xFE, 0xFE, 0, 0, 0, 0},
         0,
         0x11},
        {"unknown id between known ones",
         {0x42, 0x00, 0x03, 0x00, 0x00, 0x00, 1,    2,    3, 0x00, 0x00, 0x04, 0x00,
          0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0xFE, 0xFE, 0, 0,    0,    0},
         0x80,
         0x1F7},
        // Properties stored as a 16-bit value: skipped, the next field still reads right.
        {"record 0 of two bytes",
         {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x20, 0x00, 0x01, 0x00, 0x04, 0x00,
          0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0xFE, 0xFE, 0,    0,    0,    0},
         0,
         0x07},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CItem> item(LoadObjectAs<CItem>(Cat(ItemClassHeader(), c.group)));
        ASSERT_TRUE(item);
        EXPECT_EQ(item->GetProperties(), c.properties);
        EXPECT_EQ(item->GetXformProperties(), c.permissions);
    }
}

TEST(ItemRecords, CutShortAnywhereRaisesTheArchiveException) {
    CWindow box(-5, -6, 70, 80);
    CBoxItem item(box);
    std::vector<BYTE> bytes = StoreObject(&item);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_THROW(delete LoadObjectAs<CItem>(cut), CArchiveException) << "length " << n;
    }
    std::unique_ptr<CItem> back(LoadObjectAs<CItem>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Extents(), box);
}

TEST(ItemHitTest, InitResetsAndElementsAreChecked) {
    CItemHitTest test(nullptr, CPoint(5, 6), CItemHitTest::kModePath, 3);
    EXPECT_EQ(test.GetHitPoint(), CPoint(5, 6));
    EXPECT_EQ(test.GetHitAccuracy(), 3);
    EXPECT_EQ(test.GetStartMode(), 2u);
    EXPECT_EQ(test.GetHitIndex(), -1);
    test.AddHitElement(7);
    test.AddHitElement(9);
    test.SetHitSegment(CLpoint(1, 2), CLpoint(3, 4));
    test.SetEndMode(2);
    EXPECT_EQ(test.GetHitElementCount(), 2);
    EXPECT_EQ(test.GetHitElement(1), 9);
    EXPECT_THROW(test.GetHitElement(2), CInvalidArgException);
    EXPECT_THROW(test.GetHitElement(-1), CInvalidArgException);

    test.InitContents(nullptr, 1);
    EXPECT_EQ(test.GetHitElementCount(), 0);
    EXPECT_EQ(test.GetHitPoint(), CPoint(0, 0));
    EXPECT_EQ(test.GetHitSegment(), CLine());
    EXPECT_EQ(test.GetHitAccuracy(), 0);
    EXPECT_EQ(test.GetEndMode(), 0u);
    EXPECT_EQ(test.GetStartMode(), 1u);

    CItemHitTest region(nullptr, nullptr);
    EXPECT_EQ(region.GetStartMode(), CItemHitTest::kModeNodes);
}

namespace {

struct RecordingDC : CJoxDC {
    platform::RecordingSurface surface;
    RecordingDC() { Attach(platform::CreateSurfaceDC(&surface)); }
};

} // namespace

TEST(ItemDevice, ClientExtentsAreNeverEmpty) {
    RecordingDC dc; // map mode 0: data and device units agree
    struct Case {
        CWindow box;
        CRect expected;
    };
    const Case cases[] = {
        {CWindow(5, 5, 5, 5), CRect(5, 5, 6, 6)},
        {CWindow(0, 10, 20, 10), CRect(0, 10, 20, 11)},
        {CWindow(0, 0, 20, 30), CRect(0, 30, 20, 0)}, // (x1, y2) is the top left
    };
    for (const Case& c : cases) {
        CBoxItem item(c.box);
        EXPECT_EQ(item.CalcClientExtents(&dc), c.expected);
    }
    CBoxItem item(CWindow(0, 0, 1, 1));
    EXPECT_EQ(item.IntersectClipRect(nullptr, &dc), 1); // without a view: always drawn
}
