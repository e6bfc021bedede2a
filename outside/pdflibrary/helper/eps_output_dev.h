// An output device that writes a page's path drawing as EPS in the small vocabulary the
// program's PostScript import reads: m l c closepath, painted with S, F or B, colours g/G,
// k/K (CMYK) and Xa/XA (RGB). Clips, images, shadings and text drawn with fonts are left out.
#pragma once

#include "eps_text.h"

#include <OutputDev.h>

#include <cstdio>
#include <string>

class EpsOutputDev : public OutputDev {
public:
    explicit EpsOutputDev(FILE* out);

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

    // Writes out what is still held; false when any write failed.
    bool Finish();
    bool Failed() const { return m_failed; }

private:
    // Each appends to `out`.
    static void AppendPath(EpsText& out, GfxState* state);
    static void AppendColour(EpsText& out, GfxState* state, bool fill);
    void FlushPendingFill();
    void Write(const char* text, size_t n);
    void Write(const EpsText& text) { Write(text.Data(), text.Size()); }
    template <size_t N> void Write(const char (&literal)[N]) { Write(literal, N - 1); }
    void WriteColour(const EpsText& text, EpsText& inForce);
    void FlushBuffer();

    FILE* m_out;
    bool m_failed = false;
    // The text goes out in large blocks.
    EpsText m_buffer;
    // A fill waits for the stroke that may follow with the same path (PDF's B), so that the
    // pair becomes one filled and stroked path.
    EpsText m_pendingPath;
    EpsText m_pendingColour;
    // The colours the file has set so far (the prolog starts both black, but says nothing).
    EpsText m_fillInForce;
    EpsText m_strokeInForce;
    // Working text, kept to reuse its memory.
    EpsText m_path;
    EpsText m_colour;
};
