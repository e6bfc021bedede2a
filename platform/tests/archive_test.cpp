#include "platform/core/archive.h"
#include "platform/core/array_archive.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CSample : public CObject {
    DECLARE_SERIAL(CSample)
public:
    int32_t m_value = 0;
    CSample* m_next = nullptr; // owned
    ~CSample() override { delete m_next; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value << m_next;
        } else {
            ar >> m_value;
            m_next = ar.ReadObjectAs<CSample>();
        }
    }
};
IMPLEMENT_SERIAL(CSample, CObject, 0)

class COther : public CObject {
    DECLARE_SERIAL(COther)
};
IMPLEMENT_SERIAL(COther, CObject, 0)

std::vector<BYTE> Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Detach();
}

template <class F> void Load(const std::vector<BYTE>& bytes, F read) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

int ArchiveCause(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read) {
    try {
        Load(bytes, read);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

} // namespace

TEST(ArchiveStrings, UnicodeFormAndLengthPrefixes) {
    EXPECT_EQ(Store([](CArchive& ar) { ar << CString(L"abc"); }),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0x03, 0x61, 0x00, 0x62, 0x00, 0x63, 0x00}));
    auto long255 = Store([](CArchive& ar) { ar << CString(L'x', 255); });
    ASSERT_EQ(long255.size(), 3u + 3u + 510u);
    EXPECT_EQ(std::vector<BYTE>(long255.begin(), long255.begin() + 6),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    auto huge = Store([](CArchive& ar) { ar << CString(L'y', 70000); });
    EXPECT_EQ(std::vector<BYTE>(huge.begin(), huge.begin() + 10),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    for (const CString& s :
         {CString(L""), CString(L'x', 255), CString(L'y', 70000), CString(L"\u00e9\U0001F600z")}) {
        CString back;
        Load(Store([&](CArchive& ar) { ar << s; }), [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back, s);
    }
}

TEST(ArchiveStrings, SingleByteFormIsAccepted) {
    CString s;
    Load({0x03, 'a', 0xE9, 'c'}, [&](CArchive& ar) { ar >> s; });
    EXPECT_EQ(s, L"a\u00e9c");
}

TEST(ArchiveObjects, ReferenceFormNumbersClassesAndObjects) {
    auto first = std::make_unique<CSample>();
    first->m_value = 7;
    first->m_next = new CSample;
    first->m_next->m_value = 8;
    auto bytes = Store([&](CArchive& ar) { ar << static_cast<CObject*>(first.get()); });
    // new class "CSample" (number 1), object (2) 7, then class reference 0x8001, object (3) 8, null
    std::vector<BYTE> expected = {0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C',  'S',  'a',
                                  'm',  'p',  'l',  'e',  0x07, 0x00, 0x00, 0x00, 0x01,
                                  0x80, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);

    std::unique_ptr<CSample> back;
    Load(bytes, [&](CArchive& ar) { back.reset(ar.ReadObjectAs<CSample>()); });
    ASSERT_TRUE(back && back->m_next);
    EXPECT_EQ(back->m_value, 7);
    EXPECT_EQ(back->m_next->m_value, 8);
    EXPECT_EQ(back->m_next->m_next, nullptr);
}

TEST(ArchiveObjects, DamagedStreamsRaiseTheArchiveException) {
    const std::vector<BYTE> good = {0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C',  'S',  'a', 'm',
                                    'p',  'l',  'e',  0x07, 0x00, 0x00, 0x00, 0x00, 0x00};
    auto readSample = [](CArchive& ar) { delete ar.ReadObjectAs<CSample>(); };
    auto readOther = [](CArchive& ar) { delete ar.ReadObjectAs<COther>(); };
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        std::function<void(CArchive&)> read;
        int cause;
    } cases[] = {
        {"unknown class",
         {0xFF, 0xFF, 0x00, 0x00, 0x03, 0x00, 'C', 'Z', 'Z'},
         readSample,
         CArchiveException::badClass},
        {"class of another kind", good, readOther, CArchiveException::badClass},
        {"wrong schema",
         {0xFF, 0xFF, 0x05, 0x00, 0x07, 0x00, 'C', 'S', 'a', 'm', 'p', 'l', 'e'},
         readSample,
         CArchiveException::badSchema},
        {"class name too long",
         {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF},
         readSample,
         CArchiveException::badClass},
        {"reference to an unknown class", {0x05, 0x80}, readSample, CArchiveException::badIndex},
        {"reference to an earlier object",
         {0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C', 'S', 'a', 'm', 'p', 'l', 'e', 0x07, 0x00, 0x00,
          0x00, 0x02, 0x00},
         readSample,
         CArchiveException::badIndex},
        {"string longer than the stream",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         [](CArchive& ar) {
             CString s;
             ar >> s;
         },
         CArchiveException::endOfFile},
        {"count larger than the stream",
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10},
         [](CArchive& ar) { ar.ReadCount(2); },
         CArchiveException::endOfFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArchiveCause(c.bytes, c.read), c.cause) << c.name;
    // Cut short anywhere.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(ArchiveCause(std::vector<BYTE>(good.begin(), good.begin() + n), readSample),
                  CArchiveException::endOfFile)
            << "cut at " << n;
}

