#include "pivora/rec_archive.h"

#include "platform/core/mem_file.h"
#include "platform/core/time.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::vector<BYTE> Store(const std::function<void(CRecArchive&)>& write) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    CRecArchive rec(ar);
    write(rec);
    ar.Close();
    return file.Detach();
}

template <class F> void Load(const std::vector<BYTE>& bytes, F read) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CRecArchive rec(ar);
    read(rec);
}

// A group with fields 0 (int), 1 (string), 2 (double), 3 (rectangle), as a class level writes it.
struct Group {
    int32_t number = -1;
    CString text = L"default";
    double real = 0.5;
    CRect rect;
    void Read(CRecArchive& rec) {
        WORD id;
        DWORD len;
        while (rec.LoadFieldID(id, len)) {
            switch (id) {
            case 0:
                rec >> number;
                break;
            case 1:
                rec >> text;
                break;
            case 2:
                rec >> real;
                break;
            case 3:
                rec >> rect;
                break;
            default:
                rec.SkipField(len);
            }
        }
    }
};

} // namespace

TEST(RecArchiveFormat, GoldenBytes) {
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreEndRec(); }),
              (std::vector<BYTE>{0xFE, 0xFE, 0, 0, 0, 0}));
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreField(1, CString(L"abc")); }),
              (std::vector<BYTE>{0x01, 0x00, 0x0A, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x03, 0x61,
                                 0x00, 0x62, 0x00, 0x63, 0x00}));
    auto s255 = Store([](CRecArchive& r) { r.StoreField(1, CString(L'z', 255)); });
    EXPECT_EQ(std::vector<BYTE>(s255.begin(), s255.begin() + 12),
              (std::vector<BYTE>{0x01, 0x00, 0x04, 0x02, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF,
                                 0x00}));
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreField(3, CRect(1, -2, 3, 4)); }),
              (std::vector<BYTE>{3,    0,    16,   0, 0, 0, 1, 0, 0, 0, 0xFE,
                                 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreField(4, CTime(int64_t(0x123456789))); }),
              (std::vector<BYTE>{4, 0, 4, 0, 0, 0, 0x89, 0x67, 0x45, 0x23}));
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreField(5, WORD(0xBEEF)); }),
              (std::vector<BYTE>{5, 0, 2, 0, 0, 0, 0xEF, 0xBE}));
    EXPECT_EQ(Store([](CRecArchive& r) { r.StoreField(6, 1.0); }),
              (std::vector<BYTE>{6, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST(RecArchiveLoad, EmptyGroupKeepsDefaults) {
    Group g;
    Load({0xFE, 0xFE, 0, 0, 0, 0}, [&](CRecArchive& r) { g.Read(r); });
    EXPECT_EQ(g.number, -1);
    EXPECT_EQ(g.text, L"default");
}

TEST(RecArchiveLoad, UnknownFieldIsSkippedAndLastValueWins) {
    auto bytes = Store([](CRecArchive& r) {
        r.StoreField(0, int32_t(41));
        BYTE unknown[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        r.StoreRecord(0x0042, unknown, sizeof unknown);
        r.StoreField(1, CString(L"kept"));
        r.StoreField(0, int32_t(42));
        r.StoreEndRec();
    });
    Group g;
    Load(bytes, [&](CRecArchive& r) { g.Read(r); });
    EXPECT_EQ(g.number, 42);
    EXPECT_EQ(g.text, L"kept");
}

TEST(RecArchiveLoad, DamagedGroupsRaiseTheArchiveException) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"unknown field announcing 4 GiB", {0x42, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}},
        {"rectangle cut short", {3, 0, 16, 0, 0, 0, 1, 0, 0, 0, 2, 0}},
        {"no end field", {0, 0, 4, 0, 0, 0, 1, 0, 0, 0}},
        {"string longer than the field", {1, 0, 6, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x50, 0x61, 0x00}},
    };
    for (const auto& c : cases) {
        Group g;
        EXPECT_THROW(Load(c.bytes, [&](CRecArchive& r) { g.Read(r); }), CArchiveException)
            << c.name;
    }
}

TEST(RecArchiveStore, WritingToALoadingArchiveIsReadOnly) {
    try {
        Load({0}, [](CRecArchive& r) { r.StoreEndRec(); });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    }
}
