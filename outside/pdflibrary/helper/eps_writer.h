// Writes the EPS text of a page from its drawing events: the header and prolog, each path as
// m l c closepath painted with S, F or B (a fill followed by a stroke of the same path text is
// one filled and stroked path), colours only where they change, and the trailer.
#pragma once

#include "eps_events.h"
#include "eps_text.h"

#include <cstddef>
#include <cstdio>

class EpsWriter {
public:
    explicit EpsWriter(FILE* out);
    EpsWriter(const EpsWriter&) = delete;
    EpsWriter& operator=(const EpsWriter&) = delete;

    // Writes what `events` describe, continuing from the events taken before.
    void Take(const EpsEvents& events);
    // Hands the file what is still held; false when any write failed.
    bool Finish();

private:
    void StartPage(double width, double height);
    void EndPage();
    void Fill();
    void Stroke();
    // Read the next colour or path from the events being taken, appending its text to `out`.
    void ReadColour(EpsText& out, bool fill);
    void ReadPath(EpsText& out);
    void FlushPendingFill();
    void Write(const char* text, size_t n);
    void Write(const EpsText& text) { Write(text.Data(), text.Size()); }
    template <size_t N> void Write(const char (&literal)[N]) { Write(literal, N - 1); }
    void WriteColour(const EpsText& text, EpsText& inForce);
    void FlushBuffer();

    FILE* m_out;
    bool m_failed = false;
    // Where Take() is in its events.
    const EpsEvents* m_events = nullptr;
    size_t m_code = 0;
    size_t m_number = 0;
    // The text goes out in large blocks.
    EpsText m_buffer;
    // A fill waits for the stroke that may follow with the same path (PDF's B).
    EpsText m_pendingPath;
    EpsText m_pendingColour;
    // The colours the file has set so far (the prolog starts both black, but says nothing).
    EpsText m_fillInForce;
    EpsText m_strokeInForce;
    // Working text, kept to reuse its memory.
    EpsText m_path;
    EpsText m_colour;
};
