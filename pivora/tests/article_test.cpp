#include "pivora/article.h"

#include "article_fixtures.h"
#include "pivora/document/tx_xform_effect.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/rand_number.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/tx_effect.h"
#include "platform/framework/frame_messages.h"
#include "view_fixture.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"
#include "platform/system/random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

CWindow Box(LONG x1, LONG y1, LONG x2, LONG y2) {
    return CWindow(x1, y1, x2, y2);
}

std::vector<std::wstring> Names(CArticleList& list) {
    std::vector<std::wstring> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos)->GetName().str());
    return out;
}

// A derived article class, to tell kinds apart in the walks.
class CMarkedArticle : public CArticle {
    DECLARE_SERIAL(CMarkedArticle)
};
IMPLEMENT_SERIAL(CMarkedArticle, CArticle, 0)

CArticle* Named(CArticle* a, const wchar_t* name) {
    a->SetName(name);
    return a;
}

// root
//   a (marked)
//     a1
//     a2 (marked)
//   b
//     b1 (marked)
//   c
struct WalkTree {
    CArticle root;
    CArticle* a = Named(new CMarkedArticle, L"a");
    CArticle* a1 = Named(new CArticle, L"a1");
    CArticle* a2 = Named(new CMarkedArticle, L"a2");
    CArticle* b = Named(new CArticle, L"b");
    CArticle* b1 = Named(new CMarkedArticle, L"b1");
    CArticle* c = Named(new CArticle, L"c");
    WalkTree() {
        root.SetName(L"root");
        root.AddChild(a);
        a->AddChild(a1);
        a->AddChild(a2);
        root.AddChild(b);
        b->AddChild(b1);
        root.AddChild(c);
    }
};

std::vector<BYTE> Bytes(std::initializer_list<int> v) {
    std::vector<BYTE> out;
    for (int b : v)
        out.push_back(BYTE(b));
    return out;
}

void Append(std::vector<BYTE>& to, const std::vector<BYTE>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// The bytes of a lone CArticle whose group is given; links both null.
std::vector<BYTE> LoneArticle(const std::vector<BYTE>& group) {
    std::vector<BYTE> out = Bytes({0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00});
    for (char ch : std::string("CArticle"))
        out.push_back(BYTE(ch));
    Append(out, Bytes({0x00, 0x00, 0x00, 0x00})); // first child, right sibling
    Append(out, group);
    return out;
}

const std::vector<BYTE> kEnd = Bytes({0xFE, 0xFE, 0, 0, 0, 0});

} // namespace

TEST(ArticleIdentity, ConsecutiveIdsAndANewIdForACopy) {
    CArticle a, b;
    EXPECT_EQ(b.GetID(), a.GetID() + 1);
    std::unique_ptr<CArticle> copy(static_cast<CArticle*>(a.CopyObject(nullptr)));
    EXPECT_EQ(copy->GetID(), b.GetID() + 1);
    EXPECT_EQ(copy->GetName(), CString(L"No Name"));

    // A counter at 0 (start of the run, or a wrap) is seeded with the product of two draws.
    get_rand_number(0, 2); // the generator's own seeding happens once, before this
    platform::srand(4711);
    const LONG expected = LONG(get_rand_number(0, 10000)) * get_rand_number(0, 10000);
    platform::srand(4711);
    LONG saved = CArticle::m_ID_count;
    CArticle::m_ID_count = 0;
    CArticle seeded;
    EXPECT_EQ(seeded.GetID(), expected);
    EXPECT_EQ(CArticle::m_ID_count, expected + 1);
    CArticle::m_ID_count = saved;
}

