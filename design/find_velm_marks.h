// CFindVelmMarks: finds the printed registration marks among a design's paths: a column of
// equal square marks along each side at equal spacing, and optionally a wider mark between the
// two bottom ones. Marks are tagged with the article value kMarkerValue = 1, every other
// article with 0. Sizes are in micrometres; the getters are in the cutter's axes, where X runs
// along the design's y axis and Y along its x axis.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <cstdint>
#include <vector>

class CArticle;
class CDesignPage;

class CFindVelmMarks {
public:
    static constexpr const wchar_t* kMarkerValue = L"VELM MARKER";
    // Squareness tolerance of a fine and of a coarse search.
    static constexpr int kFineTolerance = 150;
    static constexpr int kCoarseTolerance = 1150;
    // Largest side of a square mark, beyond the tolerance.
    static constexpr int kMaxMarkSide = 10000;
    // How far marks may differ from the lower-right one in size and place.
    static constexpr int kMatch = 150;
    static constexpr int kMaxColumnDistance = 1650150;
    static constexpr int kMaxMarkDistance = 1000150;
    // The cross mark: its least size, its reach above the lower-right mark, and the gaps to
    // the bottom marks on either side.
    static constexpr int kCrossMinWidth = 1850;
    static constexpr int kCrossMinHeight = 850;
    static constexpr int kCrossReach = 20150;
    static constexpr int kCrossGapMin = 9850;
    static constexpr int kCrossGapMax = 15150;

    CFindVelmMarks();
    ~CFindVelmMarks();
    CFindVelmMarks(const CFindVelmMarks&) = delete;
    CFindVelmMarks& operator=(const CFindVelmMarks&) = delete;

    // 1 when a complete set was found and tagged; else 0 with nothing tagged. fine selects the
    // tight squareness tolerance.
    int Execute(CDesignPage* page, int fine);

    int GetXsize() const { return m_Xsize; }
    int GetYsize() const { return m_Ysize; }
    int GetXn() const { return m_Xn; }
    int GetXdist() const { return m_Xdist; }
    int GetYdist() const { return m_Ydist; }

private:
    bool Search(int tolerance);
    void Tag(CArticle* a);
    void TagAt(size_t i);
    void Reset();
    // The article with an item whose centre is nearest to (x, y), the first on ties.
    CArticle* NearestTo(int64_t x, int64_t y) const;
    // An untagged square mark of the lower-right mark's size, level with bottom.
    bool IsColumnMark(CArticle* a, CArticle* bottom, int tolerance) const;
    bool CheckColumns();
    bool FindCross();

    int m_Xsize = 0;
    int m_Ysize = 0;
    int m_Xn = 0;
    int m_Xdist = 0;
    int m_Ydist = 0;
    CWindow m_Extents;
    std::vector<CArticle*> m_Articles;
    std::vector<char> m_Tagged;
    CArticle* m_pLowerRight = nullptr;
    CArticle* m_pLowerLeft = nullptr;
    CArticle* m_pCross = nullptr;
    std::vector<CArticle*> m_LeftColumn;
    std::vector<CArticle*> m_RightColumn;
};
