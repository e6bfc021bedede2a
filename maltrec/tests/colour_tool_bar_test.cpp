#include "maltrec/colour_tool_bar.h"

#include "maltrec/cutoutput/colour_box.h"
#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/colour_palette.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/surface.h"
#include "spline/spline_item.h"
#include "toolbars/toolbar_registry.h"
#include "vector/vector_article.h"
#include "vector/vector_style.h"
#include "vector/vector_style_pb.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Qt's font database keeps what fontconfig gives it for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

constexpr UINT kToolbarResource = 29470;

class ColourToolBar : public AppSettingsTest {
protected:
    void SetUp() override {
        AppSettingsTest::SetUp();
        m_page.m_bAutoDelete = FALSE; // the test owns the page
        platform::RegisterToolBarTemplate(
            {kToolbarResource, 23, 22, {CColourToolBar::ID_COLOUR_LIST}});
        // Styles 0..3 on palette entries 0, 1, 2 and one beyond the palette.
        CColourPalette* palette = m_page.GetColourPalette(true, eColourPaletteDefault);
        palette->Resize(3);
        palette->SetColour(0, RGB(0, 0, 0));
        palette->SetColour(1, RGB(255, 0, 0));
        palette->SetColour(2, RGB(0, 0, 255));
        CVectorStylePB* styles = CVectorArticle::fnGetVectorStylePB(&m_page);
        styles->fnResize(4);
        for (int i = 0; i < 4; ++i)
            styles->fnMap2VectorStyle(i)->fnSetColPalIdx(i == 3 ? 7 : i);
        m_host.CreateEx(0, L"Static", L"host", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0);
        m_view = static_cast<CDesignView*>(RUNTIME_CLASS(CDesignView)->CreateObject());
        m_page.AddView(m_view);
        m_view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &m_host, 1);
        ASSERT_TRUE(m_bar.Create(&m_host, WS_CHILD | WS_VISIBLE, 60047, kToolbarResource));
        m_bar.OnReset();
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        m_view->DestroyWindow();
        m_host.DestroyWindow();
        AppSettingsTest::TearDown();
    }
    CVectorArticle* Path(int style) {
        auto* s = new CSplineItem;
        for (CLpoint p : {CLpoint(0, 0), CLpoint(1000, 0), CLpoint(1000, 1000), CLpoint(0, 0)})
            s->Vect(CSb(CSplineItem::kBreak, p));
        s->MakeCurves();
        auto* a = new CVectorArticle;
        a->Item(s);
        a->SetPaletteIndex(style);
        m_page.RootArticle()->AddChild(a);
        return a;
    }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        CMFCToolBarColourBox* b = m_bar.GetMFCColourList();
        for (int i = 0; i < b->GetCount(); ++i)
            rows.push_back(b->GetItem(i));
        return rows;
    }

    CDesignPage m_page;
    CWnd m_host;
    CDesignView* m_view = nullptr;
    CColourToolBar m_bar;
};

TEST_F(ColourToolBar, RowsForStylesInsideThePaletteAndTheSelectionsColour) {
    EXPECT_EQ(m_bar.fnCurrentColourIdx(), 1); // no choice yet
    m_bar.SetView(m_view);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Col 1  ", L"Col 2  ", L"Col 3  "}));
    ASSERT_NE(m_bar.GetColourList(), nullptr);
    EXPECT_EQ(m_bar.GetColourList()->GetCount(), 3);
    EXPECT_EQ(CColourBox::GetColourRef(m_view, 2), RGB(0, 0, 255));
    EXPECT_EQ(CColourBox::GetColourRef(m_view, 9), 0u);

    CColourBox* box = m_bar.GetColourList();
    EXPECT_EQ(box->SetSelectedStatus(), -1); // nothing selected
    ASSERT_NE(m_page.AddObjectSelection(Path(1), 0, 1), nullptr);
    EXPECT_EQ(box->SetSelectedStatus(), 1);
    m_bar.OnSelectionChanged();
    EXPECT_EQ(m_bar.fnCurrentColourIdx(), 1);
    EXPECT_EQ(m_bar.GetMFCColourList()->GetCurSel(), 1);
    ASSERT_NE(m_page.AddObjectSelection(Path(2), 0, 1), nullptr);
    EXPECT_EQ(box->SetSelectedStatus(), -1); // two colours: no row marked
}

TEST_F(ColourToolBar, APickReachesTheViewAndEnterAndEscapeAreTheLists) {
    m_bar.SetView(m_view);
    CColourBox* box = m_bar.GetColourList();
    box->SetCurSel(2);
    ::SendMessageW(m_bar.m_hWnd, WM_COMMAND,
                   MAKEWPARAM(CColourToolBar::ID_COLOUR_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(box->m_hWnd));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, m_view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(msg.wParam), CColourBox::ID_APPLY_COLOUR);
    EXPECT_EQ(m_bar.fnCurrentColourIdx(), 2);

    MSG enter{box->m_hWnd, WM_KEYDOWN, WPARAM(VK_RETURN), 0, 0, {}};
    EXPECT_TRUE(box->PreTranslateMessage(&enter));
    ASSERT_TRUE(::PeekMessageW(&msg, box->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(msg.wParam), CColourBox::ID_COLOUR_LIST);
    MSG other{box->m_hWnd, WM_KEYDOWN, WPARAM('A'), 0, 0, {}};
    EXPECT_FALSE(box->PreTranslateMessage(&other));
    EXPECT_EQ(m_bar.EnableDocking(0), CColourToolBar::kDockAlignment);
}

TEST_F(ColourToolBar, RowsAreDrawnWithTheirSwatch) {
    m_bar.SetView(m_view);
    MEASUREITEMSTRUCT mis{ODT_COMBOBOX, CColourToolBar::ID_COLOUR_LIST, 0, 0, 0, 0};
    ::SendMessageW(m_bar.m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemHeight, UINT(CColourBox::kRowHeight));
    EXPECT_EQ(mis.itemWidth, UINT(CColourToolBar::kListWidth + 20));

    platform::RasterSurface raster(120, 15 * 3);
    CDC dc;
    dc.Attach(platform::CreateSurfaceDC(&raster));
    for (int row = 0; row < 3; ++row) {
        DRAWITEMSTRUCT dis{
            ODT_COMBOBOX,   CColourToolBar::ID_COLOUR_LIST,        UINT(row),
            ODA_DRAWENTIRE, row == 1 ? ODS_SELECTED : 0u,          m_bar.GetColourList()->m_hWnd,
            dc.m_hDC,       RECT{0, row * 15, 120, row * 15 + 15}, 0};
        ::SendMessageW(m_bar.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }
    // The swatches sit 30 to 2 pixels before the right edge.
    EXPECT_EQ(dc.GetPixel(105, 7), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(105, 22), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(105, 37), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(60, 37), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(dc.GetPixel(60, 22), GetSysColor(COLOR_HIGHLIGHT)); // the selected row
    raster.Flush();
    EXPECT_TRUE(raster.SavePng(std::string(TEST_BINARY_DIR) + "/colour_list.png"));
}

} // namespace
