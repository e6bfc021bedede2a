// Where a page's content stream can be cut so that its parts are read side by side, each by a
// reader of its own: only after a path is painted or a saved state is given back, where no path
// is open at any level and no text object or compatibility section is. Each part first
// replays, with its drawing ignored, the state operators (cm, gs and the colour operators) of
// each saved state open at its start, outermost first and each after its q, then opens again
// the marked content open there, so that it starts from the state the whole reading would have
// reached.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

struct ContentPart {
    size_t begin = 0, end = 0; // the part's bytes in the content
    std::string preamble;      // the state it replays first, its drawing ignored
    std::string marks;         // the marked content it opens again, in its own reading
};

// Cuts `content` into about `parts` parts of nearly equal size, handing each to `ready` as soon
// as the scan has passed it, so that its reading can start while the scan goes on. False when
// the content cannot be cut safely (inline images, an unmatched Q, damaged strings or arrays,
// no place to cut): parts already handed over must then be dropped.
bool PlanContentParts(const std::string& content, int parts,
                      const std::function<void(ContentPart&&)>& ready);
