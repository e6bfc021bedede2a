// The EPS writer from drawing events, without a reader: what each kind of event becomes.
#include "../helper/eps_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using E = EpsEvents;

// Builds events: a path is its paint, its colour and its segments.
struct Events {
    EpsEvents ev;
    Events& Code(E::Code c, std::vector<double> numbers = {}) {
        ev.codes.push_back(c);
        ev.numbers.insert(ev.numbers.end(), numbers.begin(), numbers.end());
        return *this;
    }
    Events& Path(E::Code paint, E::Code colour, std::vector<double> colourParts,
                 std::vector<std::vector<double>> segments, bool closed = false) {
        Code(paint).Code(colour, colourParts);
        for (const auto& s : segments)
            Code(s.size() == 6 ? E::kCurve : &s == &segments.front() ? E::kMove : E::kLine, s);
        if (closed)
            Code(E::kClose);
        return Code(E::kPathEnd);
    }
};

// The text written for `events`, between the end of the setup and the trailer.
std::string Body(const EpsEvents& events, bool* ok = nullptr) {
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    EpsWriter writer(f);
    writer.Take(events);
    const bool finished = writer.Finish();
    if (ok)
        *ok = finished;
    std::fclose(f);
    std::string text(data, size);
    std::free(data);
    const size_t from = text.find("%%EndSetup\n");
    const size_t to = text.find("%%PageTrailer");
    if (from == std::string::npos || to == std::string::npos)
        return "(no page) " + text;
    return text.substr(from + 11, to - from - 11);
}

} // namespace

TEST(EpsWriter, PathsPaintsAndColours) {
    Events fillThenStroke;
    fillThenStroke.Code(E::kStartPage, {200, 100})
        .Path(E::kFill, E::kRgb, {1, 0, 0}, {{0, 0}, {10, 0}, {10, 10}}, true)
        .Path(E::kStroke, E::kGray, {0.5}, {{0, 0}, {10, 0}, {10, 10}}, true)
        .Code(E::kEndPage);
    EXPECT_EQ(Body(fillThenStroke.ev), "1 0 0 Xa\n0.5 G\n0 0 m\n10 0 l\n10 10 l\nclosepath\nB\n");

    // A stroke of another path: the fill stands alone; colours in force are not written again.
    Events twoPaths;
    twoPaths.Code(E::kStartPage, {200, 100})
        .Path(E::kFill, E::kCmyk, {0, 1, 0, 0}, {{0, 0}, {1, 2, 3, 4, 5, 6}})
        .Path(E::kStroke, E::kNoColour, {}, {{7, 7}, {8, 8}})
        .Path(E::kStroke, E::kNoColour, {}, {{9, 9}, {8, 8}})
        .Path(E::kFill, E::kCmyk, {0, 1, 0, 0}, {{1, 1}, {2, 2}})
        .Code(E::kEndPage);
    EXPECT_EQ(Body(twoPaths.ev), "0 1 0 0 k\n0 0 m\n1 2 3 4 5 6 c\nF\n0 G\n7 7 m\n8 8 l\nS\n"
                                 "9 9 m\n8 8 l\nS\n1 1 m\n2 2 l\nF\n");

    // A stroke with no segments writes nothing and leaves a waiting fill waiting.
    Events empty;
    empty.Code(E::kStartPage, {200, 100})
        .Path(E::kFill, E::kGray, {0}, {{0, 0}, {1, 1}})
        .Path(E::kStroke, E::kGray, {1}, {})
        .Code(E::kEndPage);
    EXPECT_EQ(Body(empty.ev), "0 g\n0 0 m\n1 1 l\nF\n");
}

TEST(EpsWriter, HeaderAndEventsTakenInBatches) {
    Events first, second;
    first.Code(E::kStartPage, {595.3, 841.9}).Path(E::kFill, E::kGray, {0}, {{0, 0}, {1, 1}});
    second.Path(E::kStroke, E::kGray, {0}, {{0, 0}, {1, 1}}).Code(E::kEndPage);
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    EpsWriter writer(f);
    writer.Take(first.ev);
    writer.Take(second.ev); // the fill waits across batches and meets its stroke
    EXPECT_TRUE(writer.Finish());
    std::fclose(f);
    const std::string text(data, size);
    std::free(data);
    EXPECT_EQ(text.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u);
    EXPECT_NE(text.find("%%BoundingBox: 0 0 596 842\n%%HiResBoundingBox: 0 0 595.3 841.9\n"),
              std::string::npos);
    EXPECT_NE(text.find("%%EndSetup\n0 g\n0 G\n0 0 m\n1 1 l\nB\n%%PageTrailer\n%%Trailer\n%%EOF\n"),
              std::string::npos);
}

