#include "pivora/colour_palette.h"

#include "platform/graphics/gdi_objects.h"

#include "design_fixture.h"

#include "platform/core/mem_file.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

class ColourPaletteTest : public DesignTest {
protected:
    void SetGreyScale(int steps) { QvSetAppParam(L"Default Grey Scale ", steps); }
};

std::unique_ptr<CColourPalette> LoadObject(const std::vector<BYTE>& bytes) {
    return std::unique_ptr<CColourPalette>(LoadObjectAs<CColourPalette>(bytes));
}

TEST(Colour, DerivedColours) {
    struct Case {
        const char* name;
        COLORREF (*fn)(COLORREF);
        COLORREF in, out;
    } cases[] = {
        {"pastel of black", CColour::Pastel, 0x000000, 0x9F9F9F},
        {"pastel of white", CColour::Pastel, 0xFFFFFF, 0xE6E6E6},
        // 247 + 8 / 1.6f stays below 252: the single-precision divisor.
        {"pastel single precision", CColour::Pastel, RGB(247, 0, 0), RGB(251, 159, 159)},
        {"shade of white", CColour::Shade, 0xFFFFFF, 0xAAAAAA},
        {"shade of black", CColour::Shade, 0x000000, 0x2A2A2A},
        {"shade of mid red", CColour::Shade, RGB(200, 30, 0), RGB(134, 20, 0)},
        {"grey of red", CColour::Grey, 0x0000FF, 0x555555},
        {"grey of mixed", CColour::Grey, RGB(10, 20, 31), 0x141414},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(c.in), c.out) << c.name;
}

TEST_F(ColourPaletteTest, InitialContentFollowsTheGreyScaleParameter) {
    {
        CColourPalette p;
        ASSERT_EQ(p.ColourCount(), 16);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(p.GetRGBColour(i), CColourPalette::g_DefaultColourPalette[i]) << i;
        EXPECT_EQ(p.Id(), 1);
    }
    {
        CColourPalette p(20);
        ASSERT_EQ(p.ColourCount(), 20);
        EXPECT_EQ(p.GetRGBColour(6), 0x00FFFFu);
        for (int i = 16; i < 20; ++i)
            EXPECT_EQ(p.GetRGBColour(i), 0u);
    }
    SetGreyScale(8);
    {
        CColourPalette p;
        ASSERT_EQ(p.ColourCount(), 17);
        EXPECT_EQ(p.GetRGBColour(1), 0x111111u);
        EXPECT_EQ(p.GetRGBColour(15), 0xFFFFFFu);
        EXPECT_EQ(p.GetRGBColour(16), 0u);
        EXPECT_EQ(CColourPalette::GetCurrentGreyCount(&p), 15);
    }
    SetGreyScale(64);
    {
        CColourPalette p;
        ASSERT_EQ(p.ColourCount(), 65);
        EXPECT_EQ(p.GetRGBColour(1), 0x040404u);
        EXPECT_EQ(p.GetRGBColour(64), 0xFFFFFFu);
        EXPECT_EQ(CColourPalette::GetCurrentGreyCount(&p), 64);
    }
    SetGreyScale(1000); // capped at 256 steps
    {
        CColourPalette p;
        EXPECT_EQ(p.ColourCount(), 257);
        EXPECT_EQ(p.GetRGBColour(256), 0xFFFFFFu);
    }
}

TEST_F(ColourPaletteTest, GettersAtAndPastTheEnd) {
    CColourPalette p;
    EXPECT_EQ(p.GetColour(100), p.GetColour(15));
    EXPECT_EQ(p.GetShadeColour(16), 0x808080u);
    EXPECT_EQ(p.GetPastelColour(16), 0u);
    EXPECT_EQ(p.GetPastelColour(0), 0x9F9F9Fu); // computed and cached
    EXPECT_THROW(p.GetColour(-1), CInvalidArgException);
    EXPECT_THROW(p.GetRGBColour(16), CInvalidArgException);
    EXPECT_THROW(p.GetGreyColour(16), CInvalidArgException);
    EXPECT_THROW(p.SetColour(-1, 0), CInvalidArgException);
    EXPECT_THROW(p.RemoveAt(16), CInvalidArgException);

    CColourPalette empty(0);
    EXPECT_EQ(empty.ColourCount(), 0);
    EXPECT_EQ(empty.GetColour(3), 0u);
    EXPECT_EQ(empty.FindNearestColour(0xFFFFFF), -1);
}

