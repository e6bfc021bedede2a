// CColour: one entry of a colour palette with its cached pastel, shade and grey. Stored raw
// as eight little-endian 32-bit words in this field order, so the layout is part of the file
// format.
#pragma once

#include "platform/core/types.h"

#include <cstdint>

class CColour {
public:
    CColour() { Reset(); }
    explicit CColour(COLORREF c) : m_colour(c), m_bColourSet(1) {}

    void Reset() { m_bColourSet = m_bPastelValid = m_bShadeValid = m_bGreyValid = 0; }

    COLORREF GetColour() const { return m_colour; }
    COLORREF GetPastelColour() const { return m_pastel; }
    COLORREF GetShadeColour() const { return m_shade; }
    COLORREF GetGreyColour() const { return m_grey; }

    static COLORREF Pastel(COLORREF c);
    static COLORREF Shade(COLORREF c);
    static COLORREF Grey(COLORREF c);

    COLORREF m_colour = 0;
    COLORREF m_pastel = 0;
    COLORREF m_shade = 0;
    COLORREF m_grey = 0;
    int32_t m_bColourSet = 0;
    int32_t m_bPastelValid = 0;
    int32_t m_bShadeValid = 0;
    int32_t m_bGreyValid = 0;
};

static_assert(sizeof(CColour) == 32, "CColour is stored as 32 raw bytes");
