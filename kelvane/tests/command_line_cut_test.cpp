// The cut from end to end: a design saved by the program, opened from its command line, sent
// from its design window to a cutter on the file port; the file holds one cut per path.
#include "kelvane/tests/app_fixture.h"

#include "design/design_page.h"
#include "felgrin/felgrin_utils.h"
#include "hobrand/media_manager_setup.h"
#include "outside/quintar/quintar.h"
#include "pivora/geometry/sb.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/window.h"
#include "varnholm/sorvane_view.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A closed outline of `corners` corners, a letter's size, at x.
void AddOutline(CDesignPage* page, LONG x, int corners) {
    constexpr DWORD kCorner = 0x200;
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    ASSERT_NE(item, nullptr);
    std::vector<CSb> sb;
    for (int i = 0; i < corners; ++i) {
        const double a = 6.283185307 * i / corners;
        sb.emplace_back(kCorner, CLpoint(LONG(x + 4000 + 4000 * std::cos(a)),
                                         LONG(10000 + 6000 * std::sin(a))));
    }
    sb.push_back(sb.front());
    item->InsertElement(-1, sb.data(), int(sb.size()));
    auto* a = new CVectorArticle;
    a->Item(item);
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
}

// The strokes between ",U," moves, each "x,y,D,...".
std::vector<std::string> Cuts(const std::string& body) {
    const std::string up = ",U,";
    std::vector<std::string> out;
    for (size_t at = body.find(up); at != std::string::npos;) {
        const size_t next = body.find(up, at + up.size());
        out.push_back(body.substr(
            at + up.size(), next == std::string::npos ? std::string::npos : next - at - up.size()));
        at = next;
    }
    return out;
}

class CommandLineCut : public AppFixture {};

TEST_F(CommandLineCut, ADesignOpenedFromTheCommandLineIsCutOncePerPathOnTheFilePort) {
    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());

    const std::string design = box.Path("sign.kdx");
    {
        CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
        auto* page = dynamic_cast<CDesignPage*>(doc);
        ASSERT_NE(page, nullptr);
        const int letters[] = {4, 7, 12, 5, 9};
        for (size_t i = 0; i < std::size(letters); ++i)
            AddOutline(page, LONG(10000 * i), letters[i]);
        ASSERT_TRUE(doc->OnSaveDocument(CString(design)));
        doc->OnCloseDocument();
    }
    Restart({design});
    ASSERT_EQ(DesignCount(), 1);
    POSITION docs = app->DesignTemplate()->GetFirstDocPosition();
    CDocument* doc = app->DesignTemplate()->GetNextDoc(docs);
    POSITION views = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(views);
    ASSERT_NE(view, nullptr);
    // The sheet set-up and the output settings are taken as they stand.
    platform::ScopedDialogResponder accept(
        [](HWND dialog, UINT) { ::SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0); });
    view->GetParentFrame()->SendMessage(WM_COMMAND, CSorvaneView::ID_SEND_TO_CUTTER, 0);
    Pump();
    // The Tiles tab tells what was cut: the sheet's outline with the five copies placed on it.
    CDocTemplate* sheets = app->DocTemplateForContext(kSheetContext);
    ASSERT_NE(sheets, nullptr);
    POSITION at = sheets->GetFirstDocPosition();
    CDocument* sheet = at ? sheets->GetNextDoc(at) : nullptr;
    ASSERT_NE(sheet, nullptr);
    POSITION tileViews = sheet->GetFirstViewPosition();
    auto* tiles = dynamic_cast<CQuintar*>(sheet->GetNextView(tileViews));
    ASSERT_NE(tiles, nullptr);
    tiles->Invalidate(TRUE);
    tiles->UpdateWindow();
    auto* shown = dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(tiles->m_hWnd));
    ASSERT_NE(shown, nullptr);
    shown->SavePng(std::string(TEST_BINARY_DIR) + "/tiles_after_send.png");
    CRect client, outline(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    tiles->GetClientRect(&client);
    std::vector<CPoint> ink;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x)
            if (shown->Pixel(x, y) == 0) {
                ink.emplace_back(x, y);
                outline =
                    CRect(std::min(outline.left, LONG(x)), std::min(outline.top, LONG(y)),
                          std::max(outline.right, LONG(x)), std::max(outline.bottom, LONG(y)));
            }
    // The roll's width across the window, its start at the bottom, and drawing inside it.
    EXPECT_EQ(outline.left, CQuintar::kMargin);
    EXPECT_EQ(outline.right, client.Width() - CQuintar::kMargin - 1);
    EXPECT_EQ(outline.bottom, client.Height() - CQuintar::kMargin - 1);
    int inside = 0;
    for (const CPoint& p : ink)
        inside += p.x > outline.left && p.x < outline.right && p.y < outline.bottom;
    EXPECT_GT(inside, 100);
    // The cutter's document ends with the sheet documents.
    sheets->CloseAllDocuments(TRUE);
    FelgrinUtils::QuitCutterDriver();
    std::ifstream in(box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream sent;
    sent << in.rdbuf();
    const std::string out = sent.str();
    // The medium re-read, the output start, then the cuts and the feed with the deselect.
    const std::string head = ";:ER;:HOA,ECN,U,;:HOA,ECN,U,", tail = ",e@";
    ASSERT_GE(out.size(), head.size() + tail.size()) << out;
    EXPECT_EQ(out.substr(0, head.size()), head) << out;
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << out;
    // One cut per path, each pen-down stroke ending where its pen-up move left the knife.
    const std::vector<std::string> cuts =
        Cuts(out.substr(head.size(), out.size() - head.size() - tail.size()));
    ASSERT_EQ(cuts.size(), 5u) << out;
    for (const std::string& cut : cuts) {
        const size_t down = cut.find(",D,");
        ASSERT_NE(down, std::string::npos) << cut;
        const std::string start = cut.substr(0, down);
        EXPECT_EQ(cut.substr(cut.size() - start.size() - 1), "," + start) << cut;
        EXPECT_EQ(cut.find(",D,", down + 1), std::string::npos) << cut;
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
