#include "platform/core/collections.h"

#include "platform/core/object.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

template <class LIST> std::vector<int> Forward(const LIST& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}

template <class LIST> std::vector<int> Backward(const LIST& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(list.GetPrev(pos));
    return out;
}

// Both directions must agree, or a link was left dangling.
template <class LIST> void ExpectList(const LIST& list, const std::vector<int>& expected) {
    EXPECT_EQ(Forward(list), expected);
    std::vector<int> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(Backward(list), reversed);
    EXPECT_EQ(list.GetCount(), INT_PTR(expected.size()));
    EXPECT_EQ(list.IsEmpty(), expected.empty());
}

CObject* Ob(int i) {
    return reinterpret_cast<CObject*>(uintptr_t(i) * 16);
}

struct Item {
    int id;
};

} // namespace

// ---- lists ---------------------------------------------------------------------------------

TEST(CListTest, AddsAtBothEndsAndWalksBothWays) {
    CList<int, int> list;
    ExpectList(list, {});
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    for (int i = 1; i <= 4; ++i)
        list.AddTail(i);
    list.AddHead(0);
    ExpectList(list, {0, 1, 2, 3, 4});
    EXPECT_EQ(list.GetHead(), 0);
    EXPECT_EQ(list.GetTail(), 4);
    list.GetHead() = 10;
    list.SetAt(list.GetTailPosition(), 40);
    ExpectList(list, {10, 1, 2, 3, 40});
    EXPECT_EQ(list.GetSize(), 5);
}

TEST(CListTest, InsertsBeforeAndAfterPositions) {
    CList<int, int> list;
    POSITION two = list.AddTail(2);
    list.InsertBefore(two, 1);
    list.InsertAfter(two, 3);
    list.InsertBefore(nullptr, 0); // null: at the head
    list.InsertAfter(nullptr, 5);  // null: at the tail
    POSITION four = list.InsertAfter(list.Find(3), 4);
    ExpectList(list, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(list.GetAt(four), 4);
    list.InsertBefore(list.GetHeadPosition(), -1);
    list.InsertAfter(list.GetTailPosition(), 6);
    ExpectList(list, {-1, 0, 1, 2, 3, 4, 5, 6});
}

TEST(CListTest, RemovesHeadTailAndAtPosition) {
    CList<int, int> list;
    for (int i = 0; i < 5; ++i)
        list.AddTail(i);
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 4);
    list.RemoveAt(list.Find(2));
    ExpectList(list, {1, 3});
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    ExpectList(list, {});
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    list.AddTail(7); // still usable after being emptied
    ExpectList(list, {7});
    list.RemoveAll();
    ExpectList(list, {});
}

TEST(CListTest, RemovesWhileIterating) {
    CList<int, int> list;
    for (int i = 0; i < 10; ++i)
        list.AddTail(i);
    // Forward: remember the element's position before GetNext moves on.
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        if (list.GetNext(pos) % 2 == 0)
            list.RemoveAt(current);
    }
    ExpectList(list, {1, 3, 5, 7, 9});
    // Backward, removing the ends as well.
    for (POSITION pos = list.GetTailPosition(); pos;) {
        POSITION current = pos;
        int v = list.GetPrev(pos);
        if (v == 9 || v == 5 || v == 1)
            list.RemoveAt(current);
    }
    ExpectList(list, {3, 7});
}

TEST(CListTest, FindsFromTheHeadOrAfterAPosition) {
    CList<int, int> list;
    for (int v : {1, 2, 1, 3, 1})
        list.AddTail(v);
    std::vector<POSITION> hits;
    for (POSITION pos = list.Find(1); pos; pos = list.Find(1, pos))
        hits.push_back(pos);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0], list.GetHeadPosition());
    EXPECT_EQ(hits[1], list.FindIndex(2));
    EXPECT_EQ(hits[2], list.GetTailPosition());
    EXPECT_EQ(list.Find(9), nullptr);
    EXPECT_EQ(list.Find(2, list.FindIndex(1)), nullptr); // strictly after
}