TEST(ArticleWalk, PreOrderSearchesByClass) {
    WalkTree t;
    const CRuntimeClass* marked = RUNTIME_CLASS(CMarkedArticle);
    EXPECT_EQ(t.root.First(marked, 1), t.a);
    EXPECT_EQ(t.a->First(marked, 0), t.a2);
    EXPECT_EQ(t.a->First(marked, 1), t.a);
    EXPECT_EQ(t.a->Next(marked, 0, 1), t.a2);
    EXPECT_EQ(t.a2->Next(marked, 0, 1), t.b1);
    EXPECT_EQ(t.a->Next(marked, 0, 0), t.b1); // not down: a's subtree is passed over
    EXPECT_EQ(t.b1->Next(marked, 0, 1), nullptr);
    EXPECT_EQ(t.root.Last(marked, 1), t.b1);
    EXPECT_EQ(t.a->Last(nullptr, 1), t.a2);
    EXPECT_EQ(t.c->Previous(marked, 1), t.b1);
    EXPECT_EQ(t.b1->Previous(marked, 0), t.a2);
    EXPECT_EQ(t.a1->Previous(marked, 0), t.a); // the parent comes before its children
    EXPECT_EQ(t.a1->Previous(nullptr, 0), t.a);
    EXPECT_EQ(t.a->Previous(marked, 0), nullptr);

    EXPECT_EQ(t.root.FindID(t.b1->GetID()), t.b1);
    EXPECT_EQ(t.root.FindID(t.root.GetID()), &t.root);
    EXPECT_EQ(t.a->FindID(t.c->GetID()), nullptr); // siblings are not searched

    CArticleList all, kinds, filtered;
    t.root.GetArticleList(&all, nullptr, nullptr);
    EXPECT_EQ(Names(all), (std::vector<std::wstring>{L"a", L"a1", L"a2", L"b", L"b1", L"c"}));
    t.root.GetArticleList(&kinds, marked);
    EXPECT_EQ(Names(kinds), (std::vector<std::wstring>{L"a", L"a2", L"b1"}));
    auto noChildren = [](CObject* o, void*) {
        return static_cast<CArticle*>(o)->GetFirstChild() ? 0 : 1;
    };
    t.root.GetArticleList(&filtered, noChildren, nullptr);
    EXPECT_EQ(Names(filtered), (std::vector<std::wstring>{L"a1", L"a2", L"b1", L"c"}));
    EXPECT_EQ(t.root.GetArticleList(nullptr, nullptr, nullptr), nullptr);

    EXPECT_EQ(t.a2->TopArticle(), t.a);
    EXPECT_EQ(t.a->TopArticle(), t.a);
    EXPECT_EQ(t.root.TopArticle(), nullptr);

    CArticleList listed;
    listed.AddTail(t.a);
    EXPECT_EQ(t.a2->IsArticleInList(listed), 1);
    EXPECT_EQ(t.b1->IsArticleInList(listed), 0);

    int visits = 0;
    auto countUntilB = [](CArticle* a, CItem*, void* data) {
        ++*static_cast<int*>(data);
        return a->GetName() == L"b" ? 0 : 1;
    };
    GoArticleList(all, countUntilB, &visits, nullptr);
    EXPECT_EQ(visits, 4);
}

TEST(ArticleExtents, UnionOfItemAndChildrenCachedUntilInvalidated) {
    CArticle root;
    CWindow b1 = Box(0, 0, 100, 50), b2 = Box(-20, 10, 30, 200);
    CArticle* a = MakeBoxArticle(L"a", &b1);
    CArticle* empty = MakeBoxArticle(L"empty", nullptr);
    root.AddChild(empty);
    EXPECT_EQ(root.Extents(0), CWindow::EmptyExtent()); // only an empty child: stays empty
    EXPECT_EQ(root.FullExtents(), CWindow::EmptyExtent());

    root.AddChild(a);
    root.InvExtents(1);
    EXPECT_EQ(root.Extents(0), b1);
    CArticle* b = MakeBoxArticle(L"b", &b2);
    a->AddChild(b);
    EXPECT_EQ(root.Extents(0), b1); // still the cached value
    b->InvExtents(1);               // marks a and root too
    EXPECT_EQ(root.GetInvExtents(), 1);
    EXPECT_EQ(root.Extents(0), Box(-20, 0, 100, 200));

    b->GetItem()->SetProperty(0x80); // a hidden item does not count
    b->InvExtents(1);
    EXPECT_EQ(root.Extents(0), b1);

    a->Detach(); // detaching marks the old parent
    EXPECT_EQ(root.GetInvExtents(), 1);
    EXPECT_EQ(root.Extents(0), CWindow::EmptyExtent());
    delete a;
}

TEST(ArticlePermissions, AGroupMayMoveOnlyWhenEveryChildMay) {
    CWindow box = Box(0, 0, 1, 1);
    CArticle group;
    CArticle* a = MakeBoxArticle(L"a", &box);
    CArticle* b = MakeBoxArticle(L"b", &box);
    group.AddChild(a);
    group.AddChild(b);
    EXPECT_TRUE(group.CanMove());
    EXPECT_TRUE(group.CanScale());
    b->GetItem()->ClrXformProperty(CItem::kXformMove);
    EXPECT_FALSE(group.CanMove());
    EXPECT_TRUE(group.CanRotate());
}

TEST(ArticleDeletion, AdjustParentAndUnfixedArticles) {
    CArticle root;
    CArticle* group = new CArticle;
    CArticle* only = new CArticle;
    root.AddChild(group);
    group->AddChild(only);
    EXPECT_EQ(only->DeleteAdjustParent(), group); // climbs through the itemless wrapper
    CArticle* sibling = new CArticle;
    group->AddChild(sibling);
    EXPECT_EQ(only->DeleteAdjustParent(), only);
    EXPECT_TRUE(group->IsEmptyWithoutChild() == 0);

    // Marked descendants move out to the end of the row, unmarked.
    CArticle* deep = new CArticle;
    sibling->AddChild(deep);
    deep->SetProperty(CArticle::kUnfixedBit, false);
    only->SetProperty(CArticle::kUnfixedBit, false);
    EXPECT_EQ(group->fnHasUnfixedData(), 1);
    group->DeleteAdjustUnfixed();
    EXPECT_EQ(group->fnHasUnfixedData(), 0);
    EXPECT_EQ(group->GetRsibling(), only);
    EXPECT_EQ(only->GetRsibling(), deep);
    EXPECT_EQ(deep->GetParent(), &root);
    EXPECT_EQ(deep->GetProperties(), 0u);
    EXPECT_EQ(group->GetFirstChild(), sibling);
    EXPECT_EQ(sibling->GetFirstChild(), nullptr);
}

