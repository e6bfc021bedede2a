// Toolbar buttons show the pictures registered for their commands, the text otherwise.
#include "platform/display/tool_bar_widget.h"

#include "display_fixture.h"
#include "platform/display/control_actions.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/mfc_tool_bar_combo_box_button.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/resources.h"

#include <QComboBox>
#include <QImage>
#include <QToolButton>

#include <cstdlib>
#include <memory>

namespace {

constexpr UINT kBar = 8201, kPen = 8211, kKnife = 8212, kText = 8213, kList = 8214;

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

TEST_F(ToolBarWidgetTest, AComboButtonShowsItsListAndAPickReachesTheModel) {
    platform::RegisterToolBarTemplate({kBar + 1, 16, 15, {kPen, kList}});
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(
        frame->Create(nullptr, L"Tools", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 120)));
    auto tools = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(tools->CreateEx(frame));
    ASSERT_TRUE(tools->LoadToolBar(kBar + 1));
    CMFCToolBarComboBoxButton list(kList, -1, CBS_DROPDOWNLIST, 120);
    list.SetDropDownHeight(200);
    for (const wchar_t* row : {L"Red", L"Green", L"Blue"})
        list.AddItem(row);
    list.SelectItem(0);
    tools->ReplaceButton(kList, list);
    tools->AdjustLayout();
    frame->RecalcLayout();
    Pump();
    auto* hosted = dynamic_cast<CMFCToolBarComboBoxButton*>(tools->GetButton(1));
    ASSERT_TRUE(hosted && hosted->GetComboBox());
    const HWND combo = hosted->GetComboBox()->m_hWnd;
    auto* bar = Widget(tools->m_hWnd);
    auto* shown = qobject_cast<QComboBox*>(Widget(combo));
    ASSERT_TRUE(bar && shown);
    // The list where the button is, inside the bar, in place of a labelled button.
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->parentWidget(), bar);
    EXPECT_EQ(shown->geometry().left(), hosted->m_rect.left);
    EXPECT_EQ(shown->width(), 120);
    EXPECT_LE(shown->geometry().bottom(), bar->height() - 1);
    EXPECT_EQ(shown->count(), 3);
    EXPECT_EQ(platform::display::ComboWidgetText(combo), L"Red");
    auto buttons = bar->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_TRUE(buttons[0]->isVisible());
    EXPECT_FALSE(buttons[1]->isVisible());

    ASSERT_TRUE(platform::display::ChooseComboWidgetEntry(combo, 2));
    Pump();
    EXPECT_EQ(hosted->GetCurSel(), 2);
    EXPECT_EQ(platform::display::ComboWidgetText(combo), L"Blue");
    EXPECT_FALSE(platform::display::ChooseComboWidgetEntry(combo, 3));
    bar->grab().save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/tool_bar_combo.png"));
    frame->DestroyWindow(); // before the bar, which is the caller's
}

TEST_F(ToolBarWidgetTest, BarsShareARowAndStandUprightOnTheLeft) {
    platform::RegisterToolBarTemplate({kBar, 16, 15, {kPen, kKnife, 0, kText}});
    ASSERT_TRUE(platform::RegisterToolBarImages(kBar, 16, 16, Pictures()));
    platform::RegisterStrings({{kText, L"Lettering\nText"}});
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(
        frame->Create(nullptr, L"Tools", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 320, 200)));
    CDockingManager docking(frame);
    std::unique_ptr<CMFCToolBar> bars[3];
    for (int i = 0; i < 3; ++i) {
        bars[i] = std::make_unique<CMFCToolBar>();
        ASSERT_TRUE(bars[i]->CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                      CRect(1, 1, 1, 1), UINT(700 + i)));
        ASSERT_TRUE(bars[i]->LoadToolBar(kBar));
        docking.EnableDocking(bars[i].get(), CBRS_ALIGN_ANY);
    }
    docking.DockPane(bars[0].get());
    docking.DockPane(bars[1].get());
    docking.DockPane(bars[2].get(), AFX_IDW_DOCKBAR_LEFT);
    Pump();
    QWidget* top0 = Widget(bars[0]->m_hWnd);
    QWidget* top1 = Widget(bars[1]->m_hWnd);
    QWidget* left = Widget(bars[2]->m_hWnd);
    ASSERT_TRUE(top0 && top1 && left);
    EXPECT_EQ(top1->geometry().topLeft(), top0->geometry().topRight() + QPoint(1, 0));
    EXPECT_EQ(left->geometry().top(), top0->geometry().bottom() + 1);
    EXPECT_GT(left->height(), left->width());
    // Each button where the layout put it: the text button as wide as its text needs.
    const auto shown = left->findChildren<QToolButton*>();
    ASSERT_EQ(shown.size(), 4);
    for (int i : {0, 1, 3}) {
        const CRect& r = bars[2]->GetButton(i)->m_rect;
        EXPECT_EQ(shown[i]->geometry(), QRect(r.left, r.top, r.Width(), r.Height())) << i;
    }
    EXPECT_EQ(shown[1]->geometry().top(), shown[0]->geometry().bottom() + 1);
    EXPECT_GE(shown[3]->width(), shown[3]->fontMetrics().horizontalAdvance(QStringLiteral("Text")));
    Widget(frame->m_hWnd)
        ->grab()
        .save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/tool_bars_docked.png"));
    for (auto& b : bars)
        docking.RemovePane(b.get());
    frame->DestroyWindow(); // before the bars, which are the caller's
}

} // namespace