TEST(CListTest, FindIndexFromEitherEnd) {
    CList<int, int> list;
    for (int i = 0; i < 7; ++i)
        list.AddTail(i * 10);
    for (INT_PTR i = 0; i < 7; ++i) {
        POSITION pos = list.FindIndex(i);
        ASSERT_NE(pos, nullptr) << i;
        EXPECT_EQ(list.GetAt(pos), i * 10);
    }
    for (INT_PTR bad : {INT_PTR(-1), INT_PTR(7), INT_PTR(1) << 40})
        EXPECT_EQ(list.FindIndex(bad), nullptr) << bad;
    CList<int, int> empty;
    EXPECT_EQ(empty.FindIndex(0), nullptr);
}

TEST(CListTest, AddsWholeListsInOrderIncludingItself) {
    CList<int, int> a, b;
    for (int i = 1; i <= 3; ++i)
        a.AddTail(i);
    b.AddTail(8);
    b.AddTail(9);
    a.AddTail(&b);
    ExpectList(a, {1, 2, 3, 8, 9});
    a.AddHead(&b);
    ExpectList(a, {8, 9, 1, 2, 3, 8, 9});
    ExpectList(b, {8, 9});
    b.AddTail(&b);
    ExpectList(b, {8, 9, 8, 9});
    b.AddHead(&b);
    ExpectList(b, {8, 9, 8, 9, 8, 9, 8, 9});
    CList<int, int> empty;
    a.AddTail(&empty);
    a.AddHead(&empty);
    EXPECT_EQ(a.GetCount(), 7);
}

TEST(CListTest, EmptyListsAndNullPositionsRaiseInvalidArg) {
    CList<int, int> list;
    const CList<int, int>& c = list;
    POSITION null = nullptr;
    EXPECT_THROW(list.GetHead(), CInvalidArgException);
    EXPECT_THROW(list.GetTail(), CInvalidArgException);
    EXPECT_THROW(c.GetHead(), CInvalidArgException);
    EXPECT_THROW(c.GetTail(), CInvalidArgException);
    EXPECT_THROW(list.RemoveHead(), CInvalidArgException);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException);
    list.AddTail(1);
    EXPECT_THROW(list.GetNext(null), CInvalidArgException);
    EXPECT_THROW(list.GetPrev(null), CInvalidArgException);
    EXPECT_THROW(c.GetNext(null), CInvalidArgException);
    EXPECT_THROW(list.GetAt(nullptr), CInvalidArgException);
    EXPECT_THROW(c.GetAt(nullptr), CInvalidArgException);
    EXPECT_THROW(list.SetAt(nullptr, 2), CInvalidArgException);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException);
    EXPECT_THROW(list.AddTail(static_cast<CList<int, int>*>(nullptr)), CInvalidArgException);
    ExpectList(list, {1}); // nothing changed by the failed calls
}

TEST(CListTest, StringElementsAreCopiedSafely) {
    CList<CString, const CString&> list;
    list.AddTail(CString(L"alpha"));
    // The argument is an element of the list itself.
    for (int i = 0; i < 3; ++i)
        list.AddHead(list.GetTail());
    list.InsertAfter(list.GetHeadPosition(), list.GetHead());
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.RemoveHead(), CString(L"alpha"));
    EXPECT_EQ(list.RemoveTail(), CString(L"alpha"));
}

TEST(CListTest, HandlesLongListsInLinearTime) {
    // Quadratic adding or walking would make this run for minutes.
    CList<int, int> list;
    const int n = 200000;
    for (int i = 0; i < n; ++i)
        list.AddTail(i);
    long long sum = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        int v = list.GetNext(pos);
        sum += v;
        if (v % 3)
            list.RemoveAt(current);
    }
    EXPECT_EQ(sum, (long long)n * (n - 1) / 2);
    EXPECT_EQ(list.GetCount(), (n + 2) / 3);
    EXPECT_EQ(list.GetTail(), n - 2);
}

TEST(CObListTest, HoldsObjectPointersWithoutOwningThem) {
    CObList list;
    for (int i = 1; i <= 3; ++i)
        list.AddTail(Ob(i));
    EXPECT_EQ(list.Find(Ob(2)), list.FindIndex(1));
    EXPECT_EQ(list.GetHead(), Ob(1));
    CObList other;
    other.AddTail(&list);
    EXPECT_EQ(other.GetCount(), 3);
    EXPECT_EQ(other.RemoveTail(), Ob(3));
    list.RemoveAll(); // pointers are not deleted: Ob() values are not real objects
    EXPECT_TRUE(list.IsEmpty());

    CPtrList ptrs;
    int x = 0;
    ptrs.AddHead(&x);
    EXPECT_EQ(ptrs.GetTail(), &x);
}

