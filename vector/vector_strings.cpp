// The library's string table.
#include "vector/vector_article.h"

#include "platform/windowing/dialog_template.h"

#include <string>

namespace {

const std::pair<UINT, const wchar_t*> kStrings[] = {
    {IDS_VECTOR_OBJECT, L"Vector Object"},  {IDS_VECTOR_SHAPE, L"Shape"},
    {IDS_VECTOR_UNASSIGNED, L"Unassigned"}, {IDS_LINE_STYLE_SOLID, L"Solid"},
    {IDS_LINE_STYLE_DASHED, L"Dashed"},     {IDS_LINE_STYLE_DOTTED, L"Dotted"},
    {IDS_LINE_STYLE_DASH_DOT, L"Dash Dot"}, {IDS_LINE_STYLE_DASH_DOT_DOT, L"Dash Dot Dot"},
};

// Registered when the library loads, so a language library registered later replaces them.
const bool kRegistered = [] {
    for (const auto& s : kStrings)
        platform::RegisterStrings({s});
    return true;
}();

} // namespace

CString VectorLoadString(UINT id) {
    (void)kRegistered;
    std::wstring text;
    if (platform::LoadResourceString(id, text))
        return CString(text.c_str());
    for (const auto& s : kStrings)
        if (s.first == id)
            return CString(s.second);
    return CString();
}
