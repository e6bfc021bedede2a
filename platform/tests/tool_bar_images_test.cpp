#include "platform/framework/tool_bar_images.h"

#include "platform/framework/mfc_tool_bar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A strip of `count` 2 x 1 images whose pixels name their image: 0xFF0000nn.
std::vector<uint32_t> Strip(int count) {
    std::vector<uint32_t> px;
    for (int i = 0; i < count; ++i)
        px.insert(px.end(), {0xFF000000u | uint32_t(i), 0xFF000000u | uint32_t(i)});
    return px;
}

TEST(ToolBarImages, ACommandFindsItsImageInTheFirstStripWhoseResourceHoldsIt) {
    platform::RegisterToolBarTemplate({8101, 16, 15, {501, 0, 502, 503}});
    platform::RegisterToolBarTemplate({8102, 16, 15, {503, 504}});
    ASSERT_TRUE(platform::RegisterToolBarImages(8101, 2, 1, Strip(2))); // 503 has no image here
    ASSERT_TRUE(platform::RegisterToolBarImages(8102, 2, 1, Strip(2)));
    struct Case {
        UINT cmd;
        bool found;
        uint32_t pixel;
    } cases[] = {{501, true, 0xFF000000u}, {502, true, 0xFF000001u}, {503, true, 0xFF000000u},
                 {504, true, 0xFF000001u}, {505, false, 0},          {0, false, 0}};
    for (const Case& c : cases) {
        platform::ToolBarImage image;
        ASSERT_EQ(platform::FindCommandImage(c.cmd, &image), c.found) << c.cmd;
        if (!c.found)
            continue;
        EXPECT_EQ(image.width, 2) << c.cmd;
        EXPECT_EQ(image.stride, 4) << c.cmd;
        EXPECT_EQ(image.pixels[1], c.pixel) << c.cmd;
    }
}

TEST(ToolBarImages, ABadStripIsRefusedAndTheOldOneKept) {
    platform::RegisterToolBarTemplate({8103, 16, 15, {601}});
    ASSERT_TRUE(platform::RegisterToolBarImages(8103, 2, 1, Strip(1)));
    struct Bad {
        const char* name;
        int w, h;
        size_t pixels;
    } bad[] = {{"partial image", 2, 2, 6},
               {"empty", 2, 1, 0},
               {"no width", 0, 1, 2},
               {"too large", platform::kMaxToolBarImageSize + 1, 1,
                size_t(platform::kMaxToolBarImageSize + 1)}};
    for (const Bad& b : bad)
        EXPECT_FALSE(
            platform::RegisterToolBarImages(8103, b.w, b.h, std::vector<uint32_t>(b.pixels)))
            << b.name;
    platform::ToolBarImage image;
    ASSERT_TRUE(platform::FindCommandImage(601, &image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
}

} // namespace
