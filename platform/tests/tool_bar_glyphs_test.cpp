#include "platform/framework/tool_bar_glyphs.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolBarGlyphs, GlyphsLieSideBySideCutAndPaddedToTheImageSize) {
    // The first is too wide and too tall, the second short and narrow.
    const std::vector<platform::ToolBarGlyph> glyphs = {{"#wx", "rb.", "yyy"}, {"g", nullptr}};
    const std::vector<uint32_t> strip = platform::ToolBarStripFromGlyphs(glyphs, 2, 2);
    const uint32_t ink = 0xFF000000u, white = 0xFFFFFFFFu, grey = 0xFF808080u;
    const uint32_t red = platform::ToolBarGlyphColour('r');
    const uint32_t blue = platform::ToolBarGlyphColour('b');
    EXPECT_EQ(strip, (std::vector<uint32_t>{ink, white, grey, 0, red, blue, 0, 0}));
    EXPECT_EQ(platform::ToolBarGlyphColour('.'), 0u);
    EXPECT_EQ(platform::ToolBarGlyphColour('?'), 0u);
    EXPECT_TRUE(platform::ToolBarStripFromGlyphs({}, 16, 16).empty());
    EXPECT_TRUE(platform::ToolBarStripFromGlyphs(glyphs, 0, 16).empty());
}

} // namespace
