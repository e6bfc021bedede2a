#include "varnholm/drawing/draw_base_view.h"

#include "design/design_page.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/select_cutter.h"
#include "hobrand/media_manager_setup.h"
#include "pivora/select.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"
#include "vector/vector_article.h"

IMPLEMENT_DYNCREATE(CDrawBaseView, CDesignView)

namespace {

const bool kRegistered = [] {
    platform::RegisterStrings({
        {CDrawBaseView::IDS_CONFIRM_REMOVE_CUTTER, L"Delete the cutter '%s'?"},
        {CDrawBaseView::IDS_UNDO_DRAW_COLOUR, L"Change the colour of the selection\nColour"},
    });
    return true;
}();

CString Formatted(UINT id, const CString& name) {
    wchar_t buffer[256] = {};
    ::LoadStringW(nullptr, id, buffer, 256);
    CString text;
    text.Format(buffer, name.GetString());
    return text;
}

} // namespace

CDrawBaseView::CDrawBaseView() = default;
CDrawBaseView::~CDrawBaseView() = default;

void CDrawBaseView::OnInitialUpdate() {
    // The toolbars this window sets up and binds are those of its document context.
    m_dwContextMask = QvGetContextMask(Context());
    CDesignView::OnInitialUpdate();
}

void CDrawBaseView::SetDrawColour(int styleIndex) {
    CDesignPage* page = GetDocument();
    if (!page || styleIndex < 0)
        return;
    bool started = false;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
        CSelect* s = page->GetNextObjectSelection(pos, nullptr);
        auto* a = s ? dynamic_cast<CVectorArticle*>(s->Article()) : nullptr;
        // A path's style index is its line palette index.
        int current = -1;
        if (!a || (a->GetPaletteIndex(current) && current == styleIndex))
            continue;
        if (!started) {
            page->StartUndoTransaction(IDS_UNDO_DRAW_COLOUR);
            started = true;
        }
        page->AddEditUndo(a, IDS_UNDO_DRAW_COLOUR, 0);
        a->SetPaletteIndex(styleIndex);
        InvalArticle(a);
    }
    if (!started)
        return;
    page->SetModifiedFlag(TRUE);
    // The colour toolbar shows the selection's new colour.
    SendSelectionChangedMsg(true);
}

void CDrawBaseView::RemoveCutter() {
    CSelectCutter dlg;
    if (dlg.DoModal() != IDOK || dlg.m_strSelectedName.IsEmpty())
        return;
    const CString name = dlg.m_strSelectedName;
    if (AfxMessageBox(Formatted(IDS_CONFIRM_REMOVE_CUTTER, name), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    // A busy sheet document says so itself and keeps the cutter installed.
    g_fnDeleteInstalledCutter(name);
}