// Events whose numbers were written elsewhere (FormatEvents) give the same text, in batches
// that split a fill from the stroke that meets it.
TEST(EpsWriter, FormattedEventsWriteTheSameText) {
    Events first, second;
    first.Code(E::kStartPage, {595.3, 841.9})
        .Path(E::kStroke, E::kRgb, {0.25, 0.5, 1}, {{0.12345, 1}, {1, 2, 3, 4, 5, 6}}, true)
        .Path(E::kFill, E::kCmyk, {0, 1, 0, 0.5}, {{0, 0}, {1, 1}});
    second.Path(E::kStroke, E::kGray, {0}, {{0, 0}, {1, 1}})
        .Path(E::kFill, E::kNoColour, {}, {})
        .Path(E::kStroke, E::kGray, {0}, {})
        .Code(E::kEndPage);
    auto write = [&](bool formatted) {
        char* data = nullptr;
        size_t size = 0;
        FILE* f = open_memstream(&data, &size);
        {
            EpsWriter writer(f);
            for (const Events* e : {&first, &second}) {
                if (formatted) {
                    EpsFormattedEvents text;
                    FormatEvents(e->ev, &text);
                    writer.Take(text);
                } else {
                    writer.Take(e->ev);
                }
            }
            EXPECT_TRUE(writer.Finish());
        }
        std::fclose(f);
        std::string out(data, size);
        std::free(data);
        return out;
    };
    const std::string direct = write(false);
    EXPECT_NE(direct.find("0.25 0.5 1 XA\n0.1235 1 m\n1 2 3 4 5 6 c\nclosepath\nS\n"
                          "0 1 0 0.5 k\n0 G\n0 0 m\n1 1 l\nB\n"),
              std::string::npos)
        << direct;
    EXPECT_EQ(write(true), direct);
}

TEST(EpsWriter, AnEventThatStartsNothingFailsTheWrite) {
    Events bad;
    bad.Code(E::kStartPage, {10, 10}).Code(E::kClose).Code(E::kEndPage);
    bool ok = true;
    Body(bad.ev, &ok);
    EXPECT_FALSE(ok);
}

TEST(EpsWriter, LinesStayUnder255CharactersAndKeepEveryNumber) {
    // Far-off points (a damaged or hostile page) make numbers of about forty digits each.
    const double far = 3.0e38, farGrey = 1.0e40;
    Events huge;
    huge.Code(E::kStartPage, {10, 10})
        .Path(E::kStroke, E::kCmyk, {far, far, far, far},
              {{0, 0}, {far, -far, far, far, -far, far}, {1.5, 2}})
        .Path(E::kFill, E::kGray, {farGrey}, {{0, 0}, {far, far}})
        .Code(E::kEndPage);
    const std::string body = Body(huge.ev);
    size_t from = 0, numbers = 0;
    std::vector<std::string> words;
    while (from < body.size()) {
        const size_t end = body.find('\n', from);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LT(end - from, 255u) << body.substr(from, end - from);
        from = end + 1;
    }
    std::istringstream in(body);
    for (std::string w; in >> w;)
        words.push_back(w);
    for (const std::string& w : words)
        numbers += (w[0] == '-' || (w[0] >= '0' && w[0] <= '9')) ? 1 : 0;
    // 4 + 2 + 6 + 2 numbers of the stroke, 1 + 2 + 2 of the fill.
    EXPECT_EQ(numbers, 19u);
    EXPECT_NE(std::find(words.begin(), words.end(), "K"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "c"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "F"), words.end());

    // Ordinary lines keep their numbers on one line.
    Events plain;
    plain.Code(E::kStartPage, {10, 10})
        .Path(E::kStroke, E::kGray, {0}, {{0, 0}, {1, 2, 3, 4, 5, 6}})
        .Code(E::kEndPage);
    EXPECT_EQ(Body(plain.ev), "0 G\n0 0 m\n1 2 3 4 5 6 c\nS\n");
}
