#include "platform/framework/tool_bar_button_face.h"

#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kBar = 8301, kPictured = 8311, kTipped = 8312, kPlain = 8313, kNoTip = 8314;

int TenPerChar(const CString& text) {
    return 10 * text.GetLength();
}

TEST(ToolBarButtonFace, APictureElseATextSetsTheWidth) {
    platform::RegisterToolBarTemplate({kBar, 16, 15, {kPictured}});
    ASSERT_TRUE(platform::RegisterToolBarImages(kBar, 16, 16, std::vector<uint32_t>(16 * 16)));
    platform::RegisterStrings({{kTipped, L"Cut the selection\nCut"}, {kNoTip, L"Weed"}});
    platform::SetButtonTextMeasure(TenPerChar);
    CMFCToolBarButton own(kPlain);
    own.m_strText = L"Lettering";
    const struct {
        CMFCToolBarButton button;
        const wchar_t* text;
        int width; // with the standard 23
    } cases[] = {
        {CMFCToolBarButton(kPictured), L"8311", 23},
        {CMFCToolBarButton(kTipped), L"Cut", 3 * 10 + platform::kButtonTextMargin},
        {CMFCToolBarButton(kNoTip), L"Weed", 4 * 10 + platform::kButtonTextMargin},
        {own, L"Lettering", 9 * 10 + platform::kButtonTextMargin},
        {CMFCToolBarButton(kPlain), L"8313", 4 * 10 + platform::kButtonTextMargin},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ButtonFaceText(c.button), CString(c.text)) << c.button.m_nID;
        EXPECT_EQ(platform::ButtonFaceWidth(c.button, 23), c.width) << c.button.m_nID;
    }
    // A large standard wins; a picture wider than the button widens it.
    EXPECT_EQ(platform::ButtonFaceWidth(CMFCToolBarButton(kTipped), 80), 80);
    EXPECT_EQ(platform::ButtonFaceWidth(CMFCToolBarButton(kPictured), 16),
              16 + platform::kButtonPictureMargin);
    platform::SetButtonTextMeasure(nullptr);
    EXPECT_GT(platform::ButtonFaceWidth(CMFCToolBarButton(kNoTip), 0), 0);
}

} // namespace