TEST(ArticleProperties, RecursiveSettersAndActiveData) {
    CWindow box(0, 0, 1, 1);
    CArticle root;
    CArticle* a = MakeBoxArticle(L"a", &box);
    CArticle* b = MakeBoxArticle(L"b", &box);
    root.AddChild(a);
    a->AddChild(b);

    root.SetProperty(0x04, true);
    EXPECT_EQ(b->GetProperties(), 0x04u);
    EXPECT_EQ(CArticle::HasActiveData(&root), 0);
    b->ClrProperty(0x04, false);
    EXPECT_EQ(CArticle::HasActiveData(&root), 1);
    EXPECT_EQ(CArticle::HasActiveData(nullptr), 0);
    root.SetProperties(0x100, true);
    EXPECT_EQ(a->GetProperties(), 0x100u);
    root.ClrProperty(0x100, false);
    EXPECT_EQ(root.GetProperties(), 0u);
    EXPECT_EQ(a->GetProperties(), 0x100u);

    CArticle::ActivateAll(&root, 0, 0); // off: bit 0x08 on the descendants only
    EXPECT_EQ(root.GetProperty(0x08), 0);
    EXPECT_EQ(b->GetProperty(0x08), 1);
    CArticle::ActivateAll(&root, 1, 1);
    EXPECT_EQ(b->GetProperty(0x08), 0);

    // The static setters work on the items and may invalidate their extents.
    root.Extents(0);
    CArticle::SetProperty(&root, 0x20, 1);
    EXPECT_EQ(b->GetItem()->GetProperties(), 0x20u);
    EXPECT_EQ(root.GetInvExtents(), 1);
    EXPECT_EQ(root.Extents(0), CWindow::EmptyExtent()); // hidden items do not count
    CArticle::ClrProperty(&root, 0x20, 0);
    EXPECT_EQ(a->GetItem()->GetProperties(), 0u);
    EXPECT_EQ(root.GetInvExtents(), 0);
}

TEST(ArticleMenu, GroupAnswersTheCommonMenuOrTheDefault) {
    CArticle::fnSetRightClickMenu(500);
    CArticle group;
    group.SetProperty(CArticle::kGroupBit, false);
    EXPECT_EQ(group.fnGetRightClickMenu(), 0); // a group without children
    CArticle* a = new CArticle;
    CArticle* b = new CArticle;
    group.AddChild(a);
    group.AddChild(b);
    EXPECT_EQ(group.fnGetRightClickMenu(), 500);
    CArticle::fnSetRightClickMenu(0); // children answer 0: the default
    EXPECT_EQ(group.fnGetRightClickMenu(), 0);
}

TEST(ArticleSelection, ValidityWalksDownToTheFirstItem) {
    CWindow box = Box(0, 0, 1, 1);
    CArticle root;
    CArticle* group = new CArticle;
    CArticle* leaf = MakeBoxArticle(L"leaf", &box);
    root.AddChild(group);
    group->AddChild(leaf);
    EXPECT_FALSE(CArticle::IsArticleValidForSelection(nullptr));
    EXPECT_FALSE(CArticle::IsArticleValidForSelection(&root)); // a root
    EXPECT_TRUE(CArticle::IsArticleValidForSelection(group));
    leaf->GetItem()->SetProperty(0x04);
    EXPECT_FALSE(CArticle::IsArticleValidForSelection(group));
    group->SetProperty(0x40, false);
    EXPECT_FALSE(CArticle::IsArticleValidForSelection(group));
}

TEST(ArticleTransform, ItemChildrenAndOrientationMove) {
    CWindow b1 = Box(0, 0, 10, 10), b2 = Box(100, 100, 110, 120);
    CArticle* top = MakeBoxArticle(L"top", &b1);
    CArticle* child = MakeBoxArticle(L"child", &b2);
    CArticle root;
    root.AddChild(top);
    top->AddChild(child);
    top->fnSetOrientation(1);
    CLpoint s, e;
    EXPECT_EQ(top->fnGetOrientation(s, e), 1);
    EXPECT_EQ(s, CLpoint(55, 60)); // centre of (0,0)-(110,120)
    EXPECT_EQ(e, CLpoint(110, 60));
    EXPECT_EQ(child->fnGetOrientation(s, e), 1); // the same mark below

    CMat2d move(CDpoint(5.0, -5.0));
    child->GetItem()->SetProperty(CItem::kNotTransformedBit);
    top->DoTransform(move, 1);
    EXPECT_EQ(static_cast<CBoxItem*>(top->GetItem())->m_Box, Box(5, -5, 15, 5));
    EXPECT_EQ(static_cast<CBoxItem*>(child->GetItem())->m_nTransforms, 0);
    top->fnGetOrientation(s, e);
    EXPECT_EQ(s, CLpoint(60, 55));
    child->fnGetOrientation(s, e); // its item did not move, nor does its mark
    EXPECT_EQ(s, CLpoint(55, 60));
    EXPECT_EQ(root.Extents(0), Box(5, -5, 110, 120));

    top->fnSetOrientation(0);
    EXPECT_EQ(top->fnGetOrientation(s, e), 0);
}

