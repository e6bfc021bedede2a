#include "varnholm/design_resources.h"

#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/accelerator.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

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
    wchar_t text[128] = {};
    ASSERT_GT(LoadStringW(nullptr, 23071, text, 128), 0);
    EXPECT_EQ(std::wstring(text), L"Send design to cutter\nSend to Cutter");
}

} // namespace
