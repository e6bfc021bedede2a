// CDrawLinePalette: the old line-colour table (block 5). Designs still carry it; it is read,
// converted into the cut-line and style tables, and never written again.
// CDrawLine: one colour number of that table.
#pragma once

#include "pivora/param_blk.h"

#include "platform/core/array.h"

class CDrawLine {
public:
    CDrawLine() = default;
    explicit CDrawLine(int colour) : m_nColour(colour) {}
    int GetColour() const { return m_nColour; }

private:
    int32_t m_nColour = 0;
};

class CDrawLinePalette : public CParamBlk {
    DECLARE_SERIAL(CDrawLinePalette)
public:
    enum { kRecLines = 0 };
    static constexpr int kDefaultLines = 16;

    CDrawLinePalette() : CDrawLinePalette(kDefaultLines) {}
    explicit CDrawLinePalette(int n);

    void InitDrawLinePalette(int n);
    int GetSize() const { return int(m_Lines.GetSize()); }
    // Raises the invalid-argument exception outside the table.
    CDrawLine* Map2DrawLine(int i) { return &m_Lines.ElementAt(i); }

    // Only while loading: the page never writes this block.
    int CanSerialize(CArchive& ar) override;
    void Serialize(CArchive& ar) override;

private:
    CArray<CDrawLine, CDrawLine&> m_Lines;
};