TEST(ArticleInfo, InfoStringNamesClassIdAndExtents) {
    CWindow box = Box(1, 2, 11, 32);
    std::unique_ptr<CArticle> a(MakeBoxArticle(L"a", &box));
    a->fnSetID(42, nullptr);
    CString s = a->InfoStr(0);
    std::wstring text = s.str();
    EXPECT_EQ(text.rfind(L"CArticle [", 0), 0u);
    EXPECT_NE(text.find(L" ID 42]Ext:ll(1,2) ur(11,32); W 10 x H 30"), std::wstring::npos);
    EXPECT_EQ(a->InfoStr(2).str().find(L"Ext:"), std::wstring::npos);
}

TEST(ArticleCopy, DeepCopyOwnsItsItemsEffectsAndValues) {
    std::unique_ptr<CArticle> root(MakeSampleTree());
    std::unique_ptr<CArticle> copy(static_cast<CArticle*>(root->CopyTreeObject()));
    CArticle* frame = root->First(nullptr, 0)->First(nullptr, 0);
    ASSERT_EQ(frame->GetName(), CString(L"Frame"));
    CArticle* frameCopy = copy->First(nullptr, 0)->First(nullptr, 0);
    ASSERT_EQ(frameCopy->GetName(), CString(L"Frame"));
    EXPECT_NE(frameCopy->GetID(), frame->GetID());
    ASSERT_TRUE(frameCopy->GetItem());
    EXPECT_NE(frameCopy->GetItem(), frame->GetItem());
    EXPECT_EQ(frameCopy->GetItem()->GetArticle(), frameCopy);
    EXPECT_EQ(frameCopy->Extents(0), frame->Extents(0));
    EXPECT_EQ(frameCopy->fnGetValue(L"Width", 0), 5);
    ASSERT_EQ(frameCopy->TxEffectCount(), 2);
    EXPECT_TRUE(IsCXformEffect(frameCopy->GetTxEffect(0)));
    EXPECT_EQ(frameCopy->fnGetRefCount(), 0); // not copied

    root.reset(); // the copy's effects are its own
    int x, y;
    frameCopy->TxEffectXform(1, 2, x, y);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, -48);

    // A plain item (no copy of its own for a null target) still reaches the copy.
    CArticle plain;
    plain.Item(static_cast<CItem*>(CItem::CreateObject()));
    std::unique_ptr<CArticle> plainCopy(static_cast<CArticle*>(plain.CopyObject(nullptr)));
    ASSERT_TRUE(plainCopy->GetItem());
    EXPECT_EQ(plainCopy->GetItem()->GetRuntimeClass(), RUNTIME_CLASS(CItem));
}

// Named values ----------------------------------------------------------------------------

TEST(ArticleNamedValues, SuffixLookupReplaceAndKeep) {
    CArticle a;
    a.SetEffect(L"10", L"Size", 0);
    a.SetEffect(L"12", L"Size", 0);
    ASSERT_EQ(a.Effects().GetSize(), 1);
    EXPECT_EQ(a.Effects().GetAt(0), CString(L"12Size"));
    a.SetEffect(L"14", L"Size", 1);
    CString out;
    EXPECT_EQ(a.fnGetString(L"Size", out), 2);
    EXPECT_EQ(out, CString(L"12")); // the first entry wins

    CArticle b;
    b.SetEffect(L"10", L"FontSize", 0);
    int index = -1;
    EXPECT_EQ(b.GetEffect(L"Size", &index), 1); // suffix match
    EXPECT_EQ(index, 0);
    EXPECT_EQ(b.GetEffect(L"size", nullptr), 0); // case-sensitive
    EXPECT_EQ(b.GetEffect(L"", nullptr), 0);

    a.RemoveAllEffects(L"Size");
    EXPECT_EQ(a.Effects().GetSize(), 0);
}

TEST(ArticleNamedValues, NumbersSaveOnlyWhenChangedAndParseWithDefaults) {
    struct Case {
        const wchar_t* stored; // null: no entry
        int def;
        int expected;
    };
    const Case cases[] = {
        {nullptr, 7, 7}, {L"5", 7, 5}, {L"-12", 0, -12}, {L"abc", 9, 9}, {L"", 3, 3},
    };
    for (const Case& c : cases) {
        CArticle a;
        if (c.stored)
            a.SetEffect(c.stored, L"Width", 0);
        EXPECT_EQ(a.fnGetValue(L"Width", c.def), c.expected) << (c.stored ? c.stored : L"none");
    }

    CArticle a;
    a.SetEffect(L"5", L"Width", 0);
    EXPECT_EQ(a.fnSaveValue(L"Width", 5, 0), 0);
    EXPECT_EQ(a.Effects().GetSize(), 1);
    EXPECT_EQ(a.fnSaveValue(L"Width", 6, 0), 1);
    EXPECT_EQ(a.Effects().GetAt(0), CString(L"6Width"));

    CArticle* child = new CArticle;
    a.AddChild(child);
    EXPECT_EQ(a.fnSetValue(L"Width", 6, 1), 1); // only the child changes
    EXPECT_EQ(child->fnGetValue(L"Width", 0), 6);
    EXPECT_EQ(a.fnSaveString(L"Width", L"6", 1), 0);
}

