// Writes the EPS text of a page from its drawing events: the header and prolog, each path as
// m l c closepath painted with S, F or B (a fill followed by a stroke of the same path text is
// one filled and stroked path), colours only where they change, and the trailer.
#pragma once

#include "eps_events.h"
#include "eps_text.h"

#include <cstddef>
#include <cstdio>
#include <vector>

// Drawing events with each path's colour and segments already written as text, so that the
// numbers can be written where the events were gathered (FormatEvents).
struct EpsFormattedEvents {
    std::vector<uint8_t> codes;  // kStartPage, kFill, kStroke or kEndPage
    std::vector<double> numbers; // the page's width and height at kStartPage
    std::vector<size_t> ends;    // for each paint: the end of its colour text, of its path text
    EpsText text;
    bool damaged = false; // the events held a code that starts nothing
    bool stopped = false; // the reading stopped before the end (nothing after it is read)
};

// The events' colours and paths as text, for EpsWriter::Take.
void FormatEvents(const EpsEvents& events, EpsFormattedEvents* out);

class EpsWriter {
public:
    explicit EpsWriter(FILE* out);
    EpsWriter(const EpsWriter&) = delete;
    EpsWriter& operator=(const EpsWriter&) = delete;

    // Writes what `events` describe, continuing from the events taken before.
    void Take(const EpsEvents& events);
    void Take(const EpsFormattedEvents& events);
    // Hands the file what is still held; false when any write failed.
    bool Finish();

private:
    void StartPage(double width, double height);
    void EndPage();
    // A path painted with its colour's and its segments' text.
    void Paint(bool fill, const char* colour, size_t colourSize, const char* path, size_t pathSize);
    void FlushPendingFill();
    void Write(const char* text, size_t n);
    void Write(const EpsText& text) { Write(text.Data(), text.Size()); }
    template <size_t N> void Write(const char (&literal)[N]) { Write(literal, N - 1); }
    void WriteColour(const char* text, size_t n, EpsText& inForce);
    void FlushBuffer();

    FILE* m_out;
    bool m_failed = false;
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
