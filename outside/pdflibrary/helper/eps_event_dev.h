// An output device that gathers a page's path drawing as EPS drawing events (EpsEvents):
// each painted path with its paint, its colour and its segments, the points on the page. Clips,
// images, shadings and text drawn with fonts give none. What is done with the gathered events
// is the deriving class's (Hand()).
#pragma once

#include "eps_events.h"

#include <OutputDev.h>

class EpsEventDev : public OutputDev {
public:
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

    // While set, nothing drawn is gathered (a part of a page replaying the state before it),
    // until a mark point named kEndOfReplay.
    void SetMuted(bool muted) { m_muted = muted; }
    static constexpr const char* kEndOfReplay = "KelvanePdfPartStart";
    // Whether a mark point named kEndOfPart was met: a part read to its end (the reader stops
    // a content stream at an operator it cannot run).
    static constexpr const char* kEndOfPart = "KelvanePdfPartEnd";
    bool ReachedEnd() const { return m_reachedEnd; }
    void markPoint(const char* name) override;
    void markPoint(const char* name, Dict*) override { markPoint(name); }
    // Whether the page's start and end are gathered (only one part of a page has them).
    void SetPageEvents(bool start, bool end) {
        m_pageStart = start;
        m_pageEnd = end;
    }

protected:
    // Called after each path and at the page's end, with the events gathered in m_events.
    virtual void Hand() {}

    EpsEvents m_events;

private:
    void AddPath(GfxState* state, bool fill);

    bool m_muted = false;
    bool m_reachedEnd = false;
    bool m_pageStart = true;
    bool m_pageEnd = true;
};