TEST(ArticleNamedValues, SavingKeepsAnEqualEntryAndMovesAChangedOneToTheEnd) {
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        int changed;
        std::vector<std::wstring> after;
    };
    // The article holds "1Size", "Width" (an empty value) and "2Height" before each save.
    const Case cases[] = {
        {L"Size", L"1", 0, {L"1Size", L"Width", L"2Height"}},
        {L"Size", L"3", 1, {L"Width", L"2Height", L"3Size"}},
        {L"Width", L"", 1, {L"1Size", L"2Height", L"Width"}},
        {L"Depth", L"4", 1, {L"1Size", L"Width", L"2Height", L"4Depth"}},
        {L"", L"5", 1, {L"1Size", L"Width", L"2Height", L"5"}},
        {L"ize", L"1S", 0, {L"1Size", L"Width", L"2Height"}},
        {L"ize", L"1T", 1, {L"Width", L"2Height", L"1Tize"}},
    };
    for (const Case& c : cases) {
        CArticle a;
        a.SetEffect(L"1", L"Size", 0);
        a.SetEffect(L"", L"Width", 0);
        a.SetEffect(L"2", L"Height", 0);
        EXPECT_EQ(a.fnSaveString(c.name, c.value, 0), c.changed) << c.name;
        std::vector<std::wstring> after;
        for (INT_PTR i = 0; i < a.Effects().GetSize(); ++i)
            after.push_back(a.Effects().GetAt(i).str());
        EXPECT_EQ(after, c.after) << c.name;
    }
    // The text may be an entry of the same article, taken out by the save.
    CArticle self;
    self.SetEffect(L"1", L"Size", 0);
    EXPECT_EQ(self.fnSaveString(L"Size", self.Effects().GetAt(0).GetString(), 0), 1);
    ASSERT_EQ(self.Effects().GetSize(), 1);
    EXPECT_EQ(self.Effects().GetAt(0), CString(L"1SizeSize"));
    for (int v : {0, 1, 7, -12, 2147483647, -2147483647 - 1}) {
        CArticle fresh;
        EXPECT_EQ(fresh.fnSaveValue(L".Thickness", v, 0), 1);
        CString expected;
        expected.Format(L"%d.Thickness", v);
        EXPECT_EQ(fresh.Effects().GetAt(0), expected);
    }
}

TEST(ArticleNamedValues, RenameAndUseOfDottedEntries) {
    CArticle a;
    CArticle* child = new CArticle;
    a.AddChild(child);
    a.SetEffect(L"Red.", L"Pen", 0);
    child->SetEffect(L"Red.", L"Pen", 0);
    EXPECT_EQ(a.fnIsEffectUsed(L"Pen", L"Red"), 1);
    EXPECT_EQ(a.fnIsEffectUsed(L"Pen", L"Blue"), 0);
    a.fnRenameEffect(L"Pen", L"Red", L"Blue");
    EXPECT_EQ(a.Effects().GetAt(0), CString(L"Blue.Pen"));
    EXPECT_EQ(child->Effects().GetAt(0), CString(L"Blue.Pen"));
    EXPECT_EQ(child->fnIsEffectUsed(L"Pen", L"Blue"), 1);

    CArticle shortEntry; // an entry holding only the name has no dotted value
    shortEntry.SetEffect(L"", L"Pen", 0);
    EXPECT_EQ(shortEntry.fnIsEffectUsed(L"Pen", L""), 0);
}

// Transform-effect chains -----------------------------------------------------------------

namespace {

// Doubles every point into a new array and counts how often it ran.
class CDoubleEffect : public CTxEffect {
    DECLARE_SERIAL(CDoubleEffect)
public:
    CLpoint* Xform(CLpoint* p, int n, int& count) override {
        auto* out = new CLpoint[size_t(n)];
        for (int i = 0; i < n; ++i)
            out[i] = CLpoint(p[i].x * 2, p[i].y * 2);
        count = n;
        return out;
    }
};
IMPLEMENT_SERIAL(CDoubleEffect, CTxEffect, 0)

} // namespace

