#include "eps_output_dev.h"

#include "eps_number.h"

#include <GfxState.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Text is handed to the file in blocks of about this size.
constexpr size_t kBlockBytes = 1 << 16;
// Room for the numbers of one curve segment and its operator.
constexpr size_t kSegmentRoom = 6 * (eps::kMaxNumberChars + 1) + 8;

} // namespace

EpsOutputDev::EpsOutputDev(FILE* out) : m_out(out) {
    m_buffer.Room(2 * kBlockBytes);
}

void EpsOutputDev::FlushBuffer() {
    if (!m_buffer.Empty() &&
        std::fwrite(m_buffer.Data(), 1, m_buffer.Size(), m_out) != m_buffer.Size())
        m_failed = true;
    m_buffer.Clear();
}

void EpsOutputDev::Write(const char* text, size_t n) {
    m_buffer.Append(text, n);
    if (m_buffer.Size() >= kBlockBytes)
        FlushBuffer();
}

bool EpsOutputDev::Finish() {
    FlushBuffer();
    return !m_failed;
}

// A colour is written only when it differs from the one in force.
void EpsOutputDev::WriteColour(const EpsText& text, EpsText& inForce) {
    if (text == inForce)
        return;
    Write(text);
    inForce.Assign(text);
}

void EpsOutputDev::startPage(int, GfxState* state, XRef*) {
    double w = state ? state->getPageWidth() : 0, h = state ? state->getPageHeight() : 0;
    std::string head = "%!PS-Adobe-3.0 EPSF-3.0\n"
                       "%%Creator: PDF library stand-in\n"
                       "%%BoundingBox: 0 0 ";
    head += std::to_string(long(std::ceil(w))) + " " + std::to_string(long(std::ceil(h))) + "\n";
    head += "%%HiResBoundingBox: 0 0 ";
    eps::AppendNumber(head, w);
    head += ' ';
    eps::AppendNumber(head, h);
    head += "\n%%Pages: 1\n%%EndComments\n";
    // A prolog that makes the file printable; the import skips it with the setup.
    head += "%%BeginSetup\n"
            "/_f {0 setgray} def /_s {0 setgray} def\n"
            "/g {1 array astore /_fc exch def /_f {_fc aload pop setgray} def} def\n"
            "/G {1 array astore /_sc exch def /_s {_sc aload pop setgray} def} def\n"
            "/k {4 array astore /_fc exch def /_f {_fc aload pop setcmykcolor} def} def\n"
            "/K {4 array astore /_sc exch def /_s {_sc aload pop setcmykcolor} def} def\n"
            "/Xa {3 array astore /_fc exch def /_f {_fc aload pop setrgbcolor} def} def\n"
            "/XA {3 array astore /_sc exch def /_s {_sc aload pop setrgbcolor} def} def\n"
            "/m {moveto} def /l {lineto} def /c {curveto} def\n"
            "/S {_s stroke} def /F {_f fill} def /B {gsave _f fill grestore _s stroke} def\n"
            "%%EndSetup\n";
    m_buffer.Append(head.data(), head.size());
}

void EpsOutputDev::endPage() {
    FlushPendingFill();
    Write("%%PageTrailer\n%%Trailer\n%%EOF\n");
    FlushBuffer();
}

void EpsOutputDev::AppendColour(EpsText& out, GfxState* state, bool fill) {
    GfxColorSpace* space = fill ? state->getFillColorSpace() : state->getStrokeColorSpace();
    const GfxColor* colour = fill ? state->getFillColor() : state->getStrokeColor();
    if (!space) {
        out.Append(fill ? "0 g\n" : "0 G\n", 4);
        return;
    }
    char* p = out.Room(kSegmentRoom);
    GfxColorSpaceMode mode = space->getMode();
    if (mode == csDeviceGray || mode == csCalGray) {
        GfxGray gray;
        space->getGray(colour, &gray);
        p = eps::WriteNumber(p, colToDbl(gray));
        std::memcpy(p, fill ? " g\n" : " G\n", 3);
        out.Keep(p + 3);
        return;
    }
    if (mode == csDeviceCMYK || (mode == csICCBased && space->getNComps() == 4)) {
        GfxCMYK cmyk;
        space->getCMYK(colour, &cmyk);
        for (GfxColorComp c : {cmyk.c, cmyk.m, cmyk.y, cmyk.k}) {
            p = eps::WriteNumber(p, colToDbl(c));
            *p++ = ' ';
        }
        std::memcpy(p, fill ? "k\n" : "K\n", 2);
        out.Keep(p + 2);
        return;
    }
    GfxRGB rgb;
    space->getRGB(colour, &rgb);
    for (GfxColorComp c : {rgb.r, rgb.g, rgb.b}) {
        p = eps::WriteNumber(p, colToDbl(c));
        *p++ = ' ';
    }
    std::memcpy(p, fill ? "Xa\n" : "XA\n", 3);
    out.Keep(p + 3);
}

void EpsOutputDev::AppendPath(EpsText& out, GfxState* state) {
    const GfxPath* path = state->getPath();
    if (!path)
        return;
    auto point = [&](char* p, const GfxSubpath* sub, int i) {
        double x, y;
        state->transform(sub->getX(i), sub->getY(i), &x, &y);
        p = eps::WriteNumber(p, x);
        *p++ = ' ';
        return eps::WriteNumber(p, y);
    };
    for (int s = 0; s < path->getNumSubpaths(); ++s) {
        const GfxSubpath* sub = path->getSubpath(s);
        const int n = sub->getNumPoints();
        if (n < 2)
            continue;
        char* p = point(out.Room(kSegmentRoom), sub, 0);
        std::memcpy(p, " m\n", 3);
        out.Keep(p + 3);
        for (int i = 1; i < n;) {
            p = out.Room(kSegmentRoom);
            if (sub->getCurve(i) && i + 2 < n) {
                p = point(p, sub, i);
                *p++ = ' ';
                p = point(p, sub, i + 1);
                *p++ = ' ';
                p = point(p, sub, i + 2);
                std::memcpy(p, " c\n", 3);
                i += 3;
            } else {
                p = point(p, sub, i);
                std::memcpy(p, " l\n", 3);
                ++i;
            }
            out.Keep(p + 3);
        }
        if (sub->isClosed())
            out.Append("closepath\n");
    }
}

void EpsOutputDev::FlushPendingFill() {
    if (m_pendingPath.Empty())
        return;
    WriteColour(m_pendingColour, m_fillInForce);
    m_buffer.Append(m_pendingPath);
    Write("F\n");
    m_pendingPath.Clear();
    m_pendingColour.Clear();
}

void EpsOutputDev::fill(GfxState* state) {
    FlushPendingFill();
    m_pendingColour.Clear();
    AppendPath(m_pendingPath, state);
    AppendColour(m_pendingColour, state, true);
}

void EpsOutputDev::stroke(GfxState* state) {
    m_path.Clear();
    AppendPath(m_path, state);
    if (m_path.Empty())
        return;
    m_colour.Clear();
    AppendColour(m_colour, state, false);
    const bool filledToo = m_path == m_pendingPath;
    if (filledToo) {
        WriteColour(m_pendingColour, m_fillInForce);
        m_pendingPath.Clear();
        m_pendingColour.Clear();
    } else {
        FlushPendingFill();
    }
    WriteColour(m_colour, m_strokeInForce);
    m_buffer.Append(m_path);
    if (filledToo)
        Write("B\n");
    else
        Write("S\n");
}
