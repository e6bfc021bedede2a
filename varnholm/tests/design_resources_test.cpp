#include "varnholm/design_resources.h"

#include "sorvane_host.h"

#include "maltrec/colour_tool_bar.h"
#include "maltrec/cutoutput/colour_box.h"
#include "platform/display/control_actions.h"
#include "platform/display/display.h"
#include "platform/display/display_probe.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/accelerator.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"
#include "vector/vector_article.h"
#include "vector/vector_style.h"
#include "vector/vector_style_pb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Titles(const std::vector<MenuTemplateItem>& items) {
    std::vector<std::wstring> out;
    for (const MenuTemplateItem& i : items)
        out.push_back(i.text ? i.text : L"-");
    return out;
}

std::vector<UINT> Ids(const std::vector<MenuTemplateItem>& items) {
    std::vector<UINT> out;
    for (const MenuTemplateItem& i : items)
        out.push_back(i.id);
    return out;
}

TEST(DesignResources, TheDesignMenuHoldsEveryPopupAndTheOutputCommands) {
    const MenuTemplate* m = platform::FindMenuTemplate(IDR_DESIGN_WINDOW);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(Titles(m->items),
              (std::vector<std::wstring>{L"&Design", L"&Output", L"&Edit", L"&View", L"&Tools",
                                         L"&Window", L"&Options", L"&Help"}));
    EXPECT_EQ(Ids(m->items[1].popup), (std::vector<UINT>{23070, 23071, 23072}));
    EXPECT_EQ(Ids(m->items[4].popup), (std::vector<UINT>{34619, 0, 43046, 0, 43186, 0, 43397}));
    const auto& edit = m->items[2].popup;
    ASSERT_EQ(edit.size(), 27u);
    EXPECT_EQ(edit[24].text, std::wstring(L"Placement"));
    EXPECT_EQ(edit[24].popup.size(), 6u);
    EXPECT_EQ(edit[26].id, 23073u);
}

TEST(DesignResources, WithoutADesignTheMenuOffersTheCutters) {
    const MenuTemplate* m = platform::FindMenuTemplate(IDR_NO_DESIGN);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(Titles(m->items), (std::vector<std::wstring>{L"&Design", L"&Options", L"&Help"}));
    const auto& cutters = m->items[0].popup[3];
    EXPECT_EQ(cutters.text, std::wstring(L"Cutters"));
    EXPECT_EQ(Ids(cutters.popup), (std::vector<UINT>{32816, 50014, 32820}));
}

TEST(DesignResources, AcceleratorsToolbarAndTexts) {
    struct Case {
        UINT table;
        int count;
    } cases[] = {{IDR_DESIGN_WINDOW, 13}, {IDR_NO_DESIGN, 2}};
    for (const Case& c : cases) {
        HACCEL a = LoadAcceleratorsW(nullptr, c.table);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(CopyAcceleratorTableW(a, nullptr, 0), c.count) << c.table;
    }
    const ToolBarTemplate* t = platform::FindToolBarTemplate(IDR_CUTTING_TOOLBAR);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->items.size(), 22u);
    EXPECT_EQ(std::vector<UINT>(t->items.end() - 4, t->items.end()),
              (std::vector<UINT>{23070, 23071, 23072, 23073}));
    // Every button has a picture of its own.
    std::set<std::vector<uint32_t>> pictures;
    for (UINT id : t->items) {
        platform::ToolBarImage image;
        if (id == 0)
            continue;
        ASSERT_TRUE(platform::FindCommandImage(id, &image)) << id;
        ASSERT_EQ(image.width, 16);
        ASSERT_EQ(image.height, 16);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < image.height; ++y)
            pixels.insert(pixels.end(), image.pixels + size_t(y * image.stride),
                          image.pixels + size_t(y * image.stride + image.width));
        EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; }),
                  20)
            << id;
        pictures.insert(pixels);
    }
    EXPECT_EQ(pictures.size(), 16u);
    wchar_t text[128] = {};
    ASSERT_GT(LoadStringW(nullptr, 23071, text, 128), 0);
    EXPECT_EQ(std::wstring(text), L"Send design to cutter\nSend to Cutter");
}

// On a display: the design window's menu bar and cutting toolbar show the tables. For a person
// to look at, the main window with a design open.
using DesignWindowOnDisplay = SorvaneDisplayHost;

