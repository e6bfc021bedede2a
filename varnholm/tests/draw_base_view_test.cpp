#include "varnholm/drawing/draw_base_view.h"

#include "sorvane_host.h"

#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/select_cutter.h"
#include "maltrec/colour_tool_bar.h"
#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"
#include "toolbars/toolbar_registry.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include <vector>

namespace {

using V = CSorvaneView;

int StyleOf(CVectorArticle* a) {
    int style = -1;
    a->GetPaletteIndex(style);
    return style;
}

class DrawBase : public SorvaneHost {
protected:
    // A design window with three colours and its colour toolbar.
    CMFCToolBarColourBox* OpenWithColours() {
        if (!Open())
            return nullptr;
        CVectorStylePB* styles = page->StyleTable();
        styles->fnResize(3);
        for (int i = 0; i < 3; ++i)
            styles->fnMap2VectorStyle(i)->fnSetColPalIdx(i);
        ::SendMessageW(view->m_hWnd, CDesignView::WM_CONTEXT_ACTIVATED, 0, 0);
        auto* bar = dynamic_cast<CColourToolBar*>(QvGetToolBar(CColourToolBar::kSlot, 0));
        return bar ? bar->GetMFCColourList() : nullptr;
    }
};

TEST_F(DrawBase, TheToolbarsColourGoesToTheSelectedPathsAsOneUndoStep) {
    CMFCToolBarColourBox* box = OpenWithColours();
    ASSERT_NE(box, nullptr);
    CVectorArticle* plain = AddSquare(page, 0, 0);
    CVectorArticle* already = AddSquare(page, 2000, 2);
    CVectorArticle* other = AddSquare(page, 4000, 0);
    ASSERT_TRUE(plain && already && other);
    page->AddObjectSelection(plain, 1, 1);
    page->AddObjectSelection(already, 1, 1);
    page->SetModifiedFlag(FALSE);
    // Each case chooses a colour for the selection and says how many undo steps it makes.
    struct Case {
        int row, steps;
        std::vector<int> styles; // plain, already, other afterwards
    } cases[] = {
        {2, 1, {2, 2, 0}}, // only the path not of that colour is recorded, in one step
        {2, 0, {2, 2, 0}}, // every selected path has it already: nothing to undo
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        const INT_PTR before = page->UndoTransactionNames().GetSize();
        ASSERT_TRUE(box->SelectItem(c.row, FALSE));
        Command(V::ID_CHANGE_COLOUR);
        EXPECT_EQ(page->UndoTransactionNames().GetSize() - before, c.steps);
        EXPECT_EQ((std::vector<int>{StyleOf(plain), StyleOf(already), StyleOf(other)}), c.styles);
    }
    EXPECT_TRUE(page->IsModified());
    ASSERT_GT(page->UndoTransactionNames().GetSize(), 0);
    EXPECT_EQ(page->UndoTransactionNames()[page->UndoTransactionNames().GetSize() - 1],
              CString(L"Colour"));
    page->PerformUndoTransaction();
    EXPECT_EQ(StyleOf(plain), 0);
    EXPECT_EQ(StyleOf(already), 2);
}

// Removal: the cutter chosen in the selection dialog, after a Yes.
class RemoveCutter : public SorvaneHost {
protected:
    // Picks row `pick` (Cancel for -1) and answers the confirmation with `confirm`.
    void Run(int pick, int confirm) {
        m_boxes.SetDefault(confirm);
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            ASSERT_EQ(id, UINT(IDD_SELECT_CUTTER));
            if (pick < 0) {
                ::SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
                return;
            }
            ::SendDlgItemMessageW(h, IDC_CUTTER_LIST, LB_SETCURSEL, WPARAM(pick), 0);
            ::SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
        });
        V::FnDeleteCutter();
    }
    static std::vector<CString> Table() {
        std::vector<CString> out;
        for (INT_PTR i = 0; i < CCutterUtils::m_oaCutters.GetSize(); ++i)
            out.push_back(CCutterUtils::m_oaCutters.GetAt(i)->fnGetName());
        return out;
    }
    // What a fresh start reads back.
    static std::vector<CString> Stored() {
        FelgrinUtils::QuitCutterDriver();
        FelgrinUtils::LoadCutterDevices(nullptr);
        return Table();
    }
};

TEST_F(RemoveCutter, OnlyAChosenAndConfirmedCutterGoesFromTheTableAndTheStore) {
    struct Case {
        int pick, confirm;
        size_t questions;
        std::vector<CString> left;
    } cases[] = {
        {-1, IDYES, 0, {L"Left", L"Right"}},
        {1, IDNO, 1, {L"Left", L"Right"}},
        {1, IDYES, 1, {L"Left"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pick * 10 + c.confirm);
        for (const CString& name : Stored())
            FelgrinUtils::DeleteFelgrinCutter(name);
        ASSERT_TRUE(Stored().empty());
        Install(L"Left");
        Install(L"Right");
        const size_t shown = m_boxes.Shown().size();
        Run(c.pick, c.confirm);
        ASSERT_EQ(m_boxes.Shown().size() - shown, c.questions);
        if (c.questions) {
            EXPECT_NE(m_boxes.Shown().back().text.find(L"'Right'"), std::wstring::npos);
        }
        EXPECT_EQ(Table(), c.left);
        EXPECT_EQ(Stored(), c.left);
    }
}

} // namespace
