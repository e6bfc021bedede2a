#include "pivora/colour_palette.h"

#include "pivora/document/record_fields.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/rand_number.h"

#include "platform/core/file.h"
#include "platform/graphics/gdi_objects.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>

IMPLEMENT_SERIAL(CColourPalette, CParamBlk, 0)

namespace {

constexpr int kPaletteTarget = 235;
constexpr COLORREF kPaletteFill = 0xD0D0D0;
const wchar_t kGreyScaleParam[] = L"Default Grey Scale ";
const wchar_t kGTPaletteFile[] = L"GTPalette.txt";

int Avg(COLORREF c) {
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

template <class F> COLORREF PerChannel(COLORREF c, F f) {
    return RGB(BYTE(f(GetRValue(c))), BYTE(f(GetGValue(c))), BYTE(f(GetBValue(c))));
}

} // namespace

// Derived colours: the pastel divisor is a single-precision 1.6, so 247 becomes 251, not 252.
COLORREF CColour::Pastel(COLORREF c) {
    if (Avg(c) < 192) {
        const double divisor = double(1.6f);
        return PerChannel(c, [&](int ch) { return int(ch + (255 - ch) / divisor); });
    }
    return PerChannel(c, [](int ch) { return ch - int(ch / 10.0); });
}

COLORREF CColour::Shade(COLORREF c) {
    if (Avg(c) < 25)
        return PerChannel(c, [](int ch) { return ch + int((255 - ch) / 6.0); });
    return PerChannel(c, [](int ch) { return ch - int(ch / 3.0); });
}

COLORREF CColour::Grey(COLORREF c) {
    return COLORREF(Avg(c)) * 0x010101u;
}

const COLORREF CColourPalette::g_DefaultColourPalette[kDefaultColourCount] = {
    0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xC0C0C0,
    0x000080, 0x008000, 0x800000, 0x808000, 0x800080, 0x008080, 0x808080, 0x000000};
const COLORREF CColourPalette::g_DefaultGreyPalette[17] = {
    0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888,
    0x999999, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF, 0x000000};
COLORREF CColourPalette::g_CustomGreyPalette[kMaxCustomGreySteps + 1] = {};
int CColourPalette::g_CustomGreyPaletteSize = -1;
COLORREF CColourPalette::g_CustomColourPalette[kMaxGTColours] = {};
int CColourPalette::g_customGTColourSize = -1;
int CColourPalette::g_CustomColourPaletteSize = -1;

CColourPalette::CColourPalette() : CColourPalette(kDefaultColourCount) {}

CColourPalette::CColourPalette(int n) : CParamBlk(kColourPaletteId) {
    InitColourPalette(n);
}

CColourPalette::~CColourPalette() = default;

void CColourPalette::InitColourPalette(int n) {
    int scale = QvGetAppParam(kGreyScaleParam, 0);
    m_colours.RemoveAll();
    if (n >= 0) {
        if (scale >= 32) {
            CreateCustomGreyPalette(scale);
            int k = std::min(scale, kMaxCustomGreySteps);
            for (int i = 0; i <= k; ++i)
                AddColour(g_CustomGreyPalette[i]);
        } else if (scale >= 1) {
            if (n <= 16)
                n = 17;
            for (int i = 0; i < std::min(n, 17); ++i)
                AddColour(g_DefaultGreyPalette[i]);
        } else {
            // A negative scale is no scale at all.
            for (int i = 0; i < std::min(n, kDefaultColourCount); ++i)
                AddColour(g_DefaultColourPalette[i]);
        }
    }
    while (ColourCount() < n)
        AddColour(0x000000);
    m_paletteEntries.clear();
    m_bStale = 1;
}

void CColourPalette::DeleteColourPalette() {
    m_colours.RemoveAll();
    m_bStale = 1;
}

CColour& CColourPalette::Entry(int i) {
    if (i < 0 || i >= ColourCount())
        AfxThrowInvalidArgException();
    return m_colours.ElementAt(i);
}

const CColour& CColourPalette::Entry(int i) const {
    if (i < 0 || i >= ColourCount())
        AfxThrowInvalidArgException();
    return m_colours.ElementAt(i);
}

CColour& CColourPalette::EntryGrow(int i) {
    if (i < 0)
        AfxThrowInvalidArgException();
    if (i >= ColourCount())
        m_colours.SetSize(INT_PTR(i) + 1);
    return m_colours.ElementAt(i);
}

COLORREF CColourPalette::ForDisplay(COLORREF c) {
    return IsPaletteDevice() ? (c | kPaletteRelative) : c;
}

COLORREF CColourPalette::GetColour(int i) const {
    if (ColourCount() == 0)
        return 0;
    if (i < 0)
        AfxThrowInvalidArgException();
    return ForDisplay(Entry(std::min(i, ColourCount() - 1)).m_colour);
}

COLORREF CColourPalette::GetRGBColour(int i) const {
    return Entry(i).m_colour;
}

COLORREF CColourPalette::GetPastelColour(int i) {
    if (i >= ColourCount())
        return 0;
    if (!Entry(i).m_bPastelValid)
        SetPastel(i);
    return ForDisplay(Entry(i).m_pastel);
}

COLORREF CColourPalette::GetShadeColour(int i) {
    if (i >= ColourCount())
        return 0x808080;
    if (!Entry(i).m_bShadeValid)
        SetShade(i);
    return ForDisplay(Entry(i).m_shade);
}

COLORREF CColourPalette::GetGreyColour(int i) {
    if (!Entry(i).m_bGreyValid)
        SetGrey(i);
    return Entry(i).m_grey;
}

void CColourPalette::SetColour(int i, COLORREF c) {
    if (i < 0)
        AfxThrowInvalidArgException();
    if (i >= ColourCount()) {
        EntryGrow(i) = CColour(c);
    } else {
        CColour& e = Entry(i);
        e.m_colour = c;
        if (e.m_bPastelValid)
            e.m_pastel = CColour::Pastel(c);
        if (e.m_bShadeValid)
            e.m_shade = CColour::Shade(c);
        if (e.m_bGreyValid)
            e.m_grey = CColour::Grey(c);
    }
    m_bStale = 1;
}

void CColourPalette::SetPastelColour(int i, COLORREF c) {
    CColour& e = EntryGrow(i);
    e.m_pastel = c;
    e.m_bPastelValid = 1;
    m_bStale = 1;
}

void CColourPalette::SetShadeColour(int i, COLORREF c) {
    CColour& e = EntryGrow(i);
    e.m_shade = c;
    e.m_bShadeValid = 1;
    m_bStale = 1;
}

void CColourPalette::SetGreyColour(int i, COLORREF c) {
    CColour& e = EntryGrow(i);
    e.m_grey = c;
    e.m_bGreyValid = 1;
    m_bStale = 1;
}

void CColourPalette::SetPastel(int i) {
    CColour& e = Entry(i);
    e.m_pastel = CColour::Pastel(e.m_colour);
    e.m_bPastelValid = 1;
    m_bStale = 1;
}

void CColourPalette::SetShade(int i) {
    CColour& e = Entry(i);
    e.m_shade = CColour::Shade(e.m_colour);
    e.m_bShadeValid = 1;
    m_bStale = 1;
}

void CColourPalette::SetGrey(int i) {
    CColour& e = Entry(i);
    e.m_grey = CColour::Grey(e.m_colour);
    e.m_bGreyValid = 1;
    m_bStale = 1;
}

int CColourPalette::AddColour(COLORREF c) {
    CColour e(c);
    m_bStale = 1;
    return int(m_colours.Add(e));
}

int CColourPalette::GrowBy(int n) {
    int old = ColourCount();
    int end = std::max(0, old + n);
    if (n < 0) {
        m_colours.SetSize(end);
    } else if (n > 0) {
        m_colours.SetSize(end);
        for (int i = old; i < end; ++i) {
            int r = get_rand_number(0, 255);
            int g = get_rand_number(0, 255);
            int b = get_rand_number(0, 255);
            SetColour(i, RGB(BYTE(r), BYTE(g), BYTE(b)));
        }
    }
    m_bStale = 1;
    return old;
}

void CColourPalette::RemoveAt(int i) {
    Entry(i);
    m_colours.RemoveAt(i);
    m_bStale = 1;
}

void CColourPalette::Swap(int a, int b) {
    if (a < 0 || b < 0 || a >= ColourCount() || b >= ColourCount())
        return;
    std::swap(m_colours.ElementAt(a), m_colours.ElementAt(b));
    m_bStale = 1;
}

CColourPalette* CColourPalette::Copy() const {
    auto* copy = new CColourPalette;
    copy->m_colours.Copy(m_colours);
    copy->m_bStale = 1;
    return copy;
}

void CColourPalette::CopyColours(const CColourPalette& other) {
    if (&other == this)
        return;
    m_colours.Copy(other.m_colours);
    m_bStale = 1;
}

CPalette* CColourPalette::GetPalette() {
    if (m_pPalette && m_pPalette->GetSafeHandle() && !m_bStale)
        return m_pPalette.get();
    if (!m_pPalette)
        m_pPalette = std::make_unique<CPalette>();
    m_pPalette->DeleteObject();
    const std::vector<COLORREF>& colours = GetPaletteEntries();
    if (colours.empty() || colours.size() > 0xFFFF) {
        m_bStale = 1;
        return nullptr;
    }
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        lp->palPalEntry[i] = {GetRValue(colours[i]), GetGValue(colours[i]), GetBValue(colours[i]),
                              0};
    if (!m_pPalette->CreatePalette(lp)) {
        m_bStale = 1;
        return nullptr;
    }
    return m_pPalette.get();
}

const std::vector<COLORREF>& CColourPalette::GetPaletteEntries() {
    if (!m_bStale)
        return m_paletteEntries;
    std::vector<CColour> work;
    work.reserve(size_t(ColourCount()) + kPaletteTarget);
    for (int i = 0; i < ColourCount(); ++i)
        work.push_back(m_colours.GetAt(i));
    int count = ColourCount();
    if (count < kPaletteTarget)
        work.emplace_back(kPaletteFill); // added once, not counted
    for (int i = 0; i < kDefaultColourCount && count < kPaletteTarget; ++i) {
        work.emplace_back(g_DefaultColourPalette[i]);
        count += 2;
    }
    for (int r = 0; r <= 250 && count < kPaletteTarget; r += 50)
        for (int g = 0; g <= 250 && count < kPaletteTarget; g += 50)
            for (int b = 0; b <= 250 && count < kPaletteTarget; b += 50) {
                work.emplace_back(RGB(BYTE(r), BYTE(g), BYTE(b)));
                ++count;
            }
    m_paletteEntries.clear();
    for (const CColour& e : work) {
        if (e.m_bColourSet)
            m_paletteEntries.push_back(e.m_colour);
        if (e.m_bPastelValid)
            m_paletteEntries.push_back(e.m_pastel);
        if (e.m_bShadeValid)
            m_paletteEntries.push_back(e.m_shade);
        if (e.m_bGreyValid)
            m_paletteEntries.push_back(e.m_grey);
    }
    m_bStale = 0;
    return m_paletteEntries;
}

int CColourPalette::FindNearestColour(COLORREF c, int first, int last) const {
    int count = ColourCount();
    if (count == 0)
        return -1;
    if (first == -1)
        first = 0;
    if (last == -1)
        last = count - 1;
    int best = -1;
    long long bestDistance = 0;
    for (int i = std::max(first, 0); i <= last && i < count; ++i) {
        COLORREF p = GetColour(i);
        long long dr = int(GetRValue(c)) - int(GetRValue(p));
        long long dg = int(GetGValue(c)) - int(GetGValue(p));
        long long db = int(GetBValue(c)) - int(GetBValue(p));
        long long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int CColourPalette::GetCurrentGreyCount(const CColourPalette* palette) {
    if (!palette)
        return 16;
    int greys = 0;
    for (int i = 1; i < palette->ColourCount(); ++i) {
        COLORREF c = palette->GetRGBColour(i);
        if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c))
            break;
        ++greys;
        if (GetRValue(c) == 255)
            break;
    }
    return greys;
}

int CColourPalette::ColourBrightness(COLORREF c) {
    return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000;
}

int CColourPalette::ColourDiference(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

bool CColourPalette::CalculateTextColour(COLORREF background, COLORREF& text) {
    if (std::abs(ColourBrightness(background) - ColourBrightness(text)) >= 125 ||
        ColourDiference(text, background) >= 500)
        return false;
    text = RGB(BYTE(255 - GetRValue(background)), BYTE(255 - GetGValue(background)),
               BYTE(255 - GetBValue(background)));
    return true;
}

void CColourPalette::CreateCustomGreyPalette(int k) {
    if (g_CustomGreyPaletteSize == k + 1)
        return;
    k = std::clamp(k, 1, kMaxCustomGreySteps);
    g_CustomGreyPalette[0] = 0x000000;
    for (int i = 1; i <= k; ++i) {
        COLORREF g = COLORREF(int(double(i) / k * 255 + 0.49) & 0xFF);
        g_CustomGreyPalette[i] = g * 0x010101u;
    }
    g_CustomGreyPaletteSize = k + 1;
}

const COLORREF* CColourPalette::GetCustomGreyPalette(int& n) {
    if (n > 16) {
        CreateCustomGreyPalette(n);
        return g_CustomGreyPalette;
    }
    n = 17;
    return g_DefaultGreyPalette;
}

namespace {

// The decimal number after the first occurrence of tag in line; false when the tag is absent.
bool TaggedValue(const std::string& line, const char* tag, int& value) {
    size_t at = line.find(tag);
    if (at == std::string::npos)
        return false;
    value = std::atoi(line.c_str() + at + 2);
    return true;
}

} // namespace

void CColourPalette::CreateCustomGTColourPalette() {
    if (g_customGTColourSize > 0)
        return;
    int stored = 0;
    CString path;
    QvRuntimePath(kGTPaletteFile, path);
    CFile file;
    if (file.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
        // The file is small text; lines are split on LF, a CR before it is dropped.
        std::string line;
        char buffer[4096];
        bool done = false;
        auto takeLine = [&] {
            int r, g, b;
            if (TaggedValue(line, "R:", r) && TaggedValue(line, "G:", g) &&
                TaggedValue(line, "B:", b))
                g_CustomColourPalette[stored++] =
                    RGB(BYTE(r & 0xFF), BYTE(g & 0xFF), BYTE(b & 0xFF));
            line.clear();
            done = stored >= kMaxGTColours;
        };
        try {
            UINT got;
            while (!done && (got = file.Read(buffer, sizeof buffer)) > 0) {
                for (UINT i = 0; i < got && !done; ++i) {
                    if (buffer[i] == '\n')
                        takeLine();
                    else if (line.size() < 4096)
                        line += buffer[i];
                }
            }
            if (!done && !line.empty())
                takeLine();
        } catch (const CFileException&) {
            // What was read so far stays.
        }
    }
    g_customGTColourSize = stored + 1;
}

const COLORREF* CColourPalette::GetCustomGTColourPalette(int& n) {
    CreateCustomGTColourPalette();
    n = g_customGTColourSize;
    return g_CustomColourPalette;
}

int CColourPalette::IsPaletteDevice() {
    // Displays here are true-colour; the palette-relative forms never apply.
    return 0;
}

void CColourPalette::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        DWORD pos = rec.StartStore(WORD(kRecColours));
        ar.WriteCount(DWORD_PTR(m_colours.GetSize()));
        for (INT_PTR i = 0; i < m_colours.GetSize(); ++i) {
            const CColour& e = m_colours.GetAt(i);
            ar << uint32_t(e.m_colour) << uint32_t(e.m_pastel) << uint32_t(e.m_shade)
               << uint32_t(e.m_grey) << e.m_bColourSet << e.m_bPastelValid << e.m_bShadeValid
               << e.m_bGreyValid;
        }
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        if (id != kRecColours)
            return false;
        CArray<CColour, CColour&> colours;
        record_fields::LoadSized(rec, len, [&] {
            DWORD_PTR count = ar.ReadCount(sizeof(CColour));
            colours.SetSize(INT_PTR(count));
            for (DWORD_PTR i = 0; i < count; ++i) {
                CColour& e = colours.ElementAt(INT_PTR(i));
                uint32_t words[8];
                for (uint32_t& w : words)
                    ar >> w;
                e.m_colour = words[0];
                e.m_pastel = words[1];
                e.m_shade = words[2];
                e.m_grey = words[3];
                e.m_bColourSet = int32_t(words[4]);
                e.m_bPastelValid = int32_t(words[5]);
                e.m_bShadeValid = int32_t(words[6]);
                e.m_bGreyValid = int32_t(words[7]);
            }
        });
        m_colours.Copy(colours);
        m_bStale = 1;
        return true;
    });
}
