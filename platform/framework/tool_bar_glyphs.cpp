#include "platform/framework/tool_bar_glyphs.h"

#include <cstring>

namespace platform {

uint32_t ToolBarGlyphColour(char c) {
    switch (c) {
    case '#':
        return 0xFF000000u;
    case 'w':
        return 0xFFFFFFFFu;
    case 'g':
        return 0xFF808080u;
    case 'b':
        return 0xFF1040C0u;
    case 'r':
        return 0xFFC02020u;
    case 'y':
        return 0xFFE8C020u;
    case 'n':
        return 0xFF208030u;
    default:
        return 0;
    }
}

std::vector<uint32_t> ToolBarStripFromGlyphs(const std::vector<ToolBarGlyph>& glyphs, int width,
                                             int height) {
    if (width <= 0 || height <= 0 || glyphs.empty())
        return {};
    const size_t stride = size_t(width) * glyphs.size();
    std::vector<uint32_t> strip(stride * size_t(height), 0);
    for (size_t g = 0; g < glyphs.size(); ++g) {
        const ToolBarGlyph& rows = glyphs[g];
        for (size_t y = 0; y < rows.size() && y < size_t(height); ++y) {
            const char* row = rows[y];
            const size_t length = row ? std::strlen(row) : 0;
            for (size_t x = 0; x < length && x < size_t(width); ++x)
                strip[y * stride + g * size_t(width) + x] = ToolBarGlyphColour(row[x]);
        }
    }
    return strip;
}

} // namespace platform
