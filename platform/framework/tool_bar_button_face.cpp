#include "platform/framework/tool_bar_button_face.h"

#include "platform/framework/mfc_tool_bar_button.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/resources.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string>

namespace platform {

namespace {

// About the average character of a bar's font.
constexpr int kGuessedCharWidth = 7;

std::atomic<ButtonTextMeasure> g_measure{nullptr};

} // namespace

void SetButtonTextMeasure(ButtonTextMeasure measure) {
    g_measure = measure;
}

CString ButtonFaceText(const CMFCToolBarButton& button) {
    if (!button.m_strText.IsEmpty())
        return button.m_strText;
    std::wstring s;
    if (LoadResourceString(button.m_nID, s)) {
        const size_t cut = s.find(L'\n');
        const std::wstring tip = cut == std::wstring::npos ? s : s.substr(cut + 1);
        if (!tip.empty())
            return CString(tip.c_str());
    }
    // The number by hand: the layout asks for every button at every pass.
    wchar_t digits[12];
    wchar_t* at = std::end(digits);
    *--at = L'\0';
    UINT n = button.m_nID;
    do {
        *--at = wchar_t(L'0' + n % 10);
        n /= 10;
    } while (n);
    return CString(at);
}

int ButtonFaceWidth(const CMFCToolBarButton& button, int standard) {
    ToolBarImage image;
    if (FindCommandImage(button.m_nID, &image))
        return std::max(standard, image.width + kButtonPictureMargin);
    const CString text = ButtonFaceText(button);
    const ButtonTextMeasure measure = g_measure;
    const int width = measure ? measure(text) : text.GetLength() * kGuessedCharWidth;
    return std::max(standard, width + kButtonTextMargin);
}

} // namespace platform
