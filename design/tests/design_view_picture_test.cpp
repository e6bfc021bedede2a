// The drawing copied to the clipboard as a metafile picture, and the composition window of the
// input method placed at the tool's caret.
#include "design/design_view.h"

#include "design/tests/design_host.h"
#include "pivora/article.h"
#include "pivora/item.h"
#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"
#include "platform/windowing/input_method.h"

#include <climits>

namespace {

// A rectangle that draws its outline.
class CFrameItem : public CItem {
public:
    explicit CFrameItem(const CWindow& box) : m_box(box) {}
    void OnDraw(CJoxView*, CJoxDC* dc) override {
        dc->MoveTo(m_box.x1, m_box.y1);
        dc->LineTo(m_box.x2, m_box.y1);
        dc->LineTo(m_box.x2, m_box.y2);
        dc->LineTo(m_box.x1, m_box.y2);
        dc->LineTo(m_box.x1, m_box.y1);
    }

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

struct Access : CDesignView {
    static void SaveMetafile(CDesignView* v) { (v->*(&Access::OnSaveMetafile))(); }
};

class PictureTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        platform::ResetClipboard();
        ASSERT_NE(Open(), nullptr);
    }
    void TearDown() override {
        platform::ResetClipboard();
        DesignHost::TearDown();
    }
    void Frame(const CWindow& w) {
        auto* a = new CArticle;
        a->Item(new CFrameItem(w));
        page->RootArticle()->AddChild(a);
        a->InvExtents(1);
    }
};

TEST_F(PictureTest, ADesignTwiceAsWideAsHighIsAThousandByFiveHundredCentredInTheFrame) {
    Frame(CWindow(0, 0, 200000, 100000));
    view->SetScrollExtents(CWindow(0, 0, 200000, 100000));
    const int blocks = platform::GlobalBlockCount();
    Access::SaveMetafile(view);
    EXPECT_TRUE(m_boxes.Shown().empty());
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_METAFILEPICT));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HGLOBAL block = ::GetClipboardData(CF_METAFILEPICT);
    ASSERT_NE(block, nullptr);
    // The record has the layer's size, not the 16 bytes of a 32-bit one.
    EXPECT_EQ(::GlobalSize(block), sizeof(METAFILEPICT));
    const METAFILEPICT pict = *static_cast<METAFILEPICT*>(::GlobalLock(block));
    ::GlobalUnlock(block);
    EXPECT_EQ(pict.mm, MM_TEXT);
    EXPECT_EQ(pict.xExt, 166);
    EXPECT_EQ(pict.yExt, 166);
    // Played back, the outline spans the whole width and half the height, in the middle.
    platform::RecordingSurface rec(2000, 2000);
    HDC dc = platform::CreateSurfaceDC(&rec);
    ASSERT_TRUE(::PlayMetaFile(dc, pict.hMF));
    ::DeleteDC(dc);
    ::CloseClipboard();
    LONG x1 = INT_MAX, y1 = INT_MAX, x2 = INT_MIN, y2 = INT_MIN;
    for (const auto& c : rec.Calls())
        for (const POINT& p : c.pts) {
            x1 = std::min(x1, p.x);
            y1 = std::min(y1, p.y);
            x2 = std::max(x2, p.x);
            y2 = std::max(y2, p.y);
        }
    ASSERT_FALSE(rec.Calls().empty());
    EXPECT_NEAR(x1, 0, 1);
    EXPECT_NEAR(x2, 1000, 1);
    EXPECT_NEAR(y1, 250, 1);
    EXPECT_NEAR(y2, 750, 1);
    // The picture's own metafile and the block are the clipboard's; nothing else is left.
    EXPECT_EQ(platform::MetaFileCount(), 1);
    EXPECT_EQ(platform::GlobalBlockCount(), blocks + 1);
    platform::ResetClipboard();
    EXPECT_EQ(platform::MetaFileCount(), 0);
    EXPECT_EQ(platform::GlobalBlockCount(), blocks);
}

TEST_F(PictureTest, AClipboardHeldElsewhereIsReportedAndNothingIsLeftBehind) {
    Frame(CWindow(0, 0, 1000, 1000));
    const int blocks = platform::GlobalBlockCount();
    ASSERT_TRUE(::OpenClipboard(m_frame->m_hWnd));
    Access::SaveMetafile(view);
    ::CloseClipboard();
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, L"Cannot open the Clipboard");
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_METAFILEPICT));
    EXPECT_EQ(platform::MetaFileCount(), 0);
    EXPECT_EQ(platform::GlobalBlockCount(), blocks);
}

TEST_F(PictureTest, TheCompositionWindowGoesToTheToolsCaretOnlyWhenAskedFor) {
    tool->caret = TRUE;
    CPoint caret(Inside()), other(Inside().x, Inside().y + 30);
    view->ClientToDoc(caret);
    view->ClientToDoc(other);
    tool->caretPoint = caret;
    tool->caretOther = other;
    Send(WM_IME_STARTCOMPOSITION);
    COMPOSITIONFORM form{};
    LOGFONTW font{};
    if (platform::GetInputMethodState(view->m_hWnd, &form, &font)) {
        EXPECT_NE(form.dwStyle, CFS_FORCE_POSITION);
    }
    QvSetAppParam(L"ImeCompositionInPlace", 1);
    Send(WM_IME_STARTCOMPOSITION);
    ASSERT_TRUE(platform::GetInputMethodState(view->m_hWnd, &form, &font));
    EXPECT_EQ(form.dwStyle, CFS_FORCE_POSITION);
    CPoint expected = caret;
    view->DocToClient(expected);
    EXPECT_EQ(form.ptCurrentPos.x, expected.x);
    EXPECT_EQ(form.ptCurrentPos.y, expected.y);
    CPoint below = other;
    view->DocToClient(below);
    EXPECT_EQ(font.lfHeight, LONG((below.y - expected.y) * 0.66));
    EXPECT_EQ(font.lfWidth, 0);
    // The diagnostics show only when asked for.
    EXPECT_TRUE(m_boxes.Shown().empty());
    QvSetAppParam(L"ShowDebugMessage", 1);
    Send(WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(m_boxes.Shown().size(), 4u);
}

} // namespace
