#include "vector/vector_article.h"

#include "vector_fixtures.h"

#include "pivora/colour_palette.h"
#include "vector/cut_line_palette.h"
#include "vector/vector_style_pb.h"

#include <gtest/gtest.h>

#include <memory>

using platform::GdiOp;
using platform::RecordingSurface;

namespace {

class VectorArticleTest : public VectorTest {
protected:
    void SetUp() override {
        VectorTest::SetUp();
        m_page = NewPage();
        m_palette = m_page->GetColourPalette(true, eColourPaletteDefault);
        m_table = CVectorArticle::fnGetVectorStylePB(m_page.get());
        // Styles 0..5 on palette entries 0..5.
        m_table->fnResize(6);
        for (int i = 0; i < 6; ++i)
            m_table->fnMap2VectorStyle(i)->fnSetColPalIdx(i);
    }
    CVectorArticle* Closed(int style = 1) {
        auto* a = new CVectorArticle;
        a->Item(Square(0, 0, 1000));
        a->SetPaletteIndex(style);
        m_page->RootArticle()->AddChild(a);
        return a;
    }

    std::unique_ptr<CJoxPage> m_page;
    CColourPalette* m_palette = nullptr;
    CVectorStylePB* m_table = nullptr;
};

TEST_F(VectorArticleTest, NewArticleStoresItsFourFields) {
    CVectorArticle a;
    EXPECT_TRUE(EndsWith(StoreObject(&a), {
                                              0x00, 0x00, 0x04, 0x00, 0x00, 0x00, // line index
                                              0x00, 0x00, 0x00, 0x00,             //
                                              0x02, 0x00, 0x04, 0x00, 0x00, 0x00, // fill index
                                              0xFF, 0xFF, 0xFF, 0xFF,             //
                                              0x03, 0x00, 0x04, 0x00, 0x00, 0x00, // version
                                              0x03, 0x00, 0x00, 0x00,             //
                                              0x04, 0x00, 0x04, 0x00, 0x00, 0x00, // pen width
                                              0x00, 0x00, 0x00, 0x00,             //
                                              0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
                                          }));
}

TEST_F(VectorArticleTest, LoadTakesFieldsInAnyOrderAndSkipsOthers) {
    CVectorArticle a;
    std::vector<BYTE> bytes = StoreObject(&a);
    bytes.resize(bytes.size() - 46);
    const std::vector<BYTE> group = {
        0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, // pen width 7
        0x09, 0x00, 0x01, 0x00, 0x00, 0x00, 0x55,                   // unknown
        0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00,             // short fill index
        0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, // line index 12
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
    };
    bytes.insert(bytes.end(), group.begin(), group.end());
    std::unique_ptr<CVectorArticle> back(LoadObjectAs<CVectorArticle>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->PaletteIndex(), 12);
    EXPECT_EQ(back->FillPaletteIndex(), -1);
    EXPECT_EQ(back->fnGetPenWidth(), 7);
}

TEST_F(VectorArticleTest, CopyTakesTheStylesAndThePenWidth) {
    CVectorArticle a;
    a.SetPaletteIndex(4);
    a.SetFillPaletteIndex(2);
    a.fnSetPenWidth(9);
    a.Item(new CPolyTestItem({{0, 0}, {5, 5}}));
    std::unique_ptr<CVectorArticle> copy(static_cast<CVectorArticle*>(a.CopyObject(nullptr)));
    EXPECT_EQ(copy->PaletteIndex(), 4);
    EXPECT_EQ(copy->FillPaletteIndex(), 2);
    EXPECT_EQ(copy->fnGetPenWidth(), 9);
    ASSERT_TRUE(copy->GetItem());
    EXPECT_EQ(copy->GetItem()->VectCount(), 2);
    EXPECT_EQ(IsCVectorArticle(copy.get(), true), 1);
    EXPECT_EQ(IsCVectorArticle(copy.get(), false), 1);
}

TEST_F(VectorArticleTest, PropertiesComeFromTheNamedValues) {
    CVectorArticle a;
    a.SetPaletteIndex(3);
    VECTOR_PROPERTIES_TYPE p;
    CVectorArticle::GetVectorProperties(&a, &p);
    EXPECT_EQ(p.nLinePaletteIndex, 3);
    EXPECT_EQ(p.nFillColour, 1);
    EXPECT_EQ(p.nLineThickness, 0);
    EXPECT_EQ(p.nDashMarkLength, 1000);
    EXPECT_EQ(p.nDashContinuousMode, 1);
    a.fnSaveValue(L".Vector Line Style", 3, 0);
    a.fnSaveValue(L".Vector Dash Line Style", 9, 0);
    a.fnSaveValue(L".Vector Line Thickness", 21, 0);
    a.fnSaveValue(L".Vector Dash Line Thickness", INT32_MIN, 0);
    CVectorArticle::GetVectorProperties(&a, &p);
    EXPECT_EQ(p.nLinePenStyle, PS_DASHDOT);
    EXPECT_EQ(p.nDashPenStyle, PS_SOLID);
    EXPECT_EQ(p.nLineThickness, 20);
    EXPECT_EQ(p.nDashLineThickness, INT32_MIN);
    CVectorArticle::GetVectorProperties(nullptr, &p);
}

TEST_F(VectorArticleTest, LineAndFillColoursGoThroughStylesToThePalette) {
    m_palette->SetColour(2, 0x0000FF);
    m_palette->SetColour(4, 0x00FF00);
    CVectorArticle* a = Closed(2);
    COLORREF c = 1;
    EXPECT_EQ(a->GetLineColour(c), 1);
    EXPECT_EQ(c, 0x0000FFu);
    int entry = -1;
    EXPECT_EQ(a->GetLineColourIndex(entry), 1);
    EXPECT_EQ(entry, 2);
    // Pastel fill on (the default), no own fill style: the pastel tint of the line colour.
    EXPECT_EQ(a->GetFillColour(c), 1);
    EXPECT_EQ(c, m_palette->GetPastelColour(2));
    a->SetFillPaletteIndex(4);
    EXPECT_EQ(a->GetFillColour(c), 1);
    EXPECT_EQ(c, 0x00FF00u);

    QvSetAppParam(L"Use Pastel Fill", 0);
    CVectorArticle::fnResetCachedParams();
    EXPECT_EQ(a->GetFillColour(c), 1);
    EXPECT_EQ(c, 0x0000FFu);

    CVectorArticle loose;
    EXPECT_EQ(loose.GetLineColour(c), 0);
    EXPECT_EQ(c, 0u);
    // A damaged fill index draws as no fill style of its own.
    a->SetFillPaletteIndex(-7);
    QvSetAppParam(L"Use Pastel Fill", 1);
    CVectorArticle::fnResetCachedParams();
    EXPECT_EQ(a->GetFillColour(c), 1);
}

TEST_F(VectorArticleTest, SetLineColourReusesOrAppendsAStyle) {
    m_palette->SetColour(3, 0x123456);
    CVectorArticle* a = Closed(0);
    const int colours = m_palette->ColourCount();
    const int styles = m_table->fnGetSize();
    int style = -1;
    EXPECT_EQ(a->SetLineColour(0x123456, style), 1);
    EXPECT_EQ(style, 3);
    EXPECT_EQ(a->PaletteIndex(), 3);
    EXPECT_EQ(m_palette->ColourCount(), colours);
    EXPECT_EQ(m_table->fnGetSize(), styles);

    EXPECT_EQ(a->SetFillColour(0xABCDEF, style), 1);
    EXPECT_EQ(style, styles);
    EXPECT_EQ(a->FillPaletteIndex(), styles);
    EXPECT_EQ(m_palette->ColourCount(), colours + 1);
    EXPECT_EQ(m_table->fnGetSize(), styles + 1);
}

TEST_F(VectorArticleTest, TreeColourReachesEveryVectorArticleAndItem) {
    CVectorArticle* top = Closed(1);
    auto* child = new CVectorArticle;
    child->Item(new CPolyTestItem({{0, 0}, {1, 1}}));
    top->AddChild(child);
    top->SetTreeColour(5);
    EXPECT_EQ(top->PaletteIndex(), 5);
    EXPECT_EQ(child->PaletteIndex(), 5);
    EXPECT_EQ(top->GetItem()->DrawLine(), 5);
    EXPECT_EQ(child->GetItem()->DrawLine(), 5);
}

TEST_F(VectorArticleTest, TextsNameTheItemAndItsCount) {
    CVectorArticle* a = Closed(2);
    CString info = a->InfoStr(2);
    EXPECT_TRUE(info.str().ends_with(L"Col:2 Item:CPolyTestItem Cnt:5 ")) << info.ToUtf8();
    CVectorArticle empty;
    EXPECT_TRUE(empty.InfoStr(2).str().ends_with(L"Col:0 Item:NULL "));
    CString kind, count, extra = L"x";
    EXPECT_EQ(a->GetInfo(kind, count, extra), 1);
    EXPECT_EQ(kind, CString(L"Vector Object"));
    EXPECT_EQ(count, CString(L"5"));
    EXPECT_TRUE(extra.IsEmpty());
    a->SetName(CString(L"Star"));
    a->InvExtents(1);
    CString inv;
    a->fnGetInventoryDescription(inv, false);
    EXPECT_EQ(inv, CString(L"Shape : Star : 1.00 x 1.00 mm : Col=2\r\r\n"));
    EXPECT_EQ(VectorLoadString(IDS_LINE_STYLE_DASH_DOT_DOT), CString(L"Dash Dot Dot"));
    EXPECT_EQ(a->GetDefaultToolId(), 41002);
}

// ---- Drawing ----

struct Drawn {
    int strokes = 0;
    int fills = 0;
    int penWidth = -1;
    int fillMode = 0;
};

Drawn Draw(CVectorArticle* a, CJoxDC& dc, RecordingSurface& s) {
    s.Clear();
    a->OnDraw(nullptr, &dc);
    Drawn d;
    d.strokes = s.Count(GdiOp::StrokePath);
    d.fills = s.Count(GdiOp::StrokeAndFillPath);
    for (const auto& c : s.Calls())
        if (c.op == GdiOp::StrokePath || c.op == GdiOp::StrokeAndFillPath) {
            d.penWidth = c.penWidth;
            d.fillMode = c.polyFillMode;
        }
    return d;
}

TEST_F(VectorArticleTest, ClosedFilledItemIsStrokedAndFilledOpenOneOnlyStroked) {
    CVectorArticle* closed = Closed(1);
    closed->fnSaveValue(CVectorArticle::kFillOn, 1, 0);
    auto* open = new CVectorArticle;
    open->Item(new CPolyTestItem({{0, 0}, {100, 0}, {100, 100}}));
    open->fnSaveValue(CVectorArticle::kFillOn, 1, 0);
    m_page->RootArticle()->AddChild(open);

    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    Drawn d = Draw(closed, dc, s);
    EXPECT_EQ(d.fills, 1);
    EXPECT_EQ(d.strokes, 0);
    EXPECT_EQ(d.fillMode, ALTERNATE);
    d = Draw(open, dc, s);
    EXPECT_EQ(d.fills, 0);
    EXPECT_EQ(d.strokes, 1);
    EXPECT_EQ(dc.GetLevelCount(), 0);
}

TEST_F(VectorArticleTest, ScreenWidthIsLimitedToFive) {
    CVectorArticle* a = Closed(1);
    a->fnSaveValue(CVectorArticle::kLineThickness, 21, 0);
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    EXPECT_EQ(Draw(a, dc, s).penWidth, 5);
    a->fnSaveValue(CVectorArticle::kLineThickness, 3, 0);
    EXPECT_EQ(Draw(a, dc, s).penWidth, 2);
}

TEST_F(VectorArticleTest, ArticleAlreadyCutLeavesTheContextAsItWas) {
    CVectorArticle* done = Closed(1);
    done->fnSaveValue(CVectorArticle::kCutDone, 1, 0);
    done->fnSaveValue(CVectorArticle::kDashOn, 1, 0);
    CVectorArticle* next = Closed(2);
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetDrawMode(0);
    dc.fnSetClip(1);
    Drawn d = Draw(done, dc, s);
    EXPECT_EQ(s.Calls().size(), 0u);
    EXPECT_EQ(dc.GetDrawMode(), 0);
    EXPECT_EQ(dc.GetLevelCount(), 0);
    EXPECT_EQ(dc.fnGetClip(), 1);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    d = Draw(next, dc, s);
    EXPECT_EQ(d.strokes + d.fills, 1);
    EXPECT_EQ(s.Count(GdiOp::BeginPath), 1);
}

TEST_F(VectorArticleTest, AnAbortedPaintDrawsNothingAndOpensNoPath) {
    CVectorArticle* a = Closed(1);
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    dc.SetCurrentStatus(-1);
    a->OnDraw(nullptr, &dc);
    EXPECT_EQ(s.Calls().size(), 0u);
    EXPECT_EQ(dc.GetLevelCount(), 0);
}

TEST_F(VectorArticleTest, CutNextDrawsWithTheClipSwitchedOff) {
    // An item that notes the clip state it was drawn with.
    struct ClipItem : CPolyTestItem {
        ClipItem() : CPolyTestItem({{0, 0}, {10, 0}}) {}
        void OnDraw(CJoxView* v, CJoxDC* dc) override {
            seen = dc->fnGetClip();
            CPolyTestItem::OnDraw(v, dc);
        }
        int seen = -1;
    };
    auto* item = new ClipItem;
    auto* a = new CVectorArticle;
    a->Item(item);
    a->fnSaveValue(CVectorArticle::kCutNext, 1, 0);
    m_page->RootArticle()->AddChild(a);
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.fnSetClip(1);
    a->OnDraw(nullptr, &dc);
    EXPECT_EQ(item->seen, 0);
    EXPECT_EQ(dc.fnGetClip(), 1);
}

TEST_F(VectorArticleTest, DashedDoNotPrintIsLeftOffPaperOnly) {
    CVectorArticle* a = Closed(1);
    a->fnSaveValue(CVectorArticle::kDashOn, 1, 0);
    a->fnSaveValue(CVectorArticle::kDoNotPrint, 1, 0);
    RecordingSurface s;
    SurfaceDC dc(s);
    Drawn d = Draw(a, dc, s);
    EXPECT_EQ(d.strokes, 1);
    EXPECT_EQ(dc.GetDrawMode(), 0);
    dc.m_bPrinting = TRUE;
    d = Draw(a, dc, s);
    EXPECT_EQ(s.Calls().size(), 0u);
}

TEST_F(VectorArticleTest, FilledAndOpenArticlesOnTheScreen) {
    m_palette->SetColour(1, RGB(200, 0, 0));
    m_palette->SetColour(2, RGB(0, 0, 200));
    m_palette->SetColour(3, RGB(255, 220, 0));
    // A red square filled with style 3's yellow, a blue open zig-zag, and a group of two
    // squares stroked as one path (without an item of its own a group is never filled).
    CVectorArticle* square = Closed(1);
    square->fnSaveValue(CVectorArticle::kFillOn, 1, 0);
    square->fnSaveValue(CVectorArticle::kFillColour, 3, 0);
    square->fnSaveValue(CVectorArticle::kLineThickness, 4, 0);
    AddPath(*m_page, {{1200, 100}, {1500, 900}, {1800, 100}, {2100, 900}}, 2);
    auto* ring = new CVectorArticle;
    ring->SetPaletteIndex(2);
    ring->fnSaveValue(CVectorArticle::kFillOn, 1, 0);
    auto* outer = new CVectorArticle;
    outer->Item(Square(2400, 0, 1000));
    auto* inner = new CVectorArticle;
    inner->Item(Square(2700, 300, 400));
    ring->AddChild(outer);
    ring->AddChild(inner);
    m_page->RootArticle()->AddChild(ring);

    platform::RasterSurface s(400, 120);
    SurfaceDC dc(s);
    dc.SetMapMode(1);
    dc.SetWindowExt(4000, 1200);
    dc.SetViewportExt(400, -120);
    dc.SetViewportOrg(0, 110);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    m_page->OnDraw(nullptr, &dc);
    s.Flush();
    ASSERT_TRUE(s.SavePng(std::string(TEST_BINARY_DIR) + "/vector_articles.png"));
    EXPECT_EQ(s.Pixel(50, 60), RGB(255, 220, 0));
    EXPECT_EQ(s.Pixel(0, 60) & 0xFFFFFF, RGB(200, 0, 0));
}

TEST_F(VectorArticleTest, HitTestsTheItemOnlyInsideTheWidenedExtents) {
    struct HitItem : CPolyTestItem {
        HitItem() : CPolyTestItem({{0, 0}, {100, 0}, {100, 100}, {0, 0}}) {}
        int HitTestPoint(CItemHitTest*) override { return ++asked, 1; }
        int asked = 0;
    };
    auto* item = new HitItem;
    auto* a = new CVectorArticle;
    a->Item(item);
    m_page->RootArticle()->AddChild(a);
    platform::RecordingSurface s;
    SurfaceDC dc(s);
    CItemHitTest inside(&dc, CPoint(50, 50), CItemHitTest::kModePath, 3);
    EXPECT_EQ(a->HitTestPoint(&inside), 1);
    CItemHitTest near(&dc, CPoint(102, 50), CItemHitTest::kModePath, 3);
    EXPECT_EQ(a->HitTestPoint(&near), 1);
    CItemHitTest far(&dc, CPoint(110, 50), CItemHitTest::kModePath, 3);
    EXPECT_EQ(a->HitTestPoint(&far), 0);
    EXPECT_EQ(item->asked, 2);
}

TEST_F(VectorArticleTest, DistanceReachesChildArticlesWhenAsked) {
    CVectorArticle* a = Closed(1);
    auto* child = new CVectorArticle;
    child->Item(new CPolyTestItem({{5000, 0}, {6000, 0}}));
    a->AddChild(child);
    CLpoint p(5500, 10);
    double d = -1;
    EXPECT_EQ(a->fnGetDistance(p, d, 0), 1);
    EXPECT_DOUBLE_EQ(d, 4500.0 + 0.0 * 10);
    EXPECT_EQ(a->fnGetDistance(p, d, 1), 1);
    EXPECT_DOUBLE_EQ(d, 10.0);
    CVectorArticle empty;
    d = -1;
    EXPECT_EQ(empty.fnGetDistance(p, d, 1), 0);
    EXPECT_EQ(d, -1);
}

TEST_F(VectorArticleTest, MovingTheStartTellsAVectorParent) {
    struct StartItem : CPolyTestItem {
        StartItem() : CPolyTestItem({{0, 0}, {10, 0}, {10, 10}, {0, 0}}) {}
        int fnCanMoveItemStart() override { return can; }
        void fnDoMoveItemStart() override { Vect(CSb(0, CLpoint(10, 0)), 0); }
        int can = 1;
    };
    struct Parent : CVectorArticle {
        CVectorArticle* fnNotifyStartMoved() override { return ++told, nullptr; }
        int told = 0;
    };
    auto* parent = new Parent;
    auto* child = new CVectorArticle;
    auto* item = new StartItem;
    child->Item(item);
    parent->AddChild(child);
    m_page->RootArticle()->AddChild(parent);
    EXPECT_EQ(child->fnMoveStart(), 1);
    EXPECT_EQ(parent->told, 1);
    EXPECT_EQ(child->fnMoveStart(), 0); // the start no longer changes
    item->can = 0;
    EXPECT_EQ(child->fnMoveStart(), 0);
}

// ---- Merging ----

TEST_F(VectorArticleTest, MergeRGBReusesANearStyleOnlyBelowTheFirstUnused) {
    // Source design: style 1 is 0x102030.
    auto source = NewPage();
    CColourPalette* sp = source->GetColourPalette(true, eColourPaletteDefault);
    CVectorStylePB* st = CVectorArticle::fnGetVectorStylePB(source.get());
    st->fnResize(3);
    st->fnMap2VectorStyle(1)->fnSetColPalIdx(7);
    sp->SetColour(7, 0x102030);
    CParamBlkArray blocks;
    blocks.Add(st);

    // Destination: style 5 lies within distance 10 of it, style 2 is the first unused one.
    m_palette->SetColour(5, 0x102032);
    CVectorArticle* a = Closed(1);
    EXPECT_EQ(a->MergeAdjustRGBColour(m_page.get(), blocks), 2);
    EXPECT_EQ(a->PaletteIndex(), 2);
    EXPECT_EQ(m_table->fnGetVectStyleColour(2), 0x102030u);
    EXPECT_EQ(m_table->fnGetRTFlag(2, 1), 1);
    // Now style 2 holds the colour itself and comes before the first unused style (4).
    Closed(3);
    CVectorArticle* b = Closed(1);
    EXPECT_EQ(b->MergeAdjustRGBColour(m_page.get(), blocks), 2);
    // A colour 10 or more away is not reused.
    m_palette->SetColour(2, 0x10203A);
    m_palette->SetColour(5, 0x10203A);
    b->SetPaletteIndex(1);
    EXPECT_EQ(b->MergeAdjustRGBColour(m_page.get(), blocks), 4);
}

TEST_F(VectorArticleTest, MergeRGBWithEveryStyleInUseAppendsAStyle) {
    auto source = NewPage();
    CVectorStylePB* st = CVectorArticle::fnGetVectorStylePB(source.get());
    st->fnMap2VectorStyle(0)->fnSetColPalIdx(0);
    source->GetColourPalette(true, eColourPaletteDefault)->SetColour(0, 0x00ABCD);
    CParamBlkArray blocks;
    blocks.Add(st);
    for (int i = 1; i < m_table->fnGetSize(); ++i)
        m_table->fnSetRTFlag(i, 1);
    CVectorArticle* a = Closed(0);
    const int styles = m_table->fnGetSize();
    EXPECT_EQ(a->MergeAdjustRGBColour(m_page.get(), blocks), styles);
    EXPECT_EQ(a->PaletteIndex(), styles);
    EXPECT_EQ(m_table->fnGetVectStyleColour(styles), 0x00ABCDu);
}

TEST_F(VectorArticleTest, MergeIntoAnEmptyTableGivesAStyleNotMinusOne) {
    auto source = NewPage();
    CVectorStylePB* st = CVectorArticle::fnGetVectorStylePB(source.get());
    source->GetColourPalette(true, eColourPaletteDefault)->SetColour(0, 0x445566);
    CParamBlkArray blocks;
    blocks.Add(st);
    m_table->fnRemoveAll();
    CVectorArticle* a = Closed(0);
    a->MergeAdjust(blocks);
    EXPECT_EQ(a->PaletteIndex(), 0);
    EXPECT_EQ(m_table->fnGetVectStyleColour(0), 0x445566u);

    QvSetAppParam(L"Paste RGB Vector Colours", 0);
    m_table->fnRemoveAll();
    a->MergeAdjust(blocks);
    EXPECT_EQ(a->PaletteIndex(), 0);
}

// ---- Designs ----

TEST_F(VectorArticleTest, DesignWithBothTablesSavesOpensAndSavesIdentically) {
    AddPath(*m_page, {{0, 0}, {100, 0}, {100, 100}, {0, 0}}, 2);
    CVectorArticle* b = AddPath(*m_page, {{5, 5}, {50, 5}}, 4);
    b->SetFillPaletteIndex(3);
    b->fnSaveValue(CVectorArticle::kFillOn, 1, 0);
    auto* lines = new CCutLinePalette(m_page.get(), 6);
    lines->fnSetCutLineName(CString(L"Kiss cut\tVinyl"), 2);
    m_page->AddParam(lines);

    const std::vector<BYTE> first = StorePage(*m_page);
    auto back = NewPage();
    LoadPage(*back, first);
    EXPECT_EQ(StorePage(*back), first);

    auto* table = CVectorArticle::fnGetVectorStylePB(back.get());
    EXPECT_EQ(table->fnWasSerialisedIn(), 1);
    EXPECT_EQ(table->fnGetSize(), 6);
    EXPECT_NE(table->fnGetVectStyleColourPalette(), nullptr);
    auto* loaded = DynamicDowncast<CVectorArticle>(back->RootArticle()->GetFirstChild());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->PaletteIndex(), 2);
    ASSERT_TRUE(loaded->GetItem());
    EXPECT_EQ(loaded->GetItem()->VectCount(), 4);
}

} // namespace
