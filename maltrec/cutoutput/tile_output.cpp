#include "maltrec/cutoutput/tile_output.h"

#include "maltrec/cutoutput/cut_output_rules.h"
#include "maltrec/cutoutput/job_frames.h"

#include "felgrin/output_dc.h"
#include "hobrand/media_manager_blk.h"
#include "vector/vector_article.h"

#include <algorithm>

namespace {

// The clip reaches this far past each tile, so that cuts on its edges are not lost.
constexpr int32_t kClipMargin = 50;

int32_t Clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

StTileSteps FnTileSteps(CMediaManagerBlk* medMan, const StOutputSettings& s) {
    CWindow sheet;
    medMan->fnGetSheetExtents(&sheet);
    const CWindow w = FnTileWindow(sheet, s.m_nTileWidth, s.m_nTileHeight, s.m_nTileOverlap);
    StTileSteps t;
    t.w = FnTileAdvance(int64_t(w.x2) - w.x1, 0);
    t.h = FnTileAdvance(int64_t(w.y2) - w.y1, 0);
    t.advanceX = t.w - s.m_nTileOverlap;
    t.advanceY = t.h - s.m_nTileOverlap;
    return t;
}

int FnCutTiles(CMediaManagerBlk* medMan, CArticle* job, const CWindow& rect,
               const StOutputSettings& s) {
    const StTileSteps steps = FnTileSteps(medMan, s);
    if (!steps.CanAdvance())
        return 0;
    CWindow sheet;
    medMan->fnGetSheetExtents(&sheet);
    CVectorArticle* frame = s.m_bWeedBox ? FnAddTileFrame(job) : nullptr;
    const int64_t jobW = int64_t(rect.x2) - rect.x1, jobH = int64_t(rect.y2) - rect.y1;
    const CLpoint spacing = medMan->fnGetSpace();
    medMan->fnFeedExtra(0);
    medMan->fnSetSpace(CLpoint(0, 0));
    medMan->fnPageStart(1);
    int ok = 1;
    for (int copy = 0; copy < s.m_nCopies && ok; ++copy) {
        int tile = 0;
        int64_t column = rect.x1;
        for (int64_t doneX = 0;;) {
            int64_t row = rect.y1;
            for (int64_t doneY = 0;;) {
                ++tile;
                int64_t top = row + steps.h;
                if (top > rect.y2)
                    top = int64_t(rect.y2) + s.m_nTileOverlap;
                const CWindow t(Clamp32(column), Clamp32(row), Clamp32(column + steps.w),
                                Clamp32(top));
                // The tile lands against the sheet's right and bottom edges.
                CWindow clip(Clamp32(int64_t(sheet.x2) - (int64_t(t.x2) - t.x1) - kClipMargin),
                             Clamp32(int64_t(sheet.y1) - kClipMargin),
                             Clamp32(int64_t(sheet.x2) + kClipMargin),
                             Clamp32(int64_t(sheet.y1) + (int64_t(t.y2) - t.y1) + kClipMargin));
                if (COutputDC* dc = medMan->GetOutputDC())
                    dc->fnSetClipArea(clip);
                if (frame)
                    FnSetTileFrame(frame, t);
                if (s.m_nTileToCut == -1 || s.m_nTileToCut == tile) {
                    CWindow place = t;
                    ok = medMan->fnPlaceDataOntoSheets(0, job, &place, 1, s.m_bAutoRotate);
                    medMan->fnFeedExtra(spacing.y);
                }
                medMan->fnPageStart(1);
                row += steps.advanceY;
                doneY += steps.advanceY;
                if (doneY >= jobH)
                    break;
            }
            column += steps.advanceX;
            doneX += steps.advanceX;
            if (doneX >= jobW)
                break;
        }
    }
    // Later sends nest with the gap the operator chose.
    medMan->fnSetSpace(spacing);
    return ok;
}
