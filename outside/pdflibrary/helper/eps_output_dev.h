// An output device that writes a page's path drawing as EPS in the small vocabulary the
// program's PostScript import reads: m l c closepath, painted with S, F or B, colours g/G,
// k/K (CMYK) and Xa/XA (RGB). Clips, images, shadings and text drawn with fonts are left out.
#pragma once

#include <OutputDev.h>

#include <cstdio>
#include <string>

class EpsOutputDev : public OutputDev {
public:
    explicit EpsOutputDev(FILE* out) : m_out(out) {}

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

    bool Failed() const { return m_failed; }

private:
    std::string PathText(GfxState* state) const;
    std::string ColourText(GfxState* state, bool fill) const;
    void FlushPendingFill();
    void Write(const std::string& text);
    void WriteColour(const std::string& text, std::string& inForce);

    FILE* m_out;
    bool m_failed = false;
    // A fill waits for the stroke that may follow with the same path (PDF's B), so that the
    // pair becomes one filled and stroked path.
    std::string m_pendingPath;
    std::string m_pendingColour;
    // The colours the file has set so far (the prolog starts both black, but says nothing).
    std::string m_fillInForce;
    std::string m_strokeInForce;
};
