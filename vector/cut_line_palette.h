// CCutLinePalette: the page's cut-line table (block 13), one cut line per line style.
#pragma once

#include "pivora/param_blk.h"

#include "platform/core/ob_array.h"
#include "platform/core/string_array.h"
#include "platform/core/typed_ptr_array.h"
#include "vector/cut_line.h"

class CJoxPage;

using CCutLineArray = CTypedPtrArray<CObArray, CCutLine*>;

class CCutLinePalette : public CParamBlk {
    DECLARE_SERIAL(CCutLinePalette)
public:
    enum { kRecLines = 0 };
    static constexpr int kDefaultLines = 10;

    CCutLinePalette() : CCutLinePalette(kDefaultLines) {}
    explicit CCutLinePalette(int n);
    // Takes over the page's old line table (block 5) when it holds one.
    CCutLinePalette(CJoxPage* page, int n);
    ~CCutLinePalette() override;

    void fnInitCutLinePalette(int n);
    int fnGetSize() const { return int(m_Lines.GetSize()); }
    int fnResize(int n) { return fnGrowBy(n - fnGetSize()); }
    int fnGrowBy(int n);
    void fnSetCutLine(int i, CCutLine* line);
    // An index past the end wraps once, then falls to line 1. Negative indices and a result
    // past the end raise the invalid-argument exception.
    CCutLine* fnMap2CutLine(int i);
    CString fnGetCutLineName(int i) const;
    void fnSetCutLineName(const CString& name, int i);
    void fnGetEffects(CStringArray& out, int withMaterial) const;
    CCutLinePalette* fnCopy() const;

    void Serialize(CArchive& ar) override;

private:
    CCutLineArray m_Lines;
};
