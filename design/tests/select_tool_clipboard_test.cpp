// The select tool's clipboard of articles (beside select_tool_test.cpp, which is long enough).
#include "design/select_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/tests/tool_fixture.h"
#include "pivora/select.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"

#include <cstring>
#include <set>
#include <vector>

namespace {

class ClipboardTest : public SelectToolHost {
protected:
    void SetUp() override {
        SelectToolHost::SetUp();
        platform::ResetClipboard();
        view->Abilities() |= CSelectTool::kAbilityEdit;
        a = Path(CWindow(20000, 20000, 30000, 30000));
        if (!a)
            GTEST_SKIP() << "no curve library";
        b = Path(CWindow(40000, 20000, 50000, 40000));
    }
    void TearDown() override {
        platform::ResetClipboard();
        SelectToolHost::TearDown();
    }

    std::vector<CArticle*> Row() {
        std::vector<CArticle*> out;
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
            out.push_back(static_cast<CArticle*>(t));
        return out;
    }
    void SelectOnly(std::vector<CArticle*> list) {
        page->RemoveAllObjectSelection();
        for (CArticle* x : list)
            page->AddObjectSelection(x, CSelect::kSelectArticle, 1);
    }

    CArticle* a = nullptr;
    CArticle* b = nullptr;
};

TEST_F(ClipboardTest, TwoPastesLandAtOnePlaceWithTheirOwnIdentifiers) {
    SelectOnly({a, b});
    Command(CSelectTool::ID_EDIT_COPY);
    ASSERT_TRUE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));
    page->RemoveAllObjectSelection();
    Command(CSelectTool::ID_EDIT_PASTE);
    Command(CSelectTool::ID_EDIT_PASTE);
    const std::vector<CArticle*> row = Row();
    ASSERT_EQ(row.size(), 6u);
    std::set<LONG> ids;
    for (CArticle* x : row)
        ids.insert(x->GetID());
    EXPECT_EQ(ids.size(), 6u);
    EXPECT_EQ(row[2]->Extents(0), row[4]->Extents(0));
    EXPECT_EQ(row[3]->Extents(0), row[5]->Extents(0));
    // The pasted group's top-left corner sits 5 pixels inside the design's.
    CPoint corner(page->Extents().x1, page->Extents().y2);
    view->DocToClient(corner);
    CPoint pasted(row[2]->Extents(0).x1, row[3]->Extents(0).y2);
    view->DocToClient(pasted);
    EXPECT_NEAR(pasted.x, corner.x + CSelectTool::kPasteInset, 1);
    EXPECT_NEAR(pasted.y, corner.y + CSelectTool::kPasteInset, 1);
    // The paste is the selection, one step to undo.
    EXPECT_EQ(Selection(), (std::vector<std::pair<CArticle*, int>>{{row[4], 1}, {row[5], 1}}));
    page->PerformUndoTransaction();
    EXPECT_EQ(Row().size(), 4u);
}

TEST_F(ClipboardTest, PasteGoesBeforeOrAfterTheLastSelected) {
    CArticle* c = Path(CWindow(60000, 20000, 70000, 30000));
    SelectOnly({a, b});
    Command(CSelectTool::ID_EDIT_COPY);
    SelectOnly({c});
    Command(CSelectTool::ID_EDIT_PASTE_BEFORE);
    std::vector<CArticle*> row = Row();
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[4], c);
    EXPECT_EQ(row[2]->Extents(0).y2 - row[2]->Extents(0).y1, 10000); // a's copy first
    SelectOnly({c});
    Command(CSelectTool::ID_EDIT_PASTE_AFTER);
    row = Row();
    ASSERT_EQ(row.size(), 7u);
    EXPECT_EQ(row[4], c);
    EXPECT_EQ(row[5]->Extents(0).y2 - row[5]->Extents(0).y1, 20000); // b's copy nearest
    // Nothing selected: before the insertion article.
    page->RemoveAllObjectSelection();
    page->InsertArticle(a);
    Command(CSelectTool::ID_EDIT_PASTE);
    row = Row();
    ASSERT_EQ(row.size(), 9u);
    EXPECT_EQ(row[2], a);
}