TEST(ArticleTxEffects, PointArraysChainAndIntermediatesAreFreed) {
    CArticle a;
    CLpoint pts[2] = {CLpoint(1, 2), CLpoint(3, 4)};
    int n = -1;
    EXPECT_EQ(a.TxEffectXform(pts, 2, n), nullptr);

    auto* first = new CDoubleEffect;
    a.AddTxEffect(first);
    CLpoint* one = a.TxEffectXform(pts, 2, n);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(one[1], CLpoint(6, 8));
    EXPECT_EQ(pts[1], CLpoint(3, 4)); // the caller's array is left alone
    delete[] one;

    a.AddTxEffect(new CDoubleEffect);
    auto* shift = new CTxXformEffect;
    shift->SetXform(CMat2d(CDpoint(1.0, 1.0)));
    a.InsertTxEffect(shift, 0);
    CLpoint* three = a.TxEffectXform(pts, 2, n); // the middle array is freed (ASan checks)
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three[0], CLpoint(8, 12));
    delete[] three;

    // The base effect gives no array; the chain goes on from the previous one.
    a.AddTxEffect(new CTxEffect);
    CLpoint* four = a.TxEffectXform(pts, 2, n);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(four[0], CLpoint(8, 12));
    delete[] four;

    EXPECT_EQ(a.TxEffectCount(), 4);
    a.RemoveTxEffect(4); // at the end: nothing
    a.RemoveTxEffect(99);
    EXPECT_EQ(a.TxEffectCount(), 4);
    EXPECT_EQ(a.GetTxEffect(1), first);
    EXPECT_THROW(a.GetTxEffect(4), CInvalidArgException);
    a.RemoveTxEffect(0);
    EXPECT_EQ(a.GetTxEffect(0), first);
    a.RemoveAllTxEffects();
    EXPECT_EQ(a.TxEffectCount(), 0);
}

TEST(ArticleTxEffects, ItemsArticlesAndPointsPassEveryEffect) {
    CWindow box = Box(0, 0, 10, 10);
    CArticle a;
    CArticle* target = MakeBoxArticle(L"t", &box);
    a.AddChild(target);
    auto* m1 = new CTxXformEffect;
    m1->SetXform(CMat2d(CDpoint(10.0, 0.0)));
    auto* m2 = new CTxXformEffect;
    m2->SetXform(CMat2d(CScale(2.0, 3.0)));
    a.AddTxEffect(m1);
    a.AddTxEffect(m2);

    int x, y;
    a.TxEffectXform(1, 1, x, y);
    EXPECT_EQ(x, 22); // moved first, then scaled
    EXPECT_EQ(y, 3);
    EXPECT_EQ(a.TxEffectXform(target->GetItem()), target->GetItem());
    EXPECT_EQ(static_cast<CBoxItem*>(target->GetItem())->m_Box, Box(20, 0, 40, 30));
    EXPECT_EQ(a.TxEffectXform(target, 1), target);
    EXPECT_EQ(static_cast<CBoxItem*>(target->GetItem())->m_Box, Box(60, 0, 100, 90));
}

// Records -----------------------------------------------------------------------------------

TEST(ArticleRecords, GroupGoldenBytes) {
    CArticle a;
    a.fnSetID(0x01020304, nullptr);
    a.SetName(L"A");
    a.SetProperties(0x400, false);
    a.SetTime(CTime(int64_t(0x11223344)));
    a.SetEffect(L"5", L"W", 0);
    a.fnSetDataStamp(9, 0);
    a.fnSetOrientation(CLpoint(1, -1), CLpoint(2, 3));
    a.fnSetRefCount(1);
    std::vector<BYTE> group = Bytes({
        0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,                     // 0 item: null
        0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'A', 0, // 1 name
        0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,         // 2 properties
        0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01,         // 3 ID
        0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11,         // 4 time
        0x05, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,                     // 5 no effects
        0x06, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x01, 0x00,                     // 6 one value:
        0xFF, 0xFE, 0xFF, 0x02, '5',  0,    'W',  0,                        //   "5W"
        0x07, 0x00, 0x04, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00,         // 7 data stamp
        0x08, 0x00, 0x10, 0x00, 0x00, 0x00,                                 // 8 orientation
        0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,                     //
        0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,                     //
        0x09, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,         // 9 ref count
    });
    Append(group, kEnd);
    EXPECT_EQ(StoreObject(&a), LoneArticle(group));
}

TEST(ArticleRecords, TreeRoundTripIsByteIdentical) {
    ArticleRowPtr first(MakeSampleTree());
    CWindow box(1, 1, 2, 2);
    // A second root in the row, as the page keeps its roots.
    first->AddRsibling(MakeBoxArticle(L"Second root", &box));
    std::vector<BYTE> bytes = StoreObject(first.get());

    ArticleRowPtr back(LoadObjectAs<CArticle>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(StoreObject(back.get()), bytes);

    // Links, owners and content are restored.
    auto* second = DynamicDowncast<CArticle>(back->GetRsibling());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->GetLsibling(), back.get());
    EXPECT_EQ(second->GetName(), CString(L"Second root"));
    CArticle* group = back->First(nullptr, 0);
    CArticle* frame = group->First(nullptr, 0);
    CArticle* text = DynamicDowncast<CArticle>(frame->GetRsibling());
    ASSERT_TRUE(text);
    EXPECT_EQ(frame->GetParent(), group);
    EXPECT_EQ(text->GetLsibling(), frame);
    EXPECT_EQ(frame->GetItem()->GetArticle(), frame);
    EXPECT_EQ(frame->GetID(), first->First(nullptr, 0)->First(nullptr, 0)->GetID());
    EXPECT_EQ(frame->fnGetValue(L"Width", 0), 5);
    EXPECT_EQ(frame->fnGetDataStamp(0), 77);
    EXPECT_EQ(frame->fnGetRefCount(), 2);
    EXPECT_EQ(frame->GetTime().GetTime(), 1700000000);
    CLpoint s, e;
    EXPECT_EQ(frame->fnGetOrientation(s, e), 1);
    EXPECT_EQ(e, CLpoint(30, 40));
    ASSERT_EQ(frame->TxEffectCount(), 2);
    EXPECT_TRUE(frame->GetTxEffect(0)->IsEnabled());
    EXPECT_EQ(text->GetItem()->GetXformProperties(), 0x011u);
    EXPECT_EQ(back->Extents(0), first->Extents(0));
}

