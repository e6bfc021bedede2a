// CColourPalette: the page's colour table (block id 1). Each entry carries derived pastel,
// shade and grey colours for fills and greyed display; the table can start as a grey scale
// chosen by the "Default Grey Scale " parameter.
#pragma once

#include "pivora/colour.h"
#include "pivora/param_blk.h"

#include "platform/core/array.h"

#include <memory>
#include <vector>

class CPalette;

class CColourPalette : public CParamBlk {
    DECLARE_SERIAL(CColourPalette)
public:
    enum { kRecColours = 0 };
    static constexpr int kDefaultColourCount = 16;
    static constexpr int kMaxCustomGreySteps = 256;
    static constexpr int kMaxGTColours = 900;
    // Set on colours handed out for palette displays.
    static constexpr COLORREF kPaletteRelative = 0x02000000;

    CColourPalette();
    explicit CColourPalette(int n);
    ~CColourPalette() override;

    int ColourCount() const { return int(m_colours.GetSize()); }
    // 0 for an empty palette; an index past the end is taken as the last entry.
    COLORREF GetColour(int i) const;
    COLORREF GetRGBColour(int i) const;
    // 0 when i is not below the count.
    COLORREF GetPastelColour(int i);
    // 0x808080 when i is not below the count.
    COLORREF GetShadeColour(int i);
    COLORREF GetGreyColour(int i);

    void SetColour(int i, COLORREF c);
    void SetPastelColour(int i, COLORREF c);
    void SetShadeColour(int i, COLORREF c);
    void SetGreyColour(int i, COLORREF c);
    void SetPastel(int i);
    void SetShade(int i);
    void SetGrey(int i);
    int AddColour(COLORREF c);
    // Returns the old count; new entries get random colours.
    int GrowBy(int n);
    int Resize(int n) { return GrowBy(n - ColourCount()); }
    void RemoveAt(int i);
    void Swap(int a, int b);
    // A new palette (the caller owns it) holding copies of all entries.
    CColourPalette* Copy() const;
    // Takes every entry of other (an undo puts a saved palette back this way).
    void CopyColours(const CColourPalette& other);

    // The logical palette that views select on palette displays, as the colours in order:
    // every entry's set and valid colours, then fill colours up to 235 entries. Rebuilt when
    // the colours changed since the last call.
    const std::vector<COLORREF>& GetPaletteEntries();
    // The same colours as a drawing palette, rebuilt when stale; null when it cannot be built
    // (the next call tries again).
    CPalette* GetPalette();
    bool IsStale() const { return m_bStale != 0; }

    int FindNearestColour(COLORREF c, int first = -1, int last = -1) const;

    static int GetCurrentGreyCount(CJoxPage* page);
    // The same count for one palette (16 for none).
    static int GetCurrentGreyCount(const CColourPalette* palette);
    static int ColourBrightness(COLORREF c);
    static int ColourDiference(COLORREF a, COLORREF b);
    static bool CalculateTextColour(COLORREF background, COLORREF& text);
    static const COLORREF* GetCustomGreyPalette(int& n);
    static const COLORREF* GetCustomGTColourPalette(int& n);
    static int IsPaletteDevice();

    void Serialize(CArchive& ar) override;

    static const COLORREF g_DefaultColourPalette[kDefaultColourCount];
    static const COLORREF g_DefaultGreyPalette[17];
    static COLORREF g_CustomGreyPalette[kMaxCustomGreySteps + 1];
    static int g_CustomGreyPaletteSize;
    static COLORREF g_CustomColourPalette[kMaxGTColours];
    static int g_customGTColourSize;
    static int g_CustomColourPaletteSize;

protected:
    void InitColourPalette(int n);
    void DeleteColourPalette();
    static void CreateCustomGreyPalette(int k);
    static void CreateCustomGTColourPalette();

private:
    CColour& Entry(int i);
    const CColour& Entry(int i) const;
    // Grows the array with empty entries so that i is valid; negative indices raise.
    CColour& EntryGrow(int i);
    static COLORREF ForDisplay(COLORREF c);

    int m_bStale = 1;
    CArray<CColour, CColour&> m_colours;
    std::vector<COLORREF> m_paletteEntries;
    std::unique_ptr<CPalette> m_pPalette;
};
