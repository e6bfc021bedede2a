// The select tool's arrange commands: align, centre, space, size, flip and join the selection
// entries, re-order them, and recolour the selected paths by a typed number.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "design/tools/arrange_geometry.h"
#include "pivora/select.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/combo_box.h"
#include "vector/vector_article.h"

#include <vector>

namespace {

struct Entries {
    std::vector<CSelect*> list;
    std::vector<CWindow> extents;
};

Entries Collect(CDesignPage* page) {
    Entries out;
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CSelect* s = list.GetNext(pos);
        CWindow w = CWindow::EmptyExtent();
        s->GetExtents(w);
        out.list.push_back(s);
        out.extents.push_back(w);
    }
    return out;
}

CMat2d Move(const CSize& d) {
    return CMat2d(CDpoint(d.cx, d.cy));
}

// How many entries a command needs, or -1 for ids that are not arrange commands.
int Needed(UINT id) {
    using S = CSelectTool;
    switch (id) {
    case S::ID_ALIGN_LEFT:
    case S::ID_ALIGN_RIGHT:
    case S::ID_ALIGN_TOP:
    case S::ID_ALIGN_BOTTOM:
    case S::ID_CENTRE_ON_LAST_X:
    case S::ID_CENTRE_ON_LAST_Y:
    case S::ID_CENTRE_ON_LAST:
    case S::ID_SIZE_SAME_WIDTH:
    case S::ID_SIZE_STRETCH_WIDTH:
    case S::ID_SIZE_STRETCH_HEIGHT:
    case S::ID_SIZE_STRETCH_BOTH:
    case S::ID_SIZE_SAME_HEIGHT:
    case S::ID_SIZE_MIN_MAX:
    case S::ID_JOIN_HORIZONTALLY:
    case S::ID_JOIN_VERTICALLY:
        return 2;
    case S::ID_SPACE_HORIZONTALLY:
    case S::ID_SPACE_VERTICALLY:
        return 3;
    case S::ID_CENTRE_VERTICALLY:
    case S::ID_CENTRE_HORIZONTALLY:
    case S::ID_FLIP_VERTICALLY:
    case S::ID_FLIP_HORIZONTALLY:
    case S::ID_NUDGE_UP:
    case S::ID_NUDGE_DOWN:
    case S::ID_NUDGE_LEFT:
    case S::ID_NUDGE_RIGHT:
    case S::ID_NUDGE_DIVIDE:
        return 1;
    default:
        return -1;
    }
}

bool IsReOrder(UINT id) {
    return id >= CDesignPage::ID_ORDER_TO_START && id <= CDesignPage::ID_ORDER_TO_END;
}

} // namespace

// The common frame: one unnamed transaction between the selection drawn off and on again;
// transform gives each entry's matrix, or false to leave it.
template <class Fn> static void Arrange(CSelectTool& tool, size_t needed, Fn transform) {
    CDesignView* view = tool.GetViewForLastMessage();
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || size_t(page->GetObjectSelectionCount()) < needed)
        return;
    const Entries e = Collect(page);
    page->StartUndoTransaction(0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    tool.OnExit(view, 0);
    for (size_t i = 0; i < e.list.size(); ++i) {
        CMat2d m;
        if (transform(e, i, m) && !(m == CMat2d()))
            CSelectTool::ApplyTransformToSelectedObj(page, e.list[i], m);
    }
    tool.OnInit(view, 0);
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
}

void CSelectTool::OnAlign(UINT id) {
    const bool vertical = id == ID_ALIGN_TOP || id == ID_ALIGN_BOTTOM;
    int ref = -1;
    Arrange(*this, 2, [&](const Entries& e, size_t i, CMat2d& m) {
        if (i == 0)
            ref = ArrangeReference(e.extents, m_nReferenceHint,
                                   vertical ? EArrangeWork::eVertical : EArrangeWork::eHorizontal,
                                   m_nBand);
        if (ref < 0 || int(i) == ref)
            return false;
        m = Move(AlignMove(id, e.extents[size_t(ref)], e.extents[i]));
        return true;
    });
}

void CSelectTool::OnCenter(UINT id) {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    const CLpoint from = page->ObjectSelectionExtents(nullptr).fnCentre();
    const CLpoint to = page->Extents().fnCentre();
    const CSize d = id == ID_CENTRE_VERTICALLY ? CSize(0, int(int64_t(to.y) - from.y))
                                               : CSize(int(int64_t(to.x) - from.x), 0);
    Arrange(*this, 1, [&](const Entries&, size_t, CMat2d& m) {
        m = Move(d);
        return true;
    });
}

void CSelectTool::OnCenterLast(UINT id) {
    Arrange(*this, 2, [&](const Entries& e, size_t i, CMat2d& m) {
        if (i + 1 == e.list.size())
            return false;
        const CLpoint to = e.extents.back().fnCentre(), from = e.extents[i].fnCentre();
        const int dx = id == ID_CENTRE_ON_LAST_Y ? 0 : int(int64_t(to.x) - from.x);
        const int dy = id == ID_CENTRE_ON_LAST_X ? 0 : int(int64_t(to.y) - from.y);
        m = Move(CSize(dx, dy));
        return true;
    });
}

