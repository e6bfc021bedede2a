#include "pivora/rec_archive.h"
#include "pivora/tree.h"

#include "platform/core/mem_file.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

// A node with a small group of its own, as the document classes write after the links.
class CTestNode : public CTree {
    DECLARE_SERIAL(CTestNode)
public:
    CTestNode() = default;
    explicit CTestNode(int32_t v) : m_value(v) {}
    int32_t m_value = 0;
    void Serialize(CArchive& ar) override {
        CTree::Serialize(ar);
        CRecArchive rec(ar);
        if (rec.IsStoring()) {
            rec.StoreField(0, m_value);
            rec.StoreEndRec();
            return;
        }
        WORD id;
        DWORD len;
        while (rec.LoadFieldID(id, len)) {
            if (id == 0)
                rec >> m_value;
            else
                rec.SkipField(len);
        }
    }
    CObject* CopyObject(CObject* obj) override {
        auto* copy = obj ? static_cast<CTestNode*>(obj) : new CTestNode;
        copy->m_value = m_value;
        return copy;
    }
};
IMPLEMENT_SERIAL(CTestNode, CTree, 0)

int32_t Value(CTree* t) {
    return t ? static_cast<CTestNode*>(t)->m_value : -1;
}

std::vector<BYTE> StoreRow(CTree* first) {
    return StoreObject(first);
}

CTree* LoadRow(const std::vector<BYTE>& bytes) {
    return LoadObjectAs<CTree>(bytes);
}

void DeleteRow(CTree* first) {
    CTree::DeleteRow(first);
}

struct RowDeleter {
    void operator()(CTree* t) const { DeleteRow(t); }
};
using RowPtr = std::unique_ptr<CTree, RowDeleter>;

// Pre-order listing of values with their depth, to compare whole trees.
void Describe(CTree* t, int depth, std::vector<std::pair<int, int>>& out) {
    for (; t; t = t->GetRsibling()) {
        out.emplace_back(depth, Value(t));
        Describe(t->GetFirstChild(), depth + 1, out);
    }
}

// Every node's last child is the end of its row of children.
bool LastChildrenHold(CTree* t) {
    for (; t; t = t->GetRsibling()) {
        CTree* first = t->GetFirstChild();
        if (t->GetLastChild() != (first ? first->Rightmost() : nullptr))
            return false;
        if (!LastChildrenHold(first))
            return false;
    }
    return true;
}

} // namespace

TEST(TreeEdit, EveryEditKeepsTheLastChild) {
    CTestNode root(0);
    std::vector<CTree*> nodes;
    for (int i = 1; i <= 12; ++i) {
        nodes.push_back(new CTestNode(i));
        root.AddChild(nodes.back());
    }
    using Edit = void (CTree::*)(CTree*);
    const std::pair<const char*, Edit> edits[] = {
        {"AddChild", &CTree::AddChild},
        {"Add1stChild", &CTree::Add1stChild},
        {"AddLsibling", &CTree::AddLsibling},
        {"AddRsibling", &CTree::AddRsibling},
        {"InsertLsibling", &CTree::InsertLsibling},
        {"InsertRsibling", &CTree::InsertRsibling},
    };
    std::mt19937 rng(11);
    std::uniform_int_distribution<size_t> pick(0, nodes.size() - 1);
    std::uniform_int_distribution<size_t> pickEdit(0, std::size(edits));
    for (int step = 0; step < 3000; ++step) {
        CTree* a = nodes[pick(rng)];
        CTree* b = nodes[pick(rng)];
        const size_t e = pickEdit(rng);
        if (e == std::size(edits)) {
            a->Detach(); // moved off the tree, then back at the root's front or end
            if (step % 2)
                root.AddChild(a);
            else
                root.Add1stChild(a);
        } else {
            (a->*edits[e].second)(b);
        }
        // A node left without a parent by a sibling edit on a row of roots goes back.
        for (CTree* n : nodes)
            if (!n->IsChildOf(&root))
                root.AddChild(n->Leftmost());
        ASSERT_TRUE(LastChildrenHold(&root))
            << "after " << (e < std::size(edits) ? edits[e].first : "Detach") << " at " << step;
    }
    // Appending after all those edits still lands at the end.
    auto* tail = new CTestNode(99);
    root.AddChild(tail);
    EXPECT_EQ(root.GetFirstChild()->Rightmost(), tail);
}

