// Pictures of toolbar buttons. A toolbar resource's bitmap is registered as a strip: one image per
// button of the resource (separators have none), left to right, each width x height pixels
// 0xAARRGGBB, so the strip is (count * width) x height, row by row. A command shows the image it
// has in the first strip (by resource id) whose resource holds it; without one, its text.
#pragma once

#include "platform/core/types.h"

#include <cstdint>
#include <vector>

namespace platform {

constexpr int kMaxToolBarImageSize = 64;

// False, keeping what was registered, for a strip that is not a whole number of images or an
// image size outside 1..kMaxToolBarImageSize. Later registrations of a resource replace earlier.
bool RegisterToolBarImages(UINT resourceId, int width, int height, std::vector<uint32_t> strip);

struct ToolBarImage {
    int width = 0, height = 0;
    const uint32_t* pixels = nullptr; // the image's top-left pixel
    int stride = 0;                   // pixels from one row of the image to the next
};
// The picture of a command's button; false when no registered strip has one.
bool FindCommandImage(UINT cmd, ToolBarImage* image);
// Image index of a registered strip (a toolbar control's bitmap); false when it has none.
bool FindStripImage(UINT resourceId, int index, ToolBarImage* image);

} // namespace platform