TEST(CTypedPtrListTest, HandsOutTheElementType) {
    Item a{1}, b{2}, c{3};
    CTypedPtrList<CPtrList, Item*> list;
    list.AddTail(&b);
    list.AddHead(&a);
    list.InsertAfter(list.GetTailPosition(), &c);
    std::vector<int> ids;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        ids.push_back(list.GetNext(pos)->id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.GetTail()->id, 3);
    list.GetAt(list.FindIndex(1)) = &c; // assign through the reference
    EXPECT_EQ(list.GetAt(list.FindIndex(1))->id, 3);
    EXPECT_EQ(list.Find(&c), list.FindIndex(1));

    CTypedPtrList<CPtrList, Item*> more;
    more.AddTail(&list);
    EXPECT_EQ(more.RemoveHead()->id, 1);
    EXPECT_EQ(more.RemoveTail()->id, 3);
    const auto& constant = list;
    EXPECT_EQ(constant.GetHead()->id, 1);
}

// ---- arrays --------------------------------------------------------------------------------

TEST(CArrayTest, SetSizeZeroFillsGrowsAndShrinks) {
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.GetData(), nullptr);
    a.SetSize(5, 2);
    EXPECT_EQ(a.GetSize(), 5);
    EXPECT_EQ(a.GetCount(), 5);
    EXPECT_EQ(a.GetUpperBound(), 4);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], 0);
    for (int i = 0; i < 5; ++i)
        a[i] = i + 1;
    a.SetSize(2);
    a.SetSize(4); // the regrown elements are zero again, not the old values
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[2], 0);
    EXPECT_EQ(a[3], 0);
    EXPECT_THROW(a.SetSize(-1), CInvalidArgException);
    EXPECT_EQ(a.GetSize(), 4);
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetData()[3], 0);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CArrayTest, ValueInitialisesStructElements) {
    struct Entry {
        int number;
        CString name;
        double value;
    };
    CArray<Entry, Entry&> a;
    a.SetSize(3);
    a.SetAtGrow(6, a[0]);
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        EXPECT_EQ(a[i].number, 0);
        EXPECT_TRUE(a[i].name.IsEmpty());
        EXPECT_EQ(a[i].value, 0.0);
    }
}

TEST(CArrayTest, OutOfBoundsAccessRaisesInvalidArg) {
    CArray<int, int> a;
    a.Add(1);
    a.Add(2);
    const CArray<int, int>& c = a;
    const std::vector<std::pair<const char*, std::function<void(INT_PTR)>>> accessors = {
        {"GetAt", [&](INT_PTR i) { a.GetAt(i); }},
        {"const GetAt", [&](INT_PTR i) { c.GetAt(i); }},
        {"SetAt", [&](INT_PTR i) { a.SetAt(i, 9); }},
        {"ElementAt", [&](INT_PTR i) { a.ElementAt(i); }},
        {"const ElementAt", [&](INT_PTR i) { c.ElementAt(i); }},
        {"operator[]", [&](INT_PTR i) { a[i]; }},
        {"const operator[]", [&](INT_PTR i) { c[i]; }},
    };
    for (const auto& [name, access] : accessors) {
        for (INT_PTR bad : {INT_PTR(-1), INT_PTR(2), INT_PTR(1) << 40})
            EXPECT_THROW(access(bad), CInvalidArgException) << name << " " << bad;
        EXPECT_NO_THROW(access(1)) << name;
    }
    CArray<int, int> empty;
    EXPECT_THROW(empty.GetAt(0), CInvalidArgException);
    EXPECT_THROW(a.SetAtGrow(-1, 0), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(-1, 0), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, 0, -1), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, static_cast<CArray<int, int>*>(nullptr)), CInvalidArgException);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[1], 9); // SetAt(1, 9) above
}