void CSelectTool::OnSpace(UINT id) {
    std::vector<CSize> moves;
    Arrange(*this, 3, [&](const Entries& e, size_t i, CMat2d& m) {
        if (i == 0)
            moves = SpacingMoves(e.extents, id == ID_SPACE_VERTICALLY);
        m = Move(moves[i]);
        return true;
    });
}

void CSelectTool::OnSize(UINT id) {
    int ref = -1;
    Arrange(*this, 2, [&](const Entries& e, size_t i, CMat2d& m) {
        if (i == 0)
            ref = ArrangeReference(e.extents, m_nReferenceHint, EArrangeWork::eSize, m_nBand);
        CWindow to;
        if (ref < 0 || int(i) == ref || !SameSizeBox(id, e.extents[size_t(ref)], e.extents[i], to))
            return false;
        m = CMat2d(e.extents[i], to);
        return true;
    });
}

void CSelectTool::OnFlip(UINT id) {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    const CMat2d flip = FlipMatrix(page->ObjectSelectionExtents(nullptr), id == ID_FLIP_VERTICALLY);
    Arrange(*this, 1, [&](const Entries&, size_t, CMat2d& m) {
        m = flip;
        return true;
    });
}

void CSelectTool::OnAlignCat(UINT id) {
    const bool vertical = id == ID_JOIN_VERTICALLY;
    std::vector<CSize> moves;
    Arrange(*this, 2, [&](const Entries& e, size_t i, CMat2d& m) {
        if (i == 0) {
            const int anchor = ArrangeReference(
                e.extents, m_nReferenceHint,
                vertical ? EArrangeWork::eVertical : EArrangeWork::eHorizontal, m_nBand);
            moves = JoinMoves(e.extents, anchor, vertical);
        }
        m = Move(moves[i]);
        return true;
    });
}

void CSelectTool::OnReOrder(UINT id) {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (page && page->ReOrderSelection(id, false))
        page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
}

void CSelectTool::OnReflect(UINT id) {
    ReflectSelection(m_pViewForLastMessage, id);
}

void CSelectTool::OnTypedNumber(CDesignView* view, int number) {
    if (number == 0)
        number = 10;
    if (number < 1 || !view)
        return;
    if (CObject* box = view->GetMFCColourBox()) {
        if (auto* combo = dynamic_cast<CComboBox*>(box))
            combo->SetCurSel(number - 1);
        view->SendMessage(WM_COMMAND, ID_COLOUR_FROM_BOX, 0);
        return;
    }
    SetToolColour(view, number);
}

BOOL CSelectTool::SetToolColour(CDesignView* view, int colour) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return TRUE;
    bool first = true;
    for (POSITION pos = page->GetFirstSelection(RUNTIME_CLASS(CVectorArticle)); pos;) {
        auto* va = static_cast<CVectorArticle*>(
            page->GetNextSelection(pos, RUNTIME_CLASS(CVectorArticle)));
        if (first)
            page->StartUndoTransaction(0);
        first = false;
        page->AddEditUndo(va, 0, 0);
        va->SetPaletteIndex(colour);
    }
    if (!first)
        page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
    view->SendSelectionChangedMsg(true);
    return TRUE;
}

BOOL CSelectTool::OnArrangeCmdMsg(UINT id, int code, void* extra, void* handlerInfo,
                                  BOOL& handled) {
    const int needed = Needed(id);
    if (needed < 0 && !IsReOrder(id))
        return FALSE;
    handled = TRUE;
    if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI)
        return FALSE;
    if (IsQuery(handlerInfo))
        return TRUE;
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (CCmdUI* ui = UpdateUI(code, extra)) {
        if (IsReOrder(id))
            ui->Enable(page && page->ReOrderSelection(id, true));
        else
            ui->Enable(NumSelected(view) >= needed);
        return TRUE;
    }
    switch (id) {
    case ID_ALIGN_LEFT:
    case ID_ALIGN_RIGHT:
    case ID_ALIGN_TOP:
    case ID_ALIGN_BOTTOM:
        OnAlign(id);
        break;
    case ID_CENTRE_VERTICALLY:
    case ID_CENTRE_HORIZONTALLY:
        OnCenter(id);
        break;
    case ID_CENTRE_ON_LAST_X:
    case ID_CENTRE_ON_LAST_Y:
    case ID_CENTRE_ON_LAST:
        OnCenterLast(id);
        break;
    case ID_SPACE_HORIZONTALLY:
    case ID_SPACE_VERTICALLY:
        OnSpace(id);
        break;
    case ID_FLIP_VERTICALLY:
    case ID_FLIP_HORIZONTALLY:
        OnFlip(id);
        break;
    case ID_JOIN_HORIZONTALLY:
    case ID_JOIN_VERTICALLY:
        OnAlignCat(id);
        break;
    case ID_NUDGE_UP:
    case ID_NUDGE_DOWN:
    case ID_NUDGE_LEFT:
    case ID_NUDGE_RIGHT:
    case ID_NUDGE_DIVIDE:
        OnReflect(id);
        break;
    default:
        if (IsReOrder(id))
            OnReOrder(id);
        else
            OnSize(id);
    }
    return TRUE;
}
