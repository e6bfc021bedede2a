// The program's toolbars as a person meets them: every button has a picture, a status prompt
// and a tip.
#include "kelvane/app/app_resources.h"

#include "app_fixture.h"

#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/resources.h"

#include <string>

namespace {

using AppResources = AppFixture;

TEST_F(AppResources, EveryToolbarButtonHasAPicturePromptAndTip) {
    ASSERT_TRUE(Start());
    for (UINT bar :
         {kelvane::IDR_MAINFRAME, kelvane::IDR_VIEW_TOOLBAR, kelvane::IDR_LAYOUT_TOOLBAR}) {
        const ToolBarTemplate* t = platform::FindToolBarTemplate(bar);
        ASSERT_NE(t, nullptr) << bar;
        for (UINT id : t->items) {
            if (id == 0)
                continue;
            platform::ToolBarImage image;
            EXPECT_TRUE(platform::FindCommandImage(id, &image)) << id;
            wchar_t text[256] = {};
            LoadStringW(nullptr, id, text, 256);
            const std::wstring s = text;
            const size_t cut = s.find(L'\n');
            ASSERT_NE(cut, std::wstring::npos) << bar << ": " << id;
            EXPECT_GT(cut, 0u) << id;
            EXPECT_LT(cut + 1, s.size()) << id;
        }
    }
}

} // namespace
