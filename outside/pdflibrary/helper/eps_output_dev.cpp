#include "eps_output_dev.h"

#include <GfxState.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Points with four decimals, without trailing zeros: short lines, exact enough for cutting.
void AppendNumber(std::string& out, double v) {
    if (!std::isfinite(v))
        v = 0;
    char buf[400]; // room for any double written in full
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    if (ec != std::errc()) {
        out += '0';
        return;
    }
    char* dot = std::find(buf, end, '.');
    if (dot != end) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - buf == 2 && buf[0] == '-' && buf[1] == '0')
        buf[0] = '0', end = buf + 1;
    out.append(buf, end);
}

std::string Number(double v) {
    std::string s;
    AppendNumber(s, v);
    return s;
}

} // namespace

void EpsOutputDev::Write(const std::string& text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), m_out) != text.size())
        m_failed = true;
}

// A colour is written only when it differs from the one in force.
void EpsOutputDev::WriteColour(const std::string& text, std::string& inForce) {
    if (text == inForce)
        return;
    Write(text);
    inForce = text;
}

void EpsOutputDev::startPage(int, GfxState* state, XRef*) {
    double w = state ? state->getPageWidth() : 0, h = state ? state->getPageHeight() : 0;
    Write("%!PS-Adobe-3.0 EPSF-3.0\n");
    Write("%%Creator: PDF library stand-in\n");
    Write("%%BoundingBox: 0 0 " + std::to_string(long(std::ceil(w))) + " " +
          std::to_string(long(std::ceil(h))) + "\n");
    Write("%%HiResBoundingBox: 0 0 " + Number(w) + " " + Number(h) + "\n");
    Write("%%Pages: 1\n%%EndComments\n");
    // A prolog that makes the file printable; the import skips it with the setup.
    Write("%%BeginSetup\n"
          "/_f {0 setgray} def /_s {0 setgray} def\n"
          "/g {1 array astore /_fc exch def /_f {_fc aload pop setgray} def} def\n"
          "/G {1 array astore /_sc exch def /_s {_sc aload pop setgray} def} def\n"
          "/k {4 array astore /_fc exch def /_f {_fc aload pop setcmykcolor} def} def\n"
          "/K {4 array astore /_sc exch def /_s {_sc aload pop setcmykcolor} def} def\n"
          "/Xa {3 array astore /_fc exch def /_f {_fc aload pop setrgbcolor} def} def\n"
          "/XA {3 array astore /_sc exch def /_s {_sc aload pop setrgbcolor} def} def\n"
          "/m {moveto} def /l {lineto} def /c {curveto} def\n"
          "/S {_s stroke} def /F {_f fill} def /B {gsave _f fill grestore _s stroke} def\n"
          "%%EndSetup\n");
}

void EpsOutputDev::endPage() {
    FlushPendingFill();
    Write("%%PageTrailer\n%%Trailer\n%%EOF\n");
}

std::string EpsOutputDev::ColourText(GfxState* state, bool fill) const {
    GfxColorSpace* space = fill ? state->getFillColorSpace() : state->getStrokeColorSpace();
    const GfxColor* colour = fill ? state->getFillColor() : state->getStrokeColor();
    if (!space)
        return std::string("0 ") + (fill ? "g" : "G") + "\n";
    GfxColorSpaceMode mode = space->getMode();
    if (mode == csDeviceGray || mode == csCalGray) {
        GfxGray gray;
        space->getGray(colour, &gray);
        return Number(colToDbl(gray)) + (fill ? " g\n" : " G\n");
    }
    if (mode == csDeviceCMYK || (mode == csICCBased && space->getNComps() == 4)) {
        GfxCMYK cmyk;
        space->getCMYK(colour, &cmyk);
        return Number(colToDbl(cmyk.c)) + " " + Number(colToDbl(cmyk.m)) + " " +
               Number(colToDbl(cmyk.y)) + " " + Number(colToDbl(cmyk.k)) + (fill ? " k\n" : " K\n");
    }
    GfxRGB rgb;
    space->getRGB(colour, &rgb);
    return Number(colToDbl(rgb.r)) + " " + Number(colToDbl(rgb.g)) + " " + Number(colToDbl(rgb.b)) +
           (fill ? " Xa\n" : " XA\n");
}

std::string EpsOutputDev::PathText(GfxState* state) const {
    std::string text;
    const GfxPath* path = state->getPath();
    if (!path)
        return text;
    text.reserve(64 * size_t(path->getNumSubpaths()));
    auto point = [&](const GfxSubpath* sub, int i) {
        double x, y;
        state->transform(sub->getX(i), sub->getY(i), &x, &y);
        AppendNumber(text, x);
        text += ' ';
        AppendNumber(text, y);
    };
    for (int s = 0; s < path->getNumSubpaths(); ++s) {
        const GfxSubpath* sub = path->getSubpath(s);
        const int n = sub->getNumPoints();
        if (n < 2)
            continue;
        point(sub, 0);
        text += " m\n";
        for (int i = 1; i < n;) {
            if (sub->getCurve(i) && i + 2 < n) {
                point(sub, i);
                text += ' ';
                point(sub, i + 1);
                text += ' ';
                point(sub, i + 2);
                text += " c\n";
                i += 3;
            } else {
                point(sub, i);
                text += " l\n";
                ++i;
            }
        }
        if (sub->isClosed())
            text += "closepath\n";
    }
    return text;
}

void EpsOutputDev::FlushPendingFill() {
    if (m_pendingPath.empty())
        return;
    WriteColour(m_pendingColour, m_fillInForce);
    Write(m_pendingPath + "F\n");
    m_pendingPath.clear();
    m_pendingColour.clear();
}

void EpsOutputDev::fill(GfxState* state) {
    FlushPendingFill();
    m_pendingPath = PathText(state);
    m_pendingColour = ColourText(state, true);
}

void EpsOutputDev::stroke(GfxState* state) {
    std::string path = PathText(state);
    if (path.empty())
        return;
    if (path == m_pendingPath) {
        WriteColour(m_pendingColour, m_fillInForce);
        WriteColour(ColourText(state, false), m_strokeInForce);
        Write(path + "B\n");
        m_pendingPath.clear();
        m_pendingColour.clear();
        return;
    }
    FlushPendingFill();
    WriteColour(ColourText(state, false), m_strokeInForce);
    Write(path + "S\n");
}