TEST(CArrayTest, RemoveAtChecksTheWholeRange) {
    struct Case {
        INT_PTR index, count;
        bool valid;
        std::vector<int> after;
    };
    const Case cases[] = {
        {0, 1, true, {1, 2, 3, 4}},
        {4, 1, true, {0, 1, 2, 3}},
        {1, 3, true, {0, 4}},
        {0, 5, true, {}},
        {2, 0, true, {0, 1, 2, 3, 4}},
        {5, 0, true, {0, 1, 2, 3, 4}},
        {5, 1, false, {}},
        {-1, 1, false, {}},
        {3, 3, false, {}},
        {0, -1, false, {}},
        {1, INT_PTR(PTRDIFF_MAX), false, {}},
    };
    for (const Case& k : cases) {
        CArray<int, int> a;
        for (int i = 0; i < 5; ++i)
            a.Add(i);
        if (!k.valid) {
            EXPECT_THROW(a.RemoveAt(k.index, k.count), CInvalidArgException)
                << k.index << "," << k.count;
            EXPECT_EQ(a.GetSize(), 5);
            continue;
        }
        a.RemoveAt(k.index, k.count);
        std::vector<int> got(a.GetData(), a.GetData() + a.GetSize());
        EXPECT_EQ(got, k.after) << k.index << "," << k.count;
    }
}

TEST(CArrayTest, InsertsElementsAndArrays) {
    CArray<int, int> a;
    for (int i = 0; i < 3; ++i)
        a.Add(i); // 0 1 2
    a.InsertAt(1, 7, 2);
    EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()),
              (std::vector<int>{0, 7, 7, 1, 2}));
    a.InsertAt(7, 5); // past the end: padded with zeros
    EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()),
              (std::vector<int>{0, 7, 7, 1, 2, 0, 0, 5}));
    CArray<int, int> b;
    b.Add(-1);
    b.Add(-2);
    a.InsertAt(0, &b);
    a.RemoveAt(4, 6);
    EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()),
              (std::vector<int>{-1, -2, 0, 7}));
    a.InsertAt(1, &a); // itself
    EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()),
              (std::vector<int>{-1, -1, -2, 0, 7, -2, 0, 7}));
    a.InsertAt(0, 3, 0); // nothing
    EXPECT_EQ(a.GetSize(), 8);
}

TEST(CArrayTest, AppendAndCopyIncludingItself) {
    CStringArray a, b;
    a.Add(L"one");
    a.Add(L"two");
    b.Add(L"three");
    EXPECT_EQ(a.Append(b), 2);
    EXPECT_EQ(a.Append(a), 3);
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[5], CString(L"three"));
    EXPECT_EQ(a[3], CString(L"one"));
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 6);
    EXPECT_EQ(b[2], CString(L"three"));
    b.Copy(b);
    EXPECT_EQ(b.GetSize(), 6);
    CStringArray empty;
    EXPECT_EQ(b.Append(empty), 6);
    b.Copy(empty);
    EXPECT_TRUE(b.IsEmpty());
}

TEST(CArrayTest, AddingAnElementOfTheSameArrayWhileItGrows) {
    // The argument refers into the block that growing frees.
    CStringArray a;
    a.Add(CString(L"a fairly long string that lives on the heap"));
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]);
    for (int i = 0; i < 20; ++i)
        a.InsertAt(0, a[a.GetUpperBound()], 3);
    a.SetAtGrow(a.GetSize() + 10, a[1]);
    EXPECT_EQ(a.GetSize(), 101 + 60 + 11);
    EXPECT_EQ(a[0], a[a.GetUpperBound()]);
    EXPECT_TRUE(a[a.GetUpperBound() - 1].IsEmpty());
}

TEST(CArrayTest, SetAtGrowAndManyAddsAfterASmallGrowBy) {
    CArray<int, int> a;
    a.SetSize(0, 1); // a grow-by of one must not make adding quadratic
    for (int i = 0; i < 300000; ++i)
        EXPECT_EQ(a.Add(i), i);
    EXPECT_EQ(a.GetSize(), 300000);
    EXPECT_EQ(a[299999], 299999);
    a.SetAtGrow(1, 42);
    EXPECT_EQ(a[1], 42);
}

TEST(CArrayTest, ImpossibleSizesRaiseMemoryErrors) {
    CArray<int, int> a;
    a.SetSize(0, INT_PTR(PTRDIFF_MAX)); // an absurd grow-by still lets small arrays grow
    a.Add(1);
    a.Add(2);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_THROW(a.SetSize(INT_PTR(PTRDIFF_MAX / 2)), CMemoryException);
    EXPECT_THROW(a.InsertAt(1, 0, INT_PTR(PTRDIFF_MAX)), CMemoryException);
    EXPECT_THROW(a.SetAtGrow(INT_PTR(PTRDIFF_MAX), 0), CMemoryException);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[1], 2);
}