TEST_F(ColourPaletteTest, SettersGrowAndRecomputeValidDerivedColours) {
    CColourPalette p;
    p.GetShadeColour(1); // makes the shade of entry 1 valid
    p.SetColour(1, 0xFFFFFF);
    EXPECT_EQ(p.GetShadeColour(1), 0xAAAAAAu);

    p.SetColour(19, 0x123456);
    ASSERT_EQ(p.ColourCount(), 20);
    EXPECT_EQ(p.GetRGBColour(17), 0u);
    p.SetGreyColour(24, 0x777777);
    ASSERT_EQ(p.ColourCount(), 25);
    EXPECT_EQ(p.GetGreyColour(24), 0x777777u);

    EXPECT_EQ(p.AddColour(0x010203), 25);
    p.Swap(0, 25);
    EXPECT_EQ(p.GetRGBColour(0), 0x010203u);
    p.Swap(0, 99); // nothing
    EXPECT_EQ(p.GetRGBColour(0), 0x010203u);
    p.RemoveAt(0);
    EXPECT_EQ(p.ColourCount(), 25);
    EXPECT_EQ(p.GetRGBColour(0), 0xFFFFFFu);
}

TEST_F(ColourPaletteTest, GrowByAddsRandomColoursAndShrinks) {
    CColourPalette p;
    EXPECT_EQ(p.GrowBy(3), 16);
    EXPECT_EQ(p.ColourCount(), 19);
    EXPECT_EQ(p.GrowBy(-5), 19);
    EXPECT_EQ(p.ColourCount(), 14);
    EXPECT_EQ(p.Resize(2), 14);
    EXPECT_EQ(p.ColourCount(), 2);
    EXPECT_EQ(p.GrowBy(-10), 2);
    EXPECT_EQ(p.ColourCount(), 0);
}

TEST_F(ColourPaletteTest, NearestColourAndTextColour) {
    CColourPalette p;
    p.SetColour(2, 0x000010);
    p.SetColour(3, 0x000010);
    EXPECT_EQ(p.FindNearestColour(0x000012, 1, -1), 2); // equal distances keep the lower index
    EXPECT_EQ(p.FindNearestColour(0x0000F0), 1);
    EXPECT_EQ(p.FindNearestColour(0x0000F0, 2, 3), 2);

    COLORREF text = 0x000000;
    EXPECT_FALSE(CColourPalette::CalculateTextColour(0xFFFFFF, text));
    EXPECT_EQ(text, 0x000000u);
    text = 0x909090;
    EXPECT_TRUE(CColourPalette::CalculateTextColour(0x808080, text));
    EXPECT_EQ(text, 0x7F7F7Fu);
    EXPECT_EQ(CColourPalette::ColourBrightness(0xFFFFFF), 255);
    EXPECT_EQ(CColourPalette::ColourDiference(0x0A0B0C, 0x0C0B0A), 4);
}

TEST_F(ColourPaletteTest, StoredEntriesAreEightRawWords) {
    CColourPalette p(0);
    p.AddColour(0x0000FF);
    p.GetGreyColour(0);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    p.Serialize(ar);
    ar.Close();
    auto bytes = file.Detach();
    // After the base group (id 1, "Default"): field 0 with count 1 and one 32-byte entry.
    const std::vector<BYTE> own = {
        0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0x01, 0x00, //
        0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, // colour, pastel, shade
        0x55, 0x55, 0x55, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00,                         // grey, set, pastel ok
        0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // shade ok, grey ok
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    ASSERT_GE(bytes.size(), own.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - own.size(), bytes.end()), own);
}

TEST_F(ColourPaletteTest, RoundTripKeepsEntriesAndFlags) {
    CColourPalette p;
    p.SetPastelColour(3, 0x112233);
    p.GetShadeColour(4);
    p.AddColour(0xABCDEF);
    auto back = LoadObject(StoreObject(&p));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->ColourCount(), 17);
    EXPECT_EQ(back->GetPastelColour(3), 0x112233u);
    EXPECT_EQ(back->GetRGBColour(16), 0xABCDEFu);
    EXPECT_EQ(StoreObject(back.get()), StoreObject(&p));

    std::unique_ptr<CColourPalette> copy(p.Copy());
    EXPECT_EQ(copy->GetDocument(), nullptr);
    EXPECT_EQ(StoreObject(copy.get()), StoreObject(&p));
}

