// CVectorStyle: one entry of the vector style table: the colour-palette entry a line style
// draws with, and flags that live only while the program runs.
#pragma once

#include "platform/core/object.h"

class CVectorStyle : public CObject {
    DECLARE_SERIAL(CVectorStyle)
public:
    static constexpr WORD kRecPaletteIndex = 0;
    // Run-time flag: the style is spoken for and is never offered as unused.
    static constexpr int kRTFlagReserved = 1;

    CVectorStyle() = default;
    explicit CVectorStyle(int index) : m_nPaletteIndex(index) {}
    CVectorStyle(const CVectorStyle& other) : CObject() { *this = other; }
    CVectorStyle& operator=(const CVectorStyle& other) {
        m_nPaletteIndex = other.m_nPaletteIndex;
        m_nRTFlags = other.m_nRTFlags;
        return *this;
    }

    void fnInitialise(int index) {
        m_nPaletteIndex = index;
        m_nRTFlags = 0;
    }
    // The colour-palette entry the style draws with.
    int fnGetColPalIdx() const { return m_nPaletteIndex; }
    void fnSetColPalIdx(int index) { m_nPaletteIndex = index; }
    int fnGetRTFlags() const { return m_nRTFlags; }
    void fnSetRTFlags(int flags) { m_nRTFlags = flags; }

    void Serialize(CArchive& ar) override;

private:
    int32_t m_nPaletteIndex = 0;
    int32_t m_nRTFlags = 0;
};
