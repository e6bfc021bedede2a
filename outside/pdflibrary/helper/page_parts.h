// A large page drawn in parts read side by side: its content stream is cut where a part can
// start from the state replayed before it (PlanContentParts), each part is read by a reader of
// its own (a document of its own on the same file, in a thread of its own), and the parts'
// drawing events go to the writer in order, giving the text one reading gives.
#pragma once

#include "eps_writer.h"

#include <PDFDoc.h>

#include <cstddef>

// Content smaller than this is read whole; PDFLIBRARY_PART_BYTES sets it (for tests).
constexpr size_t kDefaultMinPartBytes = 128 * 1024;
// At most this many parts.
constexpr int kMaxParts = 4;

// Draws page `page` of the file at `path` (open as `doc`) in parts to `writer`; content that
// cannot be cut safely is read whole from what was read. False, with nothing written, when the
// page is drawn better by the usual reading: small content, several content streams or
// annotations.
bool DrawPageInParts(const char* path, PDFDoc& doc, int page, EpsWriter& writer);
