// CVectorStylePB: the page's vector style table (block 14). Style i names an entry of the
// page's colour palette; vector articles keep style indices. The table converts the old line
// table (block 5), merges colours and tables, and can reorder the palette so that style i
// draws with palette entry i.
#pragma once

#include "pivora/article.h"
#include "pivora/param_blk.h"

#include "platform/core/array.h"
#include "platform/core/ob_array.h"
#include "platform/core/typed_ptr_array.h"
#include "vector/vector_style.h"

class CColourPalette;
class CJoxPage;

using CVectorStyleArray = CTypedPtrArray<CObArray, CVectorStyle*>;

class CVectorStylePB : public CParamBlk {
    DECLARE_SERIAL(CVectorStylePB)
public:
    enum { kRecStyles = 0 };
    // What the colour getters and setters answer for a style that does not exist.
    static constexpr COLORREF kNoColour = 0xFFFFFFFF;
    // Starting value of the nearest-colour search (squared RGB distance).
    static constexpr int kFarColour = 1000000;

    CVectorStylePB();
    explicit CVectorStylePB(int n);
    // Takes over the page's old line table (block 5) when it holds one, and attaches the
    // page's colour palette (made when missing).
    CVectorStylePB(CJoxPage* page, int n);
    ~CVectorStylePB() override;

    void fnInitialise(int n);
    void fnRemoveAll();
    int fnGetSize() const { return int(m_Styles.GetSize()); }
    int fnGetMinimumSize() const { return m_nMinimumSize; }
    void fnSetMinimumSize(int n) {
        if (n > 0)
            m_nMinimumSize = n;
    }
    int fnWasSerialisedIn() const { return m_bSerialisedIn; }
    void SetColourPalette(CColourPalette* palette) { m_pPalette = palette; }
    CColourPalette* fnGetVectStyleColourPalette() const { return m_pPalette; }
    int fnResize(int n) { return fnGrowBy(n - fnGetSize()); }
    int fnGrowBy(int n);

    int fnAdd(CVectorStyle* style);
    void fnSetAt(int i, CVectorStyle* style);
    // An index past the end wraps once, then falls to style 0; null for an empty table.
    // Negative indices raise the invalid-argument exception.
    CVectorStyle* fnMap2VectorStyle(int i);
    int fnDeleteStyle(int i);
    CVectorStylePB* fnCopy() const;

    COLORREF fnGetVectStyleColour(int i);
    COLORREF fnGetVectStylePastelCol(int i);
    COLORREF fnGetVectStyleShadeCol(int i);
    COLORREF fnGetVectStyleGreyCol(int i);
    COLORREF fnSetVectStyleColour(int i, COLORREF c);
    COLORREF fnSetVectStylePastelCol(int i, COLORREF c);
    COLORREF fnSetVectStyleShadeCol(int i, COLORREF c);
    COLORREF fnSetVectStyleGreyCol(int i, COLORREF c);
    CVectorStyle* fnNewVectorStyle(COLORREF c, int& index);
    int fnNewVectorStyle(CVectorStyle* model, COLORREF c);
    int fnMergeColour(COLORREF c);
    int fnMergeVectorStyle(CVectorStylePB* other, int i);
    int fnFindNearestEntry(COLORREF c, int& distance);
    int fnFindNearestEntry(COLORREF c) {
        int distance;
        return fnFindNearestEntry(c, distance);
    }

    int fnColourUsed(int style, CArticleList& articles);
    int fnFindUnusedEntry(CJoxPage* page);
    void fnSetRTFlag(int i, int mask);
    int fnGetRTFlag(int i, int mask);
    void fnClrAllRTFlags();
    void fnRemoveUnusedStyles(CArray<long, long>* use);
    void RemoveUnassignedStyles();
    int SyncWithColPal();

    void Serialize(CArchive& ar) override;
    // Attaches the page's palette when none is attached yet.
    void PostSerializeLoad(CJoxPage* page) override;

private:
    // The style's palette entry through the attached palette; false without one.
    bool Entry(int i, int& entry) const;

    CVectorStyleArray m_Styles;
    CColourPalette* m_pPalette = nullptr;
    int m_bSerialisedIn = 0;
    int m_nMinimumSize = 1;
};

// Reads the n-th "R<number>", "G<number>" and "B<number>" of text into c; 0 when one is
// missing or a value lies outside 0..255.
int FnExtractRGBValues(CString& text, int n, COLORREF& c);