TEST(TreeEdit, AddAndInsertKeepTheRowConsistent) {
    CTestNode root(0);
    auto* a = new CTestNode(1);
    auto* b = new CTestNode(2);
    auto* c = new CTestNode(3);
    root.AddChild(a);
    root.AddChild(b);
    a->AddChild(c);

    root.AddChild(c); // a grandchild already below: nothing happens
    EXPECT_EQ(c->GetParent(), a);
    root.AddChild(&root); // itself: nothing happens
    EXPECT_EQ(root.GetParent(), nullptr);
    c->AddChild(&root); // an ancestor: refused, no cycle
    EXPECT_EQ(c->GetFirstChild(), nullptr);

    auto* d = new CTestNode(4);
    a->InsertLsibling(d); // on the first child: d becomes first
    EXPECT_EQ(root.GetFirstChild(), d);
    EXPECT_EQ(d->GetRsibling(), a);
    EXPECT_EQ(a->GetLsibling(), d);
    EXPECT_EQ(d->GetParent(), &root);

    d->Detach(); // first child with a right sibling: the sibling becomes first
    EXPECT_EQ(root.GetFirstChild(), a);
    EXPECT_EQ(a->GetLsibling(), nullptr);
    delete d;

    auto* e = new CTestNode(5);
    b->AddLsibling(e);
    EXPECT_EQ(root.GetFirstChild(), e);
    EXPECT_EQ(b->Leftmost(), e);
    EXPECT_EQ(e->Rightmost(), b);
    EXPECT_EQ(c->Top(), &root);
    EXPECT_TRUE(root.IsParentOf(c));
    EXPECT_TRUE(c->IsChildOf(&root));
    EXPECT_FALSE(b->IsParentOf(c));
}

TEST(TreeWalk, TraverseStopsAndPrunes) {
    CTestNode root(0);
    auto* a = new CTestNode(1);
    root.AddChild(a);
    a->AddChild(new CTestNode(2));
    root.AddChild(new CTestNode(3));
    root.AddChild(new CTestNode(4));

    std::vector<int> seen;
    auto record = [](CTree* t, void* data) {
        static_cast<std::vector<int>*>(data)->push_back(Value(t));
        return 0;
    };
    EXPECT_EQ(root.Traverse(record, 0, &seen), 0);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));

    seen.clear();
    auto prune = [](CTree* t, void* data) {
        static_cast<std::vector<int>*>(data)->push_back(Value(t));
        return 2;
    };
    EXPECT_EQ(root.Traverse(prune, 0, &seen), 0);
    EXPECT_EQ(seen, (std::vector<int>{0}));

    seen.clear();
    auto stopAtThird = [](CTree* t, void* data) {
        auto* v = static_cast<std::vector<int>*>(data);
        v->push_back(Value(t));
        return v->size() == 3 ? 1 : 0;
    };
    EXPECT_EQ(root.Traverse(stopAtThird, 0, &seen), 1);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
}

