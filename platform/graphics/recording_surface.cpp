#include "platform/graphics/surface.h"

#include "platform/core/cstring.h"

#include <sstream>

namespace platform {

const char* GdiOpName(GdiOp op) {
    static const char* names[] = {
        "MoveTo",       "LineTo",     "Polyline",   "Polygon",           "PolyBezier",
        "PolyBezierTo", "Rectangle",  "Ellipse",    "RoundRect",         "Arc",
        "FillRect",     "FrameRect",  "InvertRect", "FillRgn",           "SetPixel",
        "TextOut",      "BitBlt",     "PatBlt",     "BeginPath",         "EndPath",
        "AbortPath",    "StrokePath", "FillPath",   "StrokeAndFillPath", "PolylineTo"};
    size_t i = size_t(op);
    return i < sizeof names / sizeof names[0] ? names[i] : "?";
}

void RecordingSurface::Draw(const GdiCall& c, const DrawState& s) {
    RecordedCall r;
    r.op = c.op;
    if (c.pts && c.count > 0)
        r.pts.assign(c.pts, c.pts + c.count);
    if (c.types && c.count > 0)
        r.types.assign(c.types, c.types + c.count);
    r.rect = c.rect;
    if (c.text && c.textLength > 0)
        r.text.assign(c.text, size_t(c.textLength));
    r.colour = c.colour;
    r.rasterOp = c.rasterOp;
    r.rop = s.rop;
    r.penStyle = s.penStyle;
    r.penWidth = s.penWidth;
    r.penColour = s.penColour;
    r.bkMode = s.bkMode;
    r.polyFillMode = s.polyFillMode;
    r.brushStyle = s.brushStyle;
    r.brushColour = s.brushColour;
    r.clipped = s.clip != nullptr;
    m_calls.push_back(std::move(r));
}

std::vector<RecordedCall> RecordingSurface::Calls(GdiOp op) const {
    std::vector<RecordedCall> out;
    for (const auto& c : m_calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

int RecordingSurface::Count(GdiOp op) const {
    int n = 0;
    for (const auto& c : m_calls)
        n += c.op == op;
    return n;
}

std::string RecordingSurface::Dump() const {
    std::ostringstream os;
    for (const auto& c : m_calls) {
        os << GdiOpName(c.op);
        for (const POINT& p : c.pts)
            os << ' ' << p.x << ',' << p.y;
        if (c.rect.left || c.rect.top || c.rect.right || c.rect.bottom)
            os << " [" << c.rect.left << ',' << c.rect.top << ',' << c.rect.right << ','
               << c.rect.bottom << ']';
        if (!c.text.empty())
            os << " \"" << ToUtf8(c.text.c_str()) << '"';
        os << " rop=" << c.rop << '\n';
    }
    return os.str();
}

} // namespace platform
