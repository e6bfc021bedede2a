// A page's path drawing as the reader hands it over, kept in order for the EPS writer: each
// painted path is its paint (fill or stroke), its colour and its segments, with their numbers
// (points already on the page, colour parts from 0 to 1) in a row beside the codes.
#pragma once

#include <cstdint>
#include <vector>

struct EpsEvents {
    enum Code : uint8_t {
        kStartPage, // width, height
        kFill,      // then a colour, segments, kPathEnd
        kStroke,    // the same
        kNoColour,  // the colour: none given
        kGray,      // gray
        kCmyk,      // c, m, y, k
        kRgb,       // r, g, b
        kMove,      // x, y
        kLine,      // x, y
        kCurve,     // x1, y1, x2, y2, x3, y3
        kClose,
        kPathEnd,
        kEndPage,
    };

    std::vector<uint8_t> codes;
    std::vector<double> numbers;

    void Clear() {
        codes.clear();
        numbers.clear();
    }
    bool Empty() const { return codes.empty(); }
};