TEST_F(ClipboardTest, AChildTravelsWithoutItsLaterSiblings) {
    auto* group = new CArticle;
    page->RootArticle()->AddChild(group);
    CArticle* first = Path(CWindow(10000, 60000, 20000, 70000));
    CArticle* second = Path(CWindow(30000, 60000, 40000, 70000));
    first->Detach();
    second->Detach();
    group->AddChild(first);
    group->AddChild(second);
    SelectOnly({first, group}); // the child also goes with its group: written once
    Command(CSelectTool::ID_EDIT_COPY);
    SelectOnly({first});
    Command(CSelectTool::ID_EDIT_COPY);
    page->RemoveAllObjectSelection();
    Command(CSelectTool::ID_EDIT_PASTE);
    const std::vector<CArticle*> row = Row();
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[3]->GetRsibling(), nullptr);
    EXPECT_EQ(row[3]->GetFirstChild(), nullptr);
    EXPECT_EQ(group->GetFirstChild()->GetRsibling(), second);
}

TEST_F(ClipboardTest, ADamagedStreamChangesNothing) {
    SelectOnly({a, b});
    Command(CSelectTool::ID_EDIT_COPY);
    ASSERT_TRUE(OpenClipboard(view->GetSafeHwnd()));
    HGLOBAL good = GetClipboardData(CSelectTool::ClipboardFormat());
    const size_t size = GlobalSize(good);
    std::vector<BYTE> bytes(size);
    std::memcpy(bytes.data(), GlobalLock(good), size);
    GlobalUnlock(good);
    CloseClipboard();
    // Cut short at every length, and a byte spoilt in the middle.
    std::vector<std::vector<BYTE>> damaged;
    for (size_t n = 1; n < size; n += 7)
        damaged.emplace_back(bytes.begin(), bytes.begin() + n);
    damaged.push_back(bytes);
    damaged.back()[size / 2] ^= 0x5A;
    SelectOnly({b});
    for (const std::vector<BYTE>& d : damaged) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, d.size());
        std::memcpy(GlobalLock(block), d.data(), d.size());
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(view->GetSafeHwnd()));
        EmptyClipboard();
        SetClipboardData(CSelectTool::ClipboardFormat(), block);
        CloseClipboard();
        const int undo = page->GetUndoCount();
        const size_t shown = m_boxes.Shown().size();
        Command(CSelectTool::ID_EDIT_PASTE_AFTER);
        if (Row().size() == 2u) {
            EXPECT_EQ(page->GetUndoCount(), undo);
            EXPECT_GT(m_boxes.Shown().size(), shown);
        } else {
            // A spoilt byte may still read as a whole design: then it pastes whole.
            ASSERT_EQ(Row().size(), 4u);
            page->PerformUndoTransaction();
            SelectOnly({b});
        }
        EXPECT_EQ(Row(), (std::vector<CArticle*>{a, b}));
        // The clipboard was closed again.
        ASSERT_TRUE(OpenClipboard(view->GetSafeHwnd()));
        CloseClipboard();
    }
}

TEST_F(ClipboardTest, CommandsFollowTheAbilityAndTheSelection) {
    SelectOnly({});
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_COPY)->enabled, 0);
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_PASTE)->enabled, 0);
    SelectOnly({a});
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_COPY)->enabled, 1);
    Command(CSelectTool::ID_EDIT_CUT);
    EXPECT_EQ(Row(), (std::vector<CArticle*>{b}));
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_PASTE)->enabled, 1);
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_PASTE_AFTER)->enabled, 0);
    view->Abilities() &= ~CSelectTool::kAbilityEdit;
    EXPECT_EQ(Update(CSelectTool::ID_EDIT_PASTE)->enabled, 0);
    Command(CSelectTool::ID_EDIT_PASTE);
    EXPECT_EQ(Row().size(), 1u);
}

} // namespace
