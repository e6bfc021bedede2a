#include "eps_writer.h"

#include "eps_number.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

// Text is handed to the file in blocks of about this size.
constexpr size_t kBlockBytes = 1 << 16;
// Room for the numbers of one curve segment and its operator.
constexpr size_t kSegmentRoom = 6 * (eps::kMaxNumberChars + 1) + 8;
// Lines are kept under 255 characters, as readers of the format may expect.
constexpr ptrdiff_t kMaxLineChars = 254;

// Keeps the line from `start` to `end` (its newline included), putting each number on a line
// of its own when the whole would be too long; operands may stand on several lines.
void KeepLine(EpsText& out, char* start, char* end) {
    if (end - 1 - start > kMaxLineChars)
        std::replace(start, end, ' ', '\n');
    out.Keep(end);
}

} // namespace

EpsWriter::EpsWriter(FILE* out) : m_out(out) {
    m_buffer.Room(2 * kBlockBytes);
}

namespace {

// The next colour or path of `events` (from `code` and `number` on), appended to `out` as text.
void ReadColour(const EpsEvents& ev, size_t& code, size_t& number, EpsText& out, bool fill) {
    const uint8_t kind = ev.codes[code++];
    if (kind == EpsEvents::kNoColour) {
        out.Append(fill ? "0 g\n" : "0 G\n", 4);
        return;
    }
    char* const start = out.Room(kSegmentRoom);
    char* p = start;
    if (kind == EpsEvents::kGray) {
        p = eps::WriteNumber(p, ev.numbers[number++]);
        std::memcpy(p, fill ? " g\n" : " G\n", 3);
        KeepLine(out, start, p + 3);
        return;
    }
    const bool cmyk = kind == EpsEvents::kCmyk;
    for (int i = 0; i < (cmyk ? 4 : 3); ++i) {
        p = eps::WriteNumber(p, ev.numbers[number++]);
        *p++ = ' ';
    }
    if (cmyk) {
        std::memcpy(p, fill ? "k\n" : "K\n", 2);
        KeepLine(out, start, p + 2);
    } else {
        std::memcpy(p, fill ? "Xa\n" : "XA\n", 3);
        KeepLine(out, start, p + 3);
    }
}

void ReadPath(const EpsEvents& ev, size_t& code, size_t& number, EpsText& out) {
    const double* n = ev.numbers.data();
    for (;;) {
        const uint8_t kind = ev.codes[code++];
        if (kind == EpsEvents::kPathEnd)
            return;
        if (kind == EpsEvents::kClose) {
            out.Append("closepath\n");
            continue;
        }
        const int count = kind == EpsEvents::kCurve ? 6 : 2;
        char* const start = out.Room(kSegmentRoom);
        char* p = start;
        for (int i = 0; i < count; ++i) {
            if (i)
                *p++ = ' ';
            p = eps::WriteNumber(p, n[number++]);
        }
        std::memcpy(p,
                    kind == EpsEvents::kMove   ? " m\n"
                    : kind == EpsEvents::kLine ? " l\n"
                                               : " c\n",
                    3);
        KeepLine(out, start, p + 3);
    }
}

} // namespace

void FormatEvents(const EpsEvents& events, EpsFormattedEvents* out) {
    size_t code = 0, number = 0;
    while (code < events.codes.size()) {
        const uint8_t kind = events.codes[code++];
        switch (kind) {
        case EpsEvents::kStartPage:
            out->codes.push_back(kind);
            out->numbers.push_back(events.numbers[number]);
            out->numbers.push_back(events.numbers[number + 1]);
            number += 2;
            break;
        case EpsEvents::kFill:
        case EpsEvents::kStroke:
            out->codes.push_back(kind);
            ReadColour(events, code, number, out->text, kind == EpsEvents::kFill);
            out->ends.push_back(out->text.Size());
            ReadPath(events, code, number, out->text);
            out->ends.push_back(out->text.Size());
            break;
        case EpsEvents::kEndPage:
            out->codes.push_back(kind);
            break;
        default: // not a start of anything: the reader's side never gives it
            out->damaged = true;
            return;
        }
    }
}

void EpsWriter::Take(const EpsEvents& events) {
    size_t code = 0, number = 0;
    while (code < events.codes.size()) {
        const uint8_t kind = events.codes[code++];
        switch (kind) {
        case EpsEvents::kStartPage:
            StartPage(events.numbers[number], events.numbers[number + 1]);
            number += 2;
            break;
        case EpsEvents::kFill:
        case EpsEvents::kStroke:
            m_colour.Clear();
            ReadColour(events, code, number, m_colour, kind == EpsEvents::kFill);
            m_path.Clear();
            ReadPath(events, code, number, m_path);
            Paint(kind == EpsEvents::kFill, m_colour.Data(), m_colour.Size(), m_path.Data(),
                  m_path.Size());
            break;
        case EpsEvents::kEndPage:
            EndPage();
            break;
        default: // not a start of anything: the reader's side never gives it
            m_failed = true;
            return;
        }
    }
}

void EpsWriter::Take(const EpsFormattedEvents& events) {
    m_failed = m_failed || events.damaged;
    size_t number = 0, end = 0, from = 0;
    const char* text = events.text.Data();
    for (const uint8_t kind : events.codes) {
        if (kind == EpsEvents::kStartPage) {
            StartPage(events.numbers[number], events.numbers[number + 1]);
            number += 2;
        } else if (kind == EpsEvents::kEndPage) {
            EndPage();
        } else {
            const size_t colourEnd = events.ends[end++], pathEnd = events.ends[end++];
            Paint(kind == EpsEvents::kFill, text + from, colourEnd - from, text + colourEnd,
                  pathEnd - colourEnd);
            from = pathEnd;
        }
    }
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
void EpsWriter::WriteColour(const char* text, size_t n, EpsText& inForce) {
    if (inForce.Equals(text, n))
        return;
    Write(text, n);
    inForce.Assign(text, n);
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

void EpsWriter::FlushPendingFill() {
    if (m_pendingPath.Empty())
        return;
    WriteColour(m_pendingColour.Data(), m_pendingColour.Size(), m_fillInForce);
    Write(m_pendingPath);
    Write("F\n");
    m_pendingPath.Clear();
    m_pendingColour.Clear();
}

void EpsWriter::Paint(bool fill, const char* colour, size_t colourSize, const char* path,
                      size_t pathSize) {
    if (fill) {
        FlushPendingFill();
        m_pendingColour.Assign(colour, colourSize);
        m_pendingPath.Assign(path, pathSize);
        return;
    }
    if (pathSize == 0)
        return;
    const bool filledToo = m_pendingPath.Equals(path, pathSize);
    if (filledToo) {
        WriteColour(m_pendingColour.Data(), m_pendingColour.Size(), m_fillInForce);
        m_pendingPath.Clear();
        m_pendingColour.Clear();
    } else {
        FlushPendingFill();
    }
    WriteColour(colour, colourSize, m_strokeInForce);
    Write(path, pathSize);
    Write(filledToo ? "B\n" : "S\n", 2);
}