TEST(ArticleRecords, DamagedFieldsLoadToDefaults) {
    struct Case {
        const char* what;
        std::vector<BYTE> group;
    };
    const std::vector<Case> cases = {
        // Orientation of 8 bytes instead of 16: skipped whole, the ref count after it reads.
        {"short orientation",
         Bytes({0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 1,    0,    0,    0,    2,    0,
                0,    0,    0x09, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00})},
        // Properties stored as a 16-bit value.
        {"properties of two bytes", Bytes({0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x09,
                                           0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00})},
        // A null entry in the effect chain is dropped.
        {"null effect", Bytes({0x05, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                               0x09, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00})},
        // A name field announcing more bytes than its string: the rest is skipped.
        {"long name field",
         Bytes({0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'B',  0,
                0xAA, 0xBB, 0x09, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> group = c.group;
        Append(group, kEnd);
        std::unique_ptr<CArticle> a(LoadObjectAs<CArticle>(LoneArticle(group)));
        ASSERT_TRUE(a);
        CLpoint s(9, 9), e(9, 9);
        EXPECT_EQ(a->fnGetOrientation(s, e), 0);
        EXPECT_EQ(s, CLpoint(0, 0));
        EXPECT_EQ(a->GetProperties(), 0u);
        EXPECT_EQ(a->TxEffectCount(), 0);
        EXPECT_EQ(a->fnGetRefCount(), 5);
    }
}

TEST(ArticleRecords, BadStreamsRaiseTheArchiveExceptionAndLeakNothing) {
    // An effect (a CTxEffect) where the item field expects a CItem.
    std::vector<BYTE> wrongClass =
        Bytes({0x00, 0x00, 0x19, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00, 'C',
               'T',  'x',  'E',  'f',  'f',  'e',  'c',  't',  0x00, 0x00, 0x04, 0x00, 0x00,
               0x00, 0,    0,    0,    0,    0xFE, 0xFE, 0,    0,    0,    0});
    Append(wrongClass, kEnd);
    EXPECT_THROW(delete LoadObjectAs<CArticle>(LoneArticle(wrongClass)), CArchiveException);

    // An item field whose object runs past the field's own length.
    std::vector<BYTE> overrun = Bytes({0x00, 0x00, 0x02, 0x00, 0x00, 0x00});
    std::vector<BYTE> item =
        StoreObject(std::unique_ptr<CItem>(static_cast<CItem*>(CItem::CreateObject())).get());
    Append(overrun, item);
    Append(overrun, kEnd);
    EXPECT_THROW(delete LoadObjectAs<CArticle>(LoneArticle(overrun)), CArchiveException);

    // The sample tree cut short at every length.
    std::unique_ptr<CArticle> root(MakeSampleTree());
    std::vector<BYTE> bytes = StoreObject(root.get());
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_THROW(DeleteArticleRow(LoadObjectAs<CArticle>(cut)), CArchiveException)
            << "length " << n;
    }
}

TEST(ArticleRows, LongSiblingRowsNeedNoDeepRecursion) {
    // Imported designs put thousands of paths in one row; every walk must stay flat.
    constexpr int kCount = 60000;
    std::unique_ptr<CArticle> root(new CArticle);
    CArticle* last = nullptr;
    for (int i = 0; i < kCount; ++i) {
        CWindow box(i, 0, i + 10, 10);
        CArticle* a = MakeBoxArticle(L"p", &box);
        if (last)
            last->InsertRsibling(a);
        else
            root->AddChild(a);
        last = a;
    }
    EXPECT_EQ(root->Extents(0), CWindow(0, 0, kCount + 9, 10));
    EXPECT_EQ(root->FindID(last->GetID()), last);
    EXPECT_EQ(root->Last(nullptr, 0), last);
    EXPECT_EQ(last->Previous(nullptr, 0), last->GetLsibling());
    EXPECT_EQ(root->First(nullptr, 0)->Next(nullptr, 0, 1), root->GetFirstChild()->GetRsibling());
    root->fnSaveValue(L"Width", 3, 1);
    EXPECT_EQ(last->fnGetValue(L"Width", 0), 3);

    std::vector<BYTE> bytes = StoreObject(root.get());
    std::unique_ptr<CArticle> back(LoadObjectAs<CArticle>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Extents(0), root->Extents(0));
    std::unique_ptr<CArticle> copy(static_cast<CArticle*>(back->CopyTreeObject()));
    EXPECT_EQ(copy->Extents(0), root->Extents(0));
}

namespace {

struct RecordingDC : CJoxDC {
    platform::RecordingSurface surface;
    RecordingDC() { Attach(platform::CreateSurfaceDC(&surface)); }
};

} // namespace

TEST(ArticleDevice, ClientExtentsStayInsideSixteenBitCoordinates) {
    RecordingDC dc;
    dc.SetMapMode(1);
    dc.SetWindowExt(10, 10);
    dc.SetViewportExt(10, -10); // y up in data, down on the device
    struct Case {
        CWindow box;
        CRect expected;
    };
    const Case cases[] = {
        {CWindow(-50000, -60000, 60000, 50000), CRect(-16380, -16370, 16380, 16370)},
        {CWindow(-90000, 0, -50000, 10), CRect(-16380, -10, -16379, 0)},
        {CWindow(40000, 100, 90000, 40100), CRect(16379, -16370, 16380, -100)},
        {CWindow(7, 7, 7, 7), CRect(7, -7, 8, -6)},
    };
    for (const Case& c : cases) {
        CArticle a;
        a.Item(new CBoxItem(c.box));
        CRect r = a.CalcClientExtents(&dc);
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<LONG>{c.expected.left, c.expected.top, c.expected.right,
                                     c.expected.bottom}));
    }
}

