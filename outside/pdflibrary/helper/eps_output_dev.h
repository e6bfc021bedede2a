// An output device that writes a page's path drawing as EPS in the small vocabulary the
// program's PostScript import reads: m l c closepath, painted with S, F or B, colours g/G,
// k/K (CMYK) and Xa/XA (RGB). Clips, images, shadings and text drawn with fonts are left out.
// The reader only gathers the paths and colours; a second thread of the helper writes the
// text (EpsWriter) while the reader goes on.
#pragma once

#include "eps_events.h"
#include "eps_writer.h"

#include <OutputDev.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

class EpsOutputDev : public OutputDev {
public:
    explicit EpsOutputDev(FILE* out);
    ~EpsOutputDev() override;

    bool upsideDown() override { return false; }
    bool useDrawChar() override { return false; }
    bool interpretType3Chars() override { return false; }
    bool useTilingPatternFill() override { return true; }
    bool useShadedFills(int) override { return true; }

    void startPage(int pageNum, GfxState* state, XRef* xref) override;
    void endPage() override;
    void stroke(GfxState* state) override;
    void fill(GfxState* state) override;
    void eoFill(GfxState* state) override { fill(state); }

    // Patterns and shadings are skipped: they are not paths to cut.
    bool tilingPatternFill(GfxState*, Gfx*, Catalog*, GfxTilingPattern*, const double*, int, int,
                           int, int, double, double) override {
        return true;
    }
    bool functionShadedFill(GfxState*, GfxFunctionShading*) override { return true; }
    bool axialShadedFill(GfxState*, GfxAxialShading*, double, double) override { return true; }
    bool radialShadedFill(GfxState*, GfxRadialShading*, double, double) override { return true; }
    bool gouraudTriangleShadedFill(GfxState*, GfxGouraudTriangleShading*) override { return true; }
    bool patchMeshShadedFill(GfxState*, GfxPatchMeshShading*) override { return true; }

    // Waits for the writer and hands the file what is still held; false when any write failed.
    bool Finish();

private:
    void AddPath(GfxState* state, bool fill);
    // Hands the gathered events to the writer (to its thread, or at once without one).
    void Hand();
    void WriterLoop();
    void StopWriter();

    EpsWriter m_writer;
    EpsEvents m_events;
    // Gathered events waiting for the writer's thread, and emptied ones for reuse.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<EpsEvents> m_full;
    std::deque<EpsEvents> m_empty;
    bool m_done = false;
    std::thread m_thread;
};