TEST(ArchiveObjects, NestingBeyondTheLimitIsRefused) {
    // A chain deeper than the limit: each link is a class reference and a value.
    std::vector<BYTE> bytes = {0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C', 'S', 'a',
                               'm',  'p',  'l',  'e',  1,    0,    0,   0};
    for (int i = 0; i < CArchive::kMaxObjectDepth + 5; ++i)
        bytes.insert(bytes.end(), {0x01, 0x80, 1, 0, 0, 0});
    EXPECT_EQ(ArchiveCause(bytes, [](CArchive& ar) { delete ar.ReadObjectAs<CSample>(); }),
              CArchiveException::badIndex);
}

TEST(ArchiveModes, WritingWhileLoadingIsReadOnly) {
    EXPECT_EQ(ArchiveCause({0}, [](CArchive& ar) { ar << int32_t(1); }),
              CArchiveException::readOnly);
}

TEST(ArchiveObjects, ClassesAreCreatedByName) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(L"CSample"));
    ASSERT_TRUE(obj);
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CSample)));
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(obj->IsKindOf(RUNTIME_CLASS(COther)));
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
}

TEST(ArchiveArrays, CountsAndElementsRoundTrip) {
    CStringArray names;
    names.Add(CString(L"a"));
    names.Add(CString(L"bc"));
    auto bytes = Store([&](CArchive& ar) { StoreStringArray(ar, names); });
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x02, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0, 0xFF, 0xFE,
                                        0xFF, 0x02, 'b', 0, 'c', 0}));
    CStringArray back;
    Load(bytes, [&](CArchive& ar) { LoadStringArray(ar, back); });
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back[1], L"bc");

    CSample a, b;
    a.m_value = 1;
    b.m_value = 2;
    CObArray objects;
    objects.Add(&a);
    objects.Add(&b);
    objects.Add(nullptr);
    bytes = Store([&](CArchive& ar) { StoreObArray(ar, objects); });
    CObArray loaded;
    Load(bytes, [&](CArchive& ar) { LoadObArray(ar, loaded, RUNTIME_CLASS(CSample)); });
    ASSERT_EQ(loaded.GetSize(), 3);
    EXPECT_EQ(static_cast<CSample*>(loaded[1])->m_value, 2);
    EXPECT_EQ(loaded[2], nullptr);
    for (INT_PTR i = 0; i < loaded.GetSize(); ++i)
        delete loaded[i];

    // Cut short after the first element: the element read is freed again.
    bytes.resize(bytes.size() - 4);
    CObArray partial;
    EXPECT_THROW(
        Load(bytes, [&](CArchive& ar) { LoadObArray(ar, partial, RUNTIME_CLASS(CSample)); }),
        CArchiveException);
    EXPECT_EQ(partial.GetSize(), 0);
    // A huge count is refused before anything is read.
    EXPECT_THROW(Load({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                      [&](CArchive& ar) { LoadStringArray(ar, back); }),
                 CArchiveException);
}

TEST(ArchiveObjects, NonOwningReferencesMayPointBackToLiveObjects) {
    CSample a;
    a.m_value = 5;
    auto bytes = Store([&](CArchive& ar) {
        ar << static_cast<CObject*>(&a);
        ar << static_cast<CObject*>(&a); // the second time as a back reference
    });
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CSample> first(ar.ReadObjectAs<CSample>());
        CObject* again = ar.ReadObjectReference(RUNTIME_CLASS(CSample));
        EXPECT_EQ(again, first.get());
    });
    // Refused where the reader would own it, for another class, and once the object is gone.
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CSample> first(ar.ReadObjectAs<CSample>());
        EXPECT_THROW(ar.ReadObjectAs<CSample>(), CArchiveException);
    });
    Load(bytes, [](CArchive& ar) {
        std::unique_ptr<CSample> first(ar.ReadObjectAs<CSample>());
        EXPECT_THROW(ar.ReadObjectReference(RUNTIME_CLASS(COther)), CArchiveException);
    });
    Load(bytes, [](CArchive& ar) {
        delete ar.ReadObjectAs<CSample>();
        EXPECT_THROW(ar.ReadObjectReference(RUNTIME_CLASS(CSample)), CArchiveException);
    });
}