TEST(TreeCopy, CopyTreeObjectCopiesEveryChildInOrder) {
    CTestNode root(0);
    for (int i = 1; i <= 3; ++i) {
        auto* n = new CTestNode(i);
        root.AddChild(n);
        n->AddChild(new CTestNode(10 * i));
    }
    std::unique_ptr<CTree> copy(root.CopyTreeObject());
    std::vector<std::pair<int, int>> a, b;
    Describe(&root, 0, a);
    Describe(copy.get(), 0, b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(copy->GetFirstChild()->GetParent(), copy.get());
}

TEST(TreeStore, GoldenBytesOfOneNodeWithAChild) {
    CTestNode root(7);
    root.AddChild(new CTestNode(8));
    const std::vector<BYTE> expected = {
        0xFF,
        0xFF,
        0x00,
        0x00,
        0x09,
        0x00,
        'C',
        'T',
        'e',
        's',
        't',
        'N',
        'o',
        'd',
        'e', // class, number 1
        // root (number 2): first child = new object of class 1 (number 3)
        0x01,
        0x80,
        0x00,
        0x00, // child's first child: null
        0x00,
        0x00, // child's right sibling: null
        0x00,
        0x00,
        0x04,
        0x00,
        0x00,
        0x00,
        8,
        0,
        0,
        0, // child's group: field 0 = 8
        0xFE,
        0xFE,
        0x00,
        0x00,
        0x00,
        0x00, // child's end field
        0x00,
        0x00, // root's right sibling: null
        0x00,
        0x00,
        0x04,
        0x00,
        0x00,
        0x00,
        7,
        0,
        0,
        0, // root's group
        0xFE,
        0xFE,
        0x00,
        0x00,
        0x00,
        0x00,
    };
    EXPECT_EQ(StoreRow(&root), expected);
}

TEST(TreeStore, RowOfRootsRoundTripsWithLinksRebuilt) {
    RowPtr first(new CTestNode(1));
    auto* second = new CTestNode(2);
    auto* third = new CTestNode(3);
    first->AddRsibling(second);
    first->AddRsibling(third);
    second->AddChild(new CTestNode(21));
    second->AddChild(new CTestNode(22));
    second->GetFirstChild()->AddChild(new CTestNode(211));

    auto bytes = StoreRow(first.get());
    RowPtr back(LoadRow(bytes));
    std::vector<std::pair<int, int>> a, b;
    Describe(first.get(), 0, a);
    Describe(back.get(), 0, b);
    EXPECT_EQ(a, b);
    CTree* s2 = back->GetRsibling();
    CTree* s3 = s2->GetRsibling();
    EXPECT_EQ(s2->GetLsibling(), back.get());
    EXPECT_EQ(s3->GetLsibling(), s2);
    EXPECT_EQ(s2->GetParent(), nullptr);
    CTree* c22 = s2->GetFirstChild()->GetRsibling();
    EXPECT_EQ(c22->GetParent(), s2);
    EXPECT_EQ(c22->GetLsibling(), s2->GetFirstChild());
    EXPECT_EQ(s2->GetFirstChild()->GetFirstChild()->GetParent(), s2->GetFirstChild());
    EXPECT_TRUE(LastChildrenHold(back.get()));
    back->BuildLinks();
    EXPECT_TRUE(LastChildrenHold(back.get()));
    // Storing what was loaded gives the same bytes.
    EXPECT_EQ(StoreRow(back.get()), bytes);
}

TEST(TreeStore, LongSiblingRowNeedsNoDeepRecursion) {
    // Far more siblings than the stack could hold frames for.
    constexpr int kCount = 200000;
    CTestNode parent(0);
    CTree* last = nullptr;
    for (int i = 1; i <= kCount; ++i) {
        auto* n = new CTestNode(i);
        if (last)
            last->InsertRsibling(n);
        else
            parent.AddChild(n);
        last = n;
    }
    auto bytes = StoreRow(&parent);
    std::unique_ptr<CTree> back(LoadRow(bytes));
    int count = 0, expected = 1;
    bool inOrder = true;
    for (CTree* c = back->GetFirstChild(); c; c = c->GetRsibling(), ++count)
        inOrder = inOrder && Value(c) == expected++ && c->GetParent() == back.get();
    EXPECT_EQ(count, kCount);
    EXPECT_TRUE(inOrder);
}

TEST(TreeStore, NestingDeeperThanTheLimitIsRefusedOnSaveAndLoad) {
    CTestNode root(0);
    CTree* tip = &root;
    for (int i = 0; i < CArchive::kMaxObjectDepth + 10; ++i) {
        auto* n = new CTestNode(i);
        tip->AddChild(n);
        tip = n;
    }
    EXPECT_THROW(StoreRow(&root), CArchiveException);
}

TEST(TreeLoad, DamagedStreamsFailCleanly) {
    RowPtr first(new CTestNode(1));
    first->AddRsibling(new CTestNode(2));
    first->GetRsibling()->AddChild(new CTestNode(3));
    first->AddRsibling(new CTestNode(4));
    auto bytes = StoreRow(first.get());
    // Cut short anywhere: the archive exception, and nothing leaks (LeakSanitizer checks).
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_THROW(DeleteRow(LoadRow(cut)), CArchiveException) << "cut at " << n;
    }
    // Every single byte flipped: either it loads or it fails with the archive exception.
    for (size_t i = 0; i < bytes.size(); ++i) {
        auto damaged = bytes;
        damaged[i] ^= 0x5A;
        try {
            DeleteRow(LoadRow(damaged));
        } catch (const CArchiveException&) {
        }
    }
}

TEST(TreeStore, ObjectFieldLengthCoversTheNestedGroup) {
    CTestNode item(9);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CRecArchive rec(ar);
        rec.StoreField(4, static_cast<CObject*>(&item));
        rec.StoreEndRec();
        ar.Close();
    }
    auto bytes = file.Detach();
    // id 4, then the length of: class header (15) + two null links (4) + group (10 + 6)
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 4);
    DWORD len = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | DWORD(bytes[5]) << 24;
    EXPECT_EQ(len, 15u + 4u + 16u);
    EXPECT_EQ(bytes.size(), 6u + len + 6u);
    // The nested group's own end field sits just before the outer one.
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - 12, bytes.end()),
              (std::vector<BYTE>{0xFE, 0xFE, 0, 0, 0, 0, 0xFE, 0xFE, 0, 0, 0, 0}));

    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CRecArchive rec(ar);
    WORD id;
    ASSERT_TRUE(rec.LoadFieldID(id, len));
    std::unique_ptr<CTestNode> back(rec.LoadObject<CTestNode>());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_value, 9);
    EXPECT_FALSE(rec.LoadFieldID(id, len));
}
