// Toolbar pictures written as rows of characters, one character a pixel, so a deliverable can
// keep its button pictures as plain data: '.' (or anything not in the palette) lets the bar show
// through; '#' ink, 'w' white, 'g' grey, 'b' blue, 'r' red, 'y' yellow, 'n' green.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

using ToolBarGlyph = std::vector<const char*>;

// The colour a glyph character stands for (0xAARRGGBB); 0 for a clear pixel.
uint32_t ToolBarGlyphColour(char c);

// The glyphs side by side as a strip of width x height images, ready for
// RegisterToolBarImages: rows and characters past the size are cut, missing ones are clear.
std::vector<uint32_t> ToolBarStripFromGlyphs(const std::vector<ToolBarGlyph>& glyphs, int width,
                                             int height);

} // namespace platform