TEST(CFixedArraysTest, ThinInstancesKeepTheirElementTypes) {
    CUIntArray u;
    u.Add(0xFFFFFFFFu);
    EXPECT_EQ(u[0], 0xFFFFFFFFu);
    CDWordArray d;
    d.SetSize(2);
    d[1] = 0x12345678u;
    EXPECT_EQ(d.GetAt(1), 0x12345678u);
    CWordArray w;
    w.Add(WORD(0xFFFF));
    EXPECT_EQ(w[0], 0xFFFF);
    CByteArray bytes;
    bytes.SetSize(3);
    bytes[2] = 0xAB;
    EXPECT_EQ(bytes.GetData()[2], 0xAB);
    EXPECT_EQ(bytes.GetData()[0], 0);
    CObArray obs;
    obs.Add(Ob(1));
    obs.InsertAt(0, Ob(2));
    EXPECT_EQ(obs[1], Ob(1));
    CPtrArray ptrs;
    ptrs.SetAtGrow(2, &ptrs);
    EXPECT_EQ(ptrs[0], nullptr);
    EXPECT_EQ(ptrs[2], &ptrs);
    static_assert(sizeof(CUIntArray().GetAt(0)) == 4 && sizeof(CWordArray().GetAt(0)) == 2);
}

TEST(CTypedPtrArrayTest, HandsOutTheElementType) {
    Item a{1}, b{2}, c{3};
    CTypedPtrArray<CPtrArray, Item*> arr;
    arr.Add(&a);
    arr.Add(&c);
    arr.InsertAt(1, &b);
    EXPECT_EQ(arr.GetAt(1)->id, 2);
    EXPECT_EQ(arr[2]->id, 3);
    arr[0] = &c;
    arr.ElementAt(2) = &a;
    EXPECT_EQ(arr.GetData()[0]->id, 3);
    EXPECT_EQ(arr.GetData()[2]->id, 1);
    CTypedPtrArray<CPtrArray, Item*> copy;
    copy.Copy(arr);
    EXPECT_EQ(copy.Append(arr), 3);
    EXPECT_EQ(copy.GetSize(), 6);
    EXPECT_THROW(copy.GetAt(6), CInvalidArgException);
    const auto& constant = copy;
    EXPECT_EQ(constant[5]->id, 1);
}

// ---- typed collections of objects ---------------------------------------------------------

// Inline code that sees only a declaration of the element class must compile, as it does
// against the class library.
class Shape;
static Shape* FirstShape(const CTypedPtrArray<CObArray, Shape*>& shapes) {
    return shapes.GetAt(0);
}
static Shape* LastShape(const CTypedPtrList<CObList, Shape*>& shapes) {
    return shapes.GetTail();
}
static void AddShape(CTypedPtrArray<CObArray, Shape*>& shapes, Shape* shape) {
    shapes.Add(shape);
}

class Shape : public CObject {
public:
    explicit Shape(int n) : id(n) {}
    int id;
};

// CObject is not the first base here, so every conversion that hands out a value has to move
// the pointer.
struct Tag {
    virtual ~Tag() = default;
    int tag = 7;
};
class TaggedShape : public Tag, public CObject {
public:
    explicit TaggedShape(int n) : id(n) {}
    int id;
};

TEST(CTypedObCollectionsTest, WorkWithDeclaredOnlyClasses) {
    Shape a(1), b(2);
    CTypedPtrArray<CObArray, Shape*> arr;
    AddShape(arr, &a);
    AddShape(arr, &b);
    EXPECT_EQ(FirstShape(arr), &a);
    CObArray& base = arr;
    EXPECT_EQ(base[1], static_cast<CObject*>(&b));
    CTypedPtrList<CObList, Shape*> list;
    list.AddTail(&a);
    list.AddTail(&b);
    EXPECT_EQ(LastShape(list)->id, 2);
}

