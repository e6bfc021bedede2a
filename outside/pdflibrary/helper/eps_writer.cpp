#include "eps_writer.h"

#include "eps_number.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Text is handed to the file in blocks of about this size.
constexpr size_t kBlockBytes = 1 << 16;
// Room for the numbers of one curve segment and its operator.
constexpr size_t kSegmentRoom = 6 * (eps::kMaxNumberChars + 1) + 8;

} // namespace

EpsWriter::EpsWriter(FILE* out) : m_out(out) {
    m_buffer.Room(2 * kBlockBytes);
}

void EpsWriter::Take(const EpsEvents& events) {
    m_events = &events;
    m_code = 0;
    m_number = 0;
    while (m_code < events.codes.size()) {
        switch (events.codes[m_code++]) {
        case EpsEvents::kStartPage:
            StartPage(events.numbers[m_number], events.numbers[m_number + 1]);
            m_number += 2;
            break;
        case EpsEvents::kFill:
            Fill();
            break;
        case EpsEvents::kStroke:
            Stroke();
            break;
        case EpsEvents::kEndPage:
            EndPage();
            break;
        default: // not a start of anything: the reader's side never gives it
            m_code = events.codes.size();
            m_failed = true;
            break;
        }
    }
    m_events = nullptr;
}

void EpsWriter::FlushBuffer() {
    if (!m_buffer.Empty() &&
        std::fwrite(m_buffer.Data(), 1, m_buffer.Size(), m_out) != m_buffer.Size())
        m_failed = true;
    m_buffer.Clear();
}

void EpsWriter::Write(const char* text, size_t n) {
    m_buffer.Append(text, n);
    if (m_buffer.Size() >= kBlockBytes)
        FlushBuffer();
}

bool EpsWriter::Finish() {
    FlushBuffer();
    return !m_failed;
}

// A colour is written only when it differs from the one in force.
void EpsWriter::WriteColour(const EpsText& text, EpsText& inForce) {
    if (text == inForce)
        return;
    Write(text);
    inForce.Assign(text);
}

void EpsWriter::StartPage(double w, double h) {
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
    Write(head.data(), head.size());
}

void EpsWriter::EndPage() {
    FlushPendingFill();
    Write("%%PageTrailer\n%%Trailer\n%%EOF\n");
    FlushBuffer();
}

void EpsWriter::ReadColour(EpsText& out, bool fill) {
    const EpsEvents& ev = *m_events;
    const uint8_t code = ev.codes[m_code++];
    if (code == EpsEvents::kNoColour) {
        out.Append(fill ? "0 g\n" : "0 G\n", 4);
        return;
    }
    char* p = out.Room(kSegmentRoom);
    if (code == EpsEvents::kGray) {
        p = eps::WriteNumber(p, ev.numbers[m_number++]);
        std::memcpy(p, fill ? " g\n" : " G\n", 3);
        out.Keep(p + 3);
        return;
    }
    const bool cmyk = code == EpsEvents::kCmyk;
    for (int i = 0; i < (cmyk ? 4 : 3); ++i) {
        p = eps::WriteNumber(p, ev.numbers[m_number++]);
        *p++ = ' ';
    }
    if (cmyk) {
        std::memcpy(p, fill ? "k\n" : "K\n", 2);
        out.Keep(p + 2);
    } else {
        std::memcpy(p, fill ? "Xa\n" : "XA\n", 3);
        out.Keep(p + 3);
    }
}

void EpsWriter::ReadPath(EpsText& out) {
    const EpsEvents& ev = *m_events;
    const double* n = ev.numbers.data();
    for (;;) {
        const uint8_t code = ev.codes[m_code++];
        if (code == EpsEvents::kPathEnd)
            return;
        if (code == EpsEvents::kClose) {
            out.Append("closepath\n");
            continue;
        }
        const int count = code == EpsEvents::kCurve ? 6 : 2;
        char* p = out.Room(kSegmentRoom);
        for (int i = 0; i < count; ++i) {
            if (i)
                *p++ = ' ';
            p = eps::WriteNumber(p, n[m_number++]);
        }
        std::memcpy(p,
                    code == EpsEvents::kMove   ? " m\n"
                    : code == EpsEvents::kLine ? " l\n"
                                               : " c\n",
                    3);
        out.Keep(p + 3);
    }
}

void EpsWriter::FlushPendingFill() {
    if (m_pendingPath.Empty())
        return;
    WriteColour(m_pendingColour, m_fillInForce);
    Write(m_pendingPath);
    Write("F\n");
    m_pendingPath.Clear();
    m_pendingColour.Clear();
}

void EpsWriter::Fill() {
    FlushPendingFill();
    m_pendingColour.Clear();
    ReadColour(m_pendingColour, true);
    ReadPath(m_pendingPath);
}

void EpsWriter::Stroke() {
    m_colour.Clear();
    ReadColour(m_colour, false);
    m_path.Clear();
    ReadPath(m_path);
    if (m_path.Empty())
        return;
    const bool filledToo = m_path == m_pendingPath;
    if (filledToo) {
        WriteColour(m_pendingColour, m_fillInForce);
        m_pendingPath.Clear();
        m_pendingColour.Clear();
    } else {
        FlushPendingFill();
    }
    WriteColour(m_colour, m_strokeInForce);
    Write(m_path);
    Write(filledToo ? "B\n" : "S\n", 2);
}
