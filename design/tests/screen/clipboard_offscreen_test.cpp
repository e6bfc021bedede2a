// Articles copied through the presenter: the copy reaches the system clipboard under the
// private type, and what the system clipboard holds comes back into an empty model clipboard
// and pastes as the same articles.
#include "design/select_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/clipboard_bridge.h"
#include "platform/display/display.h"
#include "platform/windowing/clipboard.h"

namespace {

class ClipboardOffscreen : public OnDisplay<SelectToolHost> {
protected:
    void SetUp() override {
        OnDisplay<SelectToolHost>::SetUp();
        platform::ResetClipboard();
        view->Abilities() |= CSelectTool::kAbilityEdit;
    }
    void TearDown() override {
        platform::ResetClipboard();
        OnDisplay<SelectToolHost>::TearDown();
    }
};

TEST_F(ClipboardOffscreen, ACopyComesBackFromTheSystemClipboardAndPastes) {
    CArticle* a = Path(CWindow(20000, 20000, 30000, 30000));
    if (!a)
        GTEST_SKIP() << "the curve library is not linked";
    CArticle* b = Path(CWindow(40000, 20000, 50000, 40000));
    page->AddObjectSelection(a, 1, 1);
    page->AddObjectSelection(b, 1, 1);
    Command(CSelectTool::ID_EDIT_COPY);
    ASSERT_TRUE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));

    // The model's clipboard forgets; the system's still has the copy, as another program would.
    platform::ResetClipboard();
    ASSERT_FALSE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));
    ASSERT_TRUE(platform::display::TakeSystemClipboard());
    ASSERT_TRUE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));

    page->RemoveAllObjectSelection();
    Command(CSelectTool::ID_EDIT_PASTE);
    std::vector<CArticle*> row;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        row.push_back(static_cast<CArticle*>(t));
    ASSERT_EQ(row.size(), 4u);
    // The same two shapes, side by side as they were.
    const CWindow pa = row[2]->Extents(0), pb = row[3]->Extents(0);
    EXPECT_EQ(pa.x2 - pa.x1, 10000);
    EXPECT_EQ(pb.y2 - pb.y1, 20000);
    EXPECT_EQ(pb.x1 - pa.x1, 20000);
    EXPECT_EQ(pb.y1 - pa.y1, 0);
    EXPECT_EQ(Selection().size(), 2u);
}

} // namespace