TEST(CTypedObCollectionsTest, ConvertPointersOfClassesWithSeveralBases) {
    TaggedShape a(1), b(2);
    ASSERT_NE(static_cast<void*>(static_cast<CObject*>(&a)), static_cast<void*>(&a));
    CTypedPtrArray<CObArray, TaggedShape*> arr;
    arr.Add(&a);
    arr.InsertAt(0, &b);
    arr.SetAtGrow(2, &a);
    EXPECT_EQ(arr.GetAt(0), &b);
    EXPECT_EQ(std::as_const(arr)[1], &a); // the reference forms need CObject first
    EXPECT_EQ(arr.GetAt(2)->tag, 7);
    CTypedPtrList<CObList, TaggedShape*> list;
    list.AddTail(&a);
    list.AddHead(&b);
    list.InsertAfter(list.GetHeadPosition(), &a);
    EXPECT_EQ(list.RemoveHead()->id, 2);
    EXPECT_EQ(std::as_const(list).GetHead(), &a);
    EXPECT_EQ(list.RemoveTail()->id, 1);
    CTypedPtrMap<CMapStringToOb, CString, TaggedShape*> map;
    map.SetAt(L"b", &b);
    TaggedShape* found = nullptr;
    EXPECT_TRUE(map.Lookup(L"b", found));
    EXPECT_EQ(found, &b);
    POSITION pos = map.GetStartPosition();
    CString key;
    map.GetNextAssoc(pos, key, found);
    EXPECT_EQ(found->id, 2);
}

// ---- maps ----------------------------------------------------------------------------------

TEST(CMapTest, SetsLooksUpAndRemovesKeys) {
    CMap<UINT, UINT, UINT, UINT> map;
    UINT value = 77;
    EXPECT_FALSE(map.Lookup(1, value));
    EXPECT_EQ(value, 77u); // untouched when missing
    EXPECT_FALSE(map.RemoveKey(1));
    map.SetAt(1, 10);
    map.SetAt(273, 180); // shares a bucket with 1
    map[2] = 20;
    EXPECT_EQ(map[3], 0u); // operator[] adds a zero value
    map.SetAt(1, 11);
    EXPECT_EQ(map.GetCount(), 4);
    EXPECT_EQ(map.GetSize(), 4);
    ASSERT_TRUE(map.Lookup(1, value));
    EXPECT_EQ(value, 11u);
    EXPECT_TRUE(map.RemoveKey(1));
    EXPECT_FALSE(map.Lookup(1, value));
    EXPECT_TRUE(map.Lookup(273, value));
    EXPECT_EQ(value, 180u);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map[5] = 5; // usable after RemoveAll
    EXPECT_EQ(map.GetCount(), 1);
}

TEST(CMapTest, WalksEveryEntryOnceAndAllowsRemovingTheCurrentOne) {
    CMap<int, int, int, int> map;
    for (int k = -500; k < 500; ++k)
        map[k * 7] = k;
    std::set<int> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        int key, value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value * 7);
        EXPECT_TRUE(seen.insert(key).second) << "visited twice: " << key;
        if (value % 2)
            map.RemoveKey(key);
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_EQ(map.GetCount(), 500);
    for (int k = -500; k < 500; ++k) {
        int value;
        EXPECT_EQ(bool(map.Lookup(k * 7, value)), k % 2 == 0) << k;
    }
}

TEST(CMapTest, WalkOrderDependsOnlyOnKeysAndInsertionOrder) {
    auto walk = [](const std::vector<UINT>& keys, UINT tableSize) {
        CMap<UINT, UINT, UINT, UINT> map;
        if (tableSize)
            map.InitHashTable(tableSize);
        for (UINT k : keys)
            map[k] = k;
        std::vector<UINT> order;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            UINT k, v;
            map.GetNextAssoc(pos, k, v);
            order.push_back(k);
        }
        return order;
    };
    std::vector<UINT> keys;
    for (UINT k = 0; k < 300; ++k)
        keys.push_back(k * 37 % 1001);
    EXPECT_EQ(walk(keys, 0), walk(keys, 0));
    EXPECT_EQ(walk(keys, 17), walk(keys, 0));
    EXPECT_EQ(walk(keys, 1009).size(), keys.size());
}

TEST(CMapTest, InitHashTableKeepsExistingEntries) {
    CMap<UINT, UINT, UINT, UINT> map;
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    for (UINT k = 0; k < 5000; ++k)
        map[k] = k * 2;
    map.InitHashTable(4099);
    EXPECT_EQ(map.GetHashTableSize(), 4099u);
    EXPECT_EQ(map.GetCount(), 5000);
    for (UINT k = 0; k < 5000; k += 7) {
        UINT v = 0;
        ASSERT_TRUE(map.Lookup(k, v)) << k;
        EXPECT_EQ(v, k * 2);
    }
    EXPECT_THROW(map.InitHashTable(0), CInvalidArgException);
}

