// The nester's placement search as first written: a plain list of free areas, rescanned from
// its head for every placement, every insertion and after every merge. Far too slow for a long
// roll, it is kept as the oracle the indexed nester must agree with, copy for copy.
#pragma once

#include "hobrand/tile_repos.h"

#include <cstdint>
#include <list>
#include <vector>

class CRescanningNester {
public:
    struct Settings {
        int mode = 0x41;
        LONG spacingX = 4000, spacingY = 6000;
        int pitchX = 0, pitchY = 0;
        int vinyl = 0, biteFeed = 0;
    };

    CRescanningNester(const CWindow& sheet, const Settings& settings);

    // The free list exactly as given (a loaded design keeps its order).
    void Assign(const std::vector<CWindow>& free);
    std::vector<CWindow> Free() const { return {m_free.begin(), m_free.end()}; }

    int fn_AutoTile(CTileRepos& rec, const CTileRepos& saved, int copiesLeft, int keep,
                    int autoRotate, int test);
    CWindow fnGetTransArea(const CTileRepos& rec, int mode) const;

private:
    using Area = std::list<CWindow>::iterator;

    int CheckSingle(CTileRepos& rec, int copiesLeft, Area area, int keep, int autoRotate, int test);
    int CheckJoined(CTileRepos& rec, int copiesLeft, Area area, int keep, int autoRotate, int test);
    int BestFit(const CWindow& foot, const CWindow& area, int copiesLeft) const;
    int64_t FitWaste(int64_t w, int64_t h, int64_t a, int64_t b, int64_t n) const;
    int AnchorType(const CWindow& area, const CWindow& foot, bool alternate) const;
    int Fit(CTileRepos& rec, const CWindow& area, int copiesLeft, int keep, int autoRotate,
            bool alternate) const;
    void Anchor(CTileRepos& rec, const CWindow& area, int type) const;
    void Trim(const CWindow& foot, Area keepArea);
    void Split(const CWindow& copy, const CWindow& area);
    bool Precedes(const CWindow& a, const CWindow& b) const;
    void Insert(const CWindow& w);
    void MergeAll();
    bool MergeOnce();
    bool MergeOk(const CWindow& candidate, const CWindow& other) const;
    void Spacing(LONG& dx, LONG& dy) const;

    CWindow m_sheet;
    Settings m_s;
    std::list<CWindow> m_free;
};
