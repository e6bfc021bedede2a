#include "platform/windowing/icon.h"

#include <map>
#include <memory>

namespace {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Every image ever registered stays alive: handles given out must never dangle.
struct IconTable {
    std::vector<std::unique_ptr<IconImage>> images;
    std::map<UINT, IconImage*> byId;
};

IconTable& Table() {
    static IconTable t;
    return t;
}

const IconImage* Image(HICON icon) {
    for (const auto& i : Table().images)
        if (i.get() == icon)
            return i.get();
    return nullptr;
}

} // namespace

namespace platform {

void RegisterIcon(UINT id, int width, int height, std::vector<uint32_t> pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height))
        return;
    auto image = std::make_unique<IconImage>(IconImage{width, height, std::move(pixels)});
    Table().byId[id] = image.get();
    Table().images.push_back(std::move(image));
}

bool GetIconSize(HICON icon, SIZE* size) {
    const IconImage* i = Image(icon);
    if (!i)
        return false;
    if (size)
        *size = SIZE{i->width, i->height};
    return true;
}

} // namespace platform

HICON LoadIconW(HINSTANCE, LPCWSTR name) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    auto it = Table().byId.find(UINT(ULONG_PTR(name)));
    return it != Table().byId.end() ? it->second : nullptr;
}

BOOL DestroyIcon(HICON icon) {
    return Image(icon) != nullptr;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    const IconImage* i = Image(icon);
    if (!i || !hdc)
        return FALSE;
    for (int row = 0; row < i->height; ++row)
        for (int col = 0; col < i->width; ++col) {
            uint32_t p = i->pixels[size_t(row) * size_t(i->width) + size_t(col)];
            if ((p >> 24) >= 128)
                SetPixel(hdc, x + col, y + row, RGB(BYTE(p >> 16), BYTE(p >> 8), BYTE(p)));
        }
    return TRUE;
}

BOOL IsIconic(HWND hwnd) {
    return IsWindow(hwnd) && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_MINIMIZE) != 0;
}