TEST(CMapTest, BadPositionsRaiseInvalidArg) {
    CMap<UINT, UINT, UINT, UINT> map;
    UINT k, v;
    POSITION pos = nullptr;
    EXPECT_THROW(map.GetNextAssoc(pos, k, v), CInvalidArgException);
    pos = BEFORE_START_POSITION; // a start position of a map emptied since
    EXPECT_THROW(map.GetNextAssoc(pos, k, v), CInvalidArgException);
}

TEST(CMapTest, WideIntegerAndPointerKeys) {
    CMap<long, long, int, int> ids;
    ids[-1] = 1;
    ids[1L << 40] = 2;
    ids[(1L << 40) + 16] = 3;
    int v;
    EXPECT_TRUE(ids.Lookup(-1, v) && v == 1);
    EXPECT_TRUE(ids.Lookup(1L << 40, v) && v == 2);
    EXPECT_TRUE(ids.Lookup((1L << 40) + 16, v) && v == 3);
    EXPECT_FALSE(ids.Lookup(0, v));

    CMapPtrToPtr ptrs;
    int a, b;
    ptrs[&a] = &b;
    void* out = nullptr;
    EXPECT_TRUE(ptrs.Lookup(&a, out));
    EXPECT_EQ(out, &b);
    CMapWordToPtr words;
    words.SetAt(0xFFFF, &a);
    EXPECT_TRUE(words.Lookup(0xFFFF, out));
    EXPECT_EQ(out, &a);
}

TEST(CMapStringTest, StringKeysAreExactAndCaseSensitive) {
    CMapStringToString map;
    map.SetAt(L"Cutter", L"one");
    map[L"cutter"] = L"two";
    map.SetAt(L"", L"empty key");
    CString value;
    EXPECT_TRUE(map.Lookup(L"Cutter", value));
    EXPECT_EQ(value, CString(L"one"));
    EXPECT_TRUE(map.Lookup(L"cutter", value));
    EXPECT_EQ(value, CString(L"two"));
    EXPECT_TRUE(map.Lookup(L"", value));
    EXPECT_EQ(value, CString(L"empty key"));
    EXPECT_FALSE(map.Lookup(L"CUTTER", value));
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_TRUE(map.RemoveKey(L"Cutter"));
    EXPECT_FALSE(map.RemoveKey(L"Cutter"));
    std::set<std::wstring> keys;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString k, v;
        map.GetNextAssoc(pos, k, v);
        keys.insert(k.str());
    }
    EXPECT_EQ(keys, (std::set<std::wstring>{L"", L"cutter"}));

    CMapStringToOb obs;
    obs[L"x"] = Ob(3);
    CObject* ob = nullptr;
    EXPECT_TRUE(obs.Lookup(L"x", ob));
    EXPECT_EQ(ob, Ob(3));
}

TEST(CTypedPtrMapTest, HandsOutTheKeyAndValueTypes) {
    Item a{1}, b{2};
    CTypedPtrMap<CMapStringToPtr, CString, Item*> byName;
    byName.SetAt(L"a", &a);
    byName[L"b"] = &b;
    Item* found = nullptr;
    EXPECT_TRUE(byName.Lookup(L"b", found));
    EXPECT_EQ(found->id, 2);
    EXPECT_FALSE(byName.Lookup(L"c", found));
    EXPECT_EQ(found, &b); // untouched when missing
    int sum = 0;
    for (POSITION pos = byName.GetStartPosition(); pos;) {
        CString name;
        Item* item;
        byName.GetNextAssoc(pos, name, item);
        sum += item->id;
        EXPECT_EQ(name, CString(item == &a ? L"a" : L"b"));
    }
    EXPECT_EQ(sum, 3);
    EXPECT_TRUE(byName.RemoveKey(L"a"));

    CTypedPtrMap<CMapPtrToPtr, Item*, Item*> links;
    links[&a] = &b;
    POSITION pos = links.GetStartPosition();
    Item *key, *value;
    links.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key, &a);
    EXPECT_EQ(value, &b);
    EXPECT_EQ(pos, nullptr);
}