// Drawing into a view and hit testing ----------------------------------------------------------

namespace {

class ArticleViewTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        Place(CSize(100, 100), CSize(1, -1), 0, 280); // 100 units a pixel, origin bottom-left
        root = page->RootArticle();
        for (int i = 0; i < 3; ++i)
            boxes.push_back(AddHitBox(root, CWindow(i * 10000, 0, i * 10000 + 5000, 5000)));
        root->InvExtents(1);
    }
    int Draws(CArticle* a) { return static_cast<CHitBoxItem*>(a->GetItem())->draws; }
    void Paint() {
        view->Invalidate(FALSE);
        view->SendMessage(WM_PAINT);
    }
    CArticle* root = nullptr;
    std::vector<CArticle*> boxes;
};

TEST_F(ArticleViewTest, AKeyPressStopsThePaintAndDefersTheRest) {
    PostMessageW(view->m_hWnd, WM_KEYDOWN, 'A', 0);
    Paint();
    for (CArticle* b : boxes)
        EXPECT_EQ(Draws(b), 0);
    CRgn* rest = view->DeferredPaintRegion();
    ASSERT_TRUE(rest && rest->m_hObject);
    CRect box;
    rest->GetRgnBox(&box);
    // The root's client rectangle grown by one at right and bottom, within the update region.
    EXPECT_EQ(box, CRect(0, 230, 251, 281));
    EXPECT_EQ(platform::PostedMessageCount(), 1); // the key stays for its owner
    // At idle the rest becomes part of the update region.
    ValidateRect(view->m_hWnd, nullptr);
    view->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    CRect update;
    EXPECT_TRUE(GetUpdateRect(view->m_hWnd, &update, FALSE));
    EXPECT_EQ(update, CRect(0, 230, 251, 281));
    // Handed over once: the next idle has nothing more to repaint.
    rest->GetRgnBox(&box);
    EXPECT_TRUE(box.IsRectEmpty());
    platform::ResetMessageQueue();
}

TEST_F(ArticleViewTest, MouseMovesAreServedDuringThePaintWhichGoesOn) {
    PostMessageW(view->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    PostMessageW(view->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(11, 10));
    Paint();
    EXPECT_EQ(view->mouseMoves, 2);
    for (CArticle* b : boxes)
        EXPECT_EQ(Draws(b), 1);
    EXPECT_EQ(platform::PostedMessageCount(), 0);
}

TEST_F(ArticleViewTest, HiddenChildrenAreNotDrawnAndInactiveItemsNotHit) {
    boxes[1]->SetProperty(0x20, false); // hidden
    Paint();
    EXPECT_EQ(Draws(boxes[0]), 1);
    EXPECT_EQ(Draws(boxes[1]), 0);
    EXPECT_EQ(Draws(boxes[2]), 1);
    boxes[2]->GetItem()->SetProperty(0x08); // inactive
    CArticleList list;
    EXPECT_EQ(root->HitTest(view, CPoint(225, 255), list), nullptr);
}

TEST_F(ArticleViewTest, HitTestsCollectTheChildrenOrTestTheOwnItemOnly) {
    // Two children overlap at data (12000, 2000).
    CArticle* over = AddHitBox(root, CWindow(11000, 1000, 14000, 4000));
    root->InvExtents(1);
    CPoint pt(120, 260);
    CArticleList list;
    EXPECT_EQ(root->HitTest(view, pt, list), boxes[1]);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetTail(), over);
    EXPECT_EQ(root->HitTest(view, pt), nullptr); // asks only children, which have none
    int index = 0;
    EXPECT_EQ(boxes[1]->HitTest(view, pt, index), boxes[1]);
    EXPECT_EQ(index, 7);
    // A group without an item never looks at its children in the index form.
    EXPECT_EQ(root->HitTest(view, pt, index), nullptr);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(root->HitTest(view, CPoint(380, 10), list), nullptr);
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
