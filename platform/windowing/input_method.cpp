#include "platform/windowing/input_method.h"

#include <map>
#include <memory>

namespace {

struct Context {
    HWND window = nullptr;
    COMPOSITIONFORM form{CFS_DEFAULT, {0, 0}, {0, 0, 0, 0}};
    LOGFONTW font{};
};

std::map<HWND, std::unique_ptr<Context>>& Contexts() {
    static std::map<HWND, std::unique_ptr<Context>> m;
    return m;
}

Context* Of(HIMC h) {
    for (auto& [w, c] : Contexts())
        if (c.get() == h)
            return c.get();
    return nullptr;
}

} // namespace

HIMC ImmGetContext(HWND hwnd) {
    if (!::IsWindow(hwnd))
        return nullptr;
    auto& slot = Contexts()[hwnd];
    if (!slot) {
        slot = std::make_unique<Context>();
        slot->window = hwnd;
        slot->font.lfHeight = -12;
    }
    return slot.get();
}

BOOL ImmReleaseContext(HWND, HIMC context) {
    return Of(context) != nullptr;
}

BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form) {
    Context* c = Of(context);
    if (!c || !form)
        return FALSE;
    *form = c->form;
    return TRUE;
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
    Context* c = Of(context);
    if (!c || !form)
        return FALSE;
    c->form = *form;
    return TRUE;
}

BOOL ImmGetCompositionFontW(HIMC context, LOGFONTW* font) {
    Context* c = Of(context);
    if (!c || !font)
        return FALSE;
    *font = c->font;
    return TRUE;
}

BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font) {
    Context* c = Of(context);
    if (!c || !font)
        return FALSE;
    c->font = *font;
    return TRUE;
}

namespace platform {

bool GetInputMethodState(HWND hwnd, COMPOSITIONFORM* form, LOGFONTW* font) {
    auto it = Contexts().find(hwnd);
    if (it == Contexts().end() || !::IsWindow(hwnd))
        return false;
    if (form)
        *form = it->second->form;
    if (font)
        *font = it->second->font;
    return true;
}

} // namespace platform
