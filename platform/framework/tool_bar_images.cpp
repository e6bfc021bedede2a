#include "platform/framework/tool_bar_images.h"

#include "platform/framework/mfc_tool_bar.h"

#include <map>

namespace {

struct Strip {
    int width = 0, height = 0, count = 0;
    std::vector<uint32_t> pixels;
};

std::map<UINT, Strip>& Strips() {
    static std::map<UINT, Strip> strips;
    return strips;
}

} // namespace

namespace platform {

bool RegisterToolBarImages(UINT resourceId, int width, int height, std::vector<uint32_t> strip) {
    if (width <= 0 || height <= 0 || width > kMaxToolBarImageSize ||
        height > kMaxToolBarImageSize || strip.empty() ||
        strip.size() % (size_t(width) * size_t(height)) != 0)
        return false;
    Strip s;
    s.width = width;
    s.height = height;
    s.count = int(strip.size() / (size_t(width) * size_t(height)));
    s.pixels = std::move(strip);
    Strips()[resourceId] = std::move(s);
    return true;
}

bool FindCommandImage(UINT cmd, ToolBarImage* image) {
    if (!cmd || !image)
        return false;
    for (const auto& [resource, strip] : Strips()) {
        const ToolBarTemplate* t = FindToolBarTemplate(resource);
        if (!t)
            continue;
        int index = 0;
        for (UINT id : t->items) {
            if (id == 0)
                continue;
            if (id == cmd) {
                if (index >= strip.count)
                    break;
                image->width = strip.width;
                image->height = strip.height;
                image->stride = strip.width * strip.count;
                image->pixels = strip.pixels.data() + size_t(index) * size_t(strip.width);
                return true;
            }
            ++index;
        }
    }
    return false;
}

bool FindStripImage(UINT resourceId, int index, ToolBarImage* image) {
    auto it = Strips().find(resourceId);
    if (!image || it == Strips().end() || index < 0 || index >= it->second.count)
        return false;
    const Strip& strip = it->second;
    image->width = strip.width;
    image->height = strip.height;
    image->stride = strip.width * strip.count;
    image->pixels = strip.pixels.data() + size_t(index) * size_t(strip.width);
    return true;
}

} // namespace platform
