#include "outside/quintar/quintar.h"

#include "platform/framework/create_context.h"
#include "platform/framework/document.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/window.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

// A sheet twice as wide as high, and a reader that draws one placed copy: a diagonal across the
// sheet's left half.
class TileView : public ::testing::Test {
protected:
    void SetUp() override {
        m_doc.m_bAutoDelete = FALSE; // the test's, not its last view's
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, L"tiles", WS_POPUP | WS_VISIBLE,
                                     CRect(0, 0, 420, 320), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        m_view = new CQuintar;
        ASSERT_TRUE(m_view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 420, 320),
                                   &m_frame, 1, &context));
    }
    void TearDown() override {
        CQuintar::SetSheetReader({});
        m_frame.DestroyWindow();
    }
    void Read(bool holdsSheet) {
        CQuintar::SetSheetReader(
            {[holdsSheet](CDocument*, CQuintar::SheetExtents& s, CQuintar::SheetExtents& used) {
                 s = {0, 0, 2000000, 1000000};
                 used = {0, 0, 1000000, 1000000};
                 return holdsSheet;
             },
             [this](CDocument* doc, CDC* dc, const RECT& device, const CQuintar::SheetExtents&) {
                 m_drawnFor = doc;
                 m_device = device;
                 CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
                 CPen* old = dc->SelectObject(&pen);
                 const LONG mid = (device.left + device.right) / 2;
                 dc->MoveTo(device.left, device.bottom);
                 dc->LineTo(mid, device.top);
                 dc->SelectObject(old);
             }});
    }
    COLORREF Pixel(int x, int y) {
        m_view->Invalidate(TRUE);
        m_view->UpdateWindow();
        return platform::GetWindowSurface(m_view->m_hWnd)->Pixel(x, y);
    }

    CWnd m_frame;
    CDocument m_doc;
    CQuintar* m_view = nullptr;
    CDocument* m_drawnFor = nullptr;
    RECT m_device{};
};

TEST_F(TileView, TheSheetIsShownAtItsSizeWithItsOutlineAndWhatItHolds) {
    Read(true);
    const CRect at = CQuintar::FitSheet(CRect(0, 0, 420, 320), {0, 0, 2000000, 1000000});
    EXPECT_EQ(at, CRect(10, 60, 410, 260));     // 400 by 200: the width decides, centred in height
    EXPECT_EQ(Pixel(5, 5), COLORREF(0xA0A0A0)); // round the sheet
    EXPECT_EQ(Pixel(at.left, at.top + 50), COLORREF(0)); // the outline
    EXPECT_EQ(Pixel(at.right - 1, at.top + 50), COLORREF(0));
    EXPECT_EQ(Pixel(at.left + 300, at.bottom - 1), COLORREF(0));
    EXPECT_EQ(Pixel(at.left + 300, at.top + 50), COLORREF(0xFFFFFF)); // the empty sheet
    EXPECT_EQ(m_drawnFor, &m_doc);
    EXPECT_EQ(CRect(m_device), at);
    EXPECT_EQ(Pixel(at.left + 100, at.top + 100), COLORREF(0xFF0000)); // the placed copy
}

TEST_F(TileView, WithoutASheetTheWindowIsAnEmptyPage) {
    EXPECT_EQ(Pixel(5, 5), COLORREF(0xFFFFFF)); // no reader
    Read(false);
    EXPECT_EQ(Pixel(5, 5), COLORREF(0xFFFFFF));
    EXPECT_EQ(Pixel(210, 160), COLORREF(0xFFFFFF));
    EXPECT_EQ(m_drawnFor, nullptr);
}

// A sheet is shown whole and centred; a roll goes across the window from its start, as far as
// the window reaches or as far as it holds copies.
TEST(TileViewFit, ASheetIsShownWholeAndARollFromItsStart) {
    using E = CQuintar::SheetExtents;
    const CRect client(0, 0, 420, 320);
    const E nothing = {0, 0, -1, -1};
    struct Case {
        const char* name;
        E sheet;
        E used;
        CRect want;
    } cases[] = {
        {"square", {0, 0, 1000, 1000}, nothing, CRect(60, 10, 360, 310)},
        {"upright A4", {0, 0, 210000, 297000}, nothing, CRect(104, 10, 316, 310)},
        {"roll used at its start",
         {0, 0, 2000000, 50000100},
         {0, 0, 100000, 100000},
         CRect(10, -9690, 410, 310)},
        {"roll used for 40 m",
         {0, 0, 2000000, 50000100},
         {0, 0, 2000000, 40000000},
         CRect(202, -65, 217, 310)},
        {"roll across", {0, 0, 50000000, 2000000}, nothing, CRect(10, 10, 7510, 310)},
        {"no width", {0, 0, 0, 1000}, nothing, CRect()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuintar::FitSheet(client, c.sheet, c.used), c.want) << c.name;
    EXPECT_EQ(CQuintar::FitSheet(CRect(0, 0, 15, 320), {0, 0, 1000, 1000}), CRect());
}

} // namespace