TEST_F(ColourPaletteTest, DamagedColourCountIsRefused) {
    CColourPalette p(1);
    auto bytes = StoreObject(&p);
    // The colour count sits 32 bytes + the end field before the end.
    size_t countAt = bytes.size() - 6 - 32 - 2;
    bytes[countAt] = 0x40; // 64 entries announced, one stored
    EXPECT_THROW(LoadObject(bytes), CArchiveException);
}

TEST_F(ColourPaletteTest, LogicalPaletteFillsTo235) {
    CColourPalette p;
    const auto& entries = p.GetPaletteEntries();
    // 16 entries + 0xD0D0D0 + 16 defaults (two counts each, up to 48) + cube until 235.
    ASSERT_EQ(entries.size(), size_t(16 + 1 + 16 + (235 - 48)));
    EXPECT_EQ(entries[16], 0xD0D0D0u);
    EXPECT_EQ(entries[17], CColourPalette::g_DefaultColourPalette[0]);
    EXPECT_EQ(entries[33], 0x000000u);
    EXPECT_EQ(entries[34], RGB(0, 0, 50));
    EXPECT_FALSE(p.IsStale());
    p.GetPastelColour(0);
    EXPECT_TRUE(p.IsStale());
    EXPECT_EQ(p.GetPaletteEntries().size(), size_t(16 + 1 + 1 + 16 + (235 - 48)));
}

TEST_F(ColourPaletteTest, DrawingPaletteHoldsTheLogicalColoursAndFollowsChanges) {
    CColourPalette p;
    CPalette* pal = p.GetPalette();
    ASSERT_NE(pal, nullptr);
    const std::vector<COLORREF> expected = p.GetPaletteEntries();
    ASSERT_EQ(pal->GetEntryCount(), int(expected.size()));
    std::vector<PALETTEENTRY> got(expected.size());
    ASSERT_EQ(pal->GetPaletteEntries(0, UINT(got.size()), got.data()), UINT(got.size()));
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(RGB(got[i].peRed, got[i].peGreen, got[i].peBlue), expected[i]) << i;
    EXPECT_EQ(p.GetPalette(), pal); // not stale: the same palette
    p.GetPastelColour(0);           // a derived colour appears: rebuilt with one more entry
    ASSERT_EQ(p.GetPalette(), pal);
    EXPECT_EQ(pal->GetEntryCount(), int(expected.size()) + 1);
}

TEST_F(ColourPaletteTest, CustomGreyPaletteTables) {
    int n = 10;
    const COLORREF* t = CColourPalette::GetCustomGreyPalette(n);
    EXPECT_EQ(n, 17);
    EXPECT_EQ(t, CColourPalette::g_DefaultGreyPalette);
    n = 64;
    t = CColourPalette::GetCustomGreyPalette(n);
    EXPECT_EQ(n, 64);
    EXPECT_EQ(t[1], 0x040404u);
    EXPECT_EQ(t[64], 0xFFFFFFu);
}

TEST_F(ColourPaletteTest, GTPaletteFileIsReadOncePerProcess) {
    {
        std::ofstream out(m_box.Path("program/GTPalette.txt"), std::ios::binary);
        out << "R:255 G:0 B:0\r\n";
        out << "colour R: 1, G:2, B:3\n";
        out << "R:10 G:20\n";     // no B: ignored
        out << "B:7 G:8 R:300\n"; // any order; 300 keeps its low 8 bits
        out << "nothing here\n";
        for (int i = 0; i < 1000; ++i) // only 900 colours are kept
            out << "R:" << i % 256 << " G:0 B:0\n";
    }
    int n = 0;
    const COLORREF* t = CColourPalette::GetCustomGTColourPalette(n);
    EXPECT_EQ(n, 901);
    EXPECT_EQ(t[0], RGB(255, 0, 0));
    EXPECT_EQ(t[1], RGB(1, 2, 3));
    EXPECT_EQ(t[2], RGB(300 & 0xFF, 8, 7));
    EXPECT_EQ(t[3], RGB(0, 0, 0));
    EXPECT_EQ(t[899], RGB(896 % 256, 0, 0));
    // A changed file is not read again.
    std::remove(m_box.Path("program/GTPalette.txt").c_str());
    CColourPalette::GetCustomGTColourPalette(n);
    EXPECT_EQ(n, 901);
}

} // namespace
