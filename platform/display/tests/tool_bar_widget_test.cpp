// Toolbar buttons show the pictures registered for their commands, the text otherwise.
#include "platform/display/tool_bar_widget.h"

#include "display_fixture.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/resources.h"

#include <QImage>
#include <QToolButton>

#include <cstdlib>
#include <memory>

namespace {

constexpr UINT kBar = 8201, kPen = 8211, kKnife = 8212, kText = 8213;

// 16 x 16 pictures: a diagonal stroke for the pen, a filled wedge for the knife.
std::vector<uint32_t> Pictures() {
    std::vector<uint32_t> strip(32 * 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (std::abs(x - y) < 2)
                strip[size_t(y * 32 + x)] = 0xFF2040A0u;
            if (x >= y)
                strip[size_t(y * 32 + 16 + x)] = 0xFFA02020u;
        }
    return strip;
}

using ToolBarWidgetTest = DisplayTest;

TEST_F(ToolBarWidgetTest, ButtonsShowTheirCommandsPicturesAndTheRestTheirText) {
    platform::RegisterToolBarTemplate({kBar, 16, 15, {kPen, kKnife, 0, kText}});
    ASSERT_TRUE(platform::RegisterToolBarImages(kBar, 16, 16, Pictures()));
    platform::RegisterStrings({{kText, L"Lettering\nText"}});
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(
        frame->Create(nullptr, L"Tools", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 120)));
    auto tools = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(tools->CreateEx(frame));
    ASSERT_TRUE(tools->LoadToolBar(kBar));
    tools->SetButtonStyle(1, TBBS_DISABLED);
    frame->RecalcLayout();
    Pump();
    auto* bar = dynamic_cast<platform::display::ToolBarWidget*>(Widget(tools->m_hWnd));
    ASSERT_NE(bar, nullptr);
    auto buttons = bar->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 4);
    struct Case {
        int button;
        bool pictured;
        const char* tip;
    } cases[] = {{0, true, "8211"}, {1, true, "8212"}, {3, false, "Text"}};
    for (const Case& c : cases) {
        QToolButton* b = buttons[c.button];
        EXPECT_EQ(!b->icon().isNull(), c.pictured) << c.button;
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(c.tip)) << c.button;
    }
    EXPECT_EQ(buttons[3]->toolButtonStyle(), Qt::ToolButtonTextOnly);
    const QImage pen = buttons[0]->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(pen.pixel(5, 5), 0xFF2040A0u);
    EXPECT_EQ(qAlpha(pen.pixel(12, 2)), 0);
    EXPECT_FALSE(buttons[1]->isEnabled());
    bar->grab().save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/tool_bar_images.png"));
    frame->DestroyWindow(); // before the bar, which is the caller's
}

} // namespace