TEST_F(DesignWindowOnDisplay, ShowsItsMenuBarAndCuttingToolbar) {
    m_frame->ShowWindow(SW_SHOWNORMAL);
    ASSERT_NE(Open(), nullptr);
    ::SendMessageW(view->m_hWnd, CDesignView::WM_CONTEXT_ACTIVATED, 0, 0);
    // The design window's menu on the frame, as the frame shows it while a design is active.
    ::SetMenu(m_frame->m_hWnd, ::LoadMenuW(nullptr, IDR_DESIGN_WINDOW));
    platform::display::Flush();
    const std::vector<std::wstring> menu = platform::display::MenuBarShown(m_frame->m_hWnd);
    std::vector<std::wstring> titles, tools;
    for (size_t i = 0; i < menu.size(); ++i) {
        if (menu[i][0] == L' ')
            continue;
        titles.push_back(menu[i]);
        for (size_t k = i + 1; menu[i] == L"&Tools" && k < menu.size() && menu[k][0] == L' '; ++k)
            tools.push_back(menu[k]);
    }
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"&Design", L"&Output", L"&Edit", L"&View",
                                                 L"&Tools", L"&Window", L"&Options", L"&Help"}));
    EXPECT_EQ(tools, (std::vector<std::wstring>{L"  Simulate output", L"  -", L"  Selector", L"  -",
                                                L"  Show Length", L"  -", L"  Add color"}));
    CCustomToolBar* cutting = QvGetToolBar(int(CSorvaneView::kCuttingToolBarSlot), 0);
    ASSERT_NE(cutting, nullptr);
    const std::vector<std::wstring> buttons = platform::display::ToolBarShown(cutting->m_hWnd);
    ASSERT_EQ(buttons.size(), 16u);
    EXPECT_EQ(std::vector<std::wstring>(buttons.end() - 4, buttons.end()),
              (std::vector<std::wstring>{L"New Roll", L"Send to Cutter", L"Send to VELM Cutter",
                                         L"Cutter Design Size"}));
    // Placed before its neighbour, the colour toolbar.
    CRect colourRect, cuttingRect;
    QvGetToolBar(int(CSorvaneView::kColourToolBarSlot), 0)->GetWindowRect(&colourRect);
    cutting->GetWindowRect(&cuttingRect);
    // Before it on its row, or on an earlier row when the two do not fit on one.
    EXPECT_TRUE(cuttingRect.top < colourRect.top ||
                (cuttingRect.top == colourRect.top && cuttingRect.right <= colourRect.left));
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->m_hWnd, std::string(TEST_BINARY_DIR) +
                                                                       "/design_window.png"));
}

TEST_F(DesignWindowOnDisplay, TheColourListShowsAndAPickColoursTheSelection) {
    m_frame->ShowWindow(SW_SHOWNORMAL);
    ASSERT_NE(Open(), nullptr);
    CVectorStylePB* styles = page->StyleTable();
    styles->fnResize(3);
    for (int i = 0; i < 3; ++i)
        styles->fnMap2VectorStyle(i)->fnSetColPalIdx(i);
    CVectorArticle* square = AddSquare(page, 0, 0);
    ASSERT_NE(square, nullptr);
    page->AddObjectSelection(square, 1, 1);
    ::SendMessageW(view->m_hWnd, CDesignView::WM_CONTEXT_ACTIVATED, 0, 0);
    platform::display::Flush();
    auto* bar = dynamic_cast<CColourToolBar*>(QvGetToolBar(CColourToolBar::kSlot, 0));
    ASSERT_TRUE(bar && bar->GetColourList());
    const HWND list = bar->GetColourList()->m_hWnd;
    // The list itself, not a button labelled with its command.
    EXPECT_TRUE(platform::display::IsShownOnScreen(list));
    EXPECT_TRUE(platform::display::ToolBarShown(bar->m_hWnd).empty());

    ASSERT_TRUE(platform::display::ChooseComboWidgetEntry(list, 2));
    platform::display::Flush();
    Pump();
    EXPECT_EQ(bar->fnCurrentColourIdx(), 2);
    EXPECT_EQ(platform::display::ComboWidgetText(list).rfind(L"Col 3", 0), 0u);
    int style = -1;
    square->GetPaletteIndex(style);
    EXPECT_EQ(style, 2);
    EXPECT_TRUE(platform::display::SaveScreenshot(
        m_frame->m_hWnd, std::string(TEST_BINARY_DIR) + "/design_window_colours.png"));
}

} // namespace
