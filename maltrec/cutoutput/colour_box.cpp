#include "maltrec/cutoutput/colour_box.h"

#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/colour_palette.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/select.h"
#include "platform/graphics/dc.h"
#include "toolbars/custom_tool_bar.h"
#include "vector/vector_article.h"
#include "vector/vector_style.h"
#include "vector/vector_style_pb.h"

IMPLEMENT_DYNAMIC(CColourBox, CComboBox)

namespace {

// The swatch: from 30 pixels before the right edge to 2 before it, 2 in from top and bottom.
constexpr int kSwatchFromRight = 30;
constexpr int kSwatchInset = 2;
constexpr int kTextIndent = 2;
constexpr int kExtraRowWidth = 20;
constexpr int kLargeButtons = 2;

CVectorStylePB* StyleTable(CDesignPage* page) {
    return page ? dynamic_cast<CVectorStylePB*>(page->FindParam(CParamBlk::kVectorStyleId))
                : nullptr;
}

CColourPalette* Palette(CDesignPage* page) {
    return page ? page->GetColourPalette(false, eColourPaletteDefault) : nullptr;
}

} // namespace

CDesignPage* CColourBox::Page() const {
    return m_pView ? m_pView->GetDocument() : nullptr;
}

void CColourBox::Init(CDesignView* view, CMFCToolBarColourBox* button,
                      CMFCPropertyGridProperty* property) {
    m_pView = view;
    m_pButton = button;
    m_pProperty = property;
    if (auto* app = dynamic_cast<CJoxWinAppEx*>(AfxGetApp()))
        if (CFont* font = app->AppFont())
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font->m_hObject), TRUE);
    EnableWindow(TRUE);
}

void CColourBox::SetView(CDesignView* view, int refill) {
    m_pView = view;
    if (refill)
        ResetListFromVectorStylePB(m_pProperty);
}

CString CColourBox::GetPaletteValue(int style) {
    return style < 0 ? CString() : FormatString(L"Col %d  ", style + 1);
}

int CColourBox::RowCount() const {
    return m_pButton ? m_pButton->GetCount() : (m_hWnd ? GetCount() : 0);
}

void CColourBox::ResetListFromVectorStylePB(CMFCPropertyGridProperty*) {
    if (!m_pView)
        return;
    // No property grid hosts the list, so the host is the button or the combo itself.
    if (m_pButton)
        m_pButton->RemoveAllItems();
    else if (m_hWnd)
        ResetContent();
    CDesignPage* page = Page();
    CVectorStylePB* styles = StyleTable(page);
    CColourPalette* palette = Palette(page);
    if (!styles || !palette)
        return;
    for (int i = 0; i < styles->fnGetSize(); ++i) {
        CVectorStyle* style = styles->fnMap2VectorStyle(i);
        if (!style || style->fnGetColPalIdx() >= palette->ColourCount())
            continue;
        if (m_pButton)
            m_pButton->AddItem(GetPaletteValue(i), DWORD_PTR(i));
        else if (m_hWnd)
            SetItemData(AddString(GetPaletteValue(i)), DWORD_PTR(i));
    }
    SetSelectedStatus();
}

void CColourBox::CheckReset() {
    CVectorStylePB* styles = StyleTable(Page());
    const int rows = RowCount();
    if (rows == 0 || (styles && rows < styles->fnGetSize() - 1))
        ResetListFromVectorStylePB(m_pProperty);
}

int CColourBox::VectorsSelected() {
    CDesignPage* page = Page();
    if (!page)
        return 0;
    int n = 0;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;)
        if (CSelect* s = page->GetNextObjectSelection(pos, nullptr))
            n += IsCVectorArticle(s->Article(), false) ? 1 : 0;
    return n;
}

int CColourBox::SetSelectedStatus() {
    if (!m_pView || !m_hWnd)
        return -1;
    CheckReset();
    return VectorsSelected() > 0 ? GetSelectedColour() : -1;
}

int CColourBox::GetSelectedColour() {
    CDesignPage* page = Page();
    if (!page || !StyleTable(page))
        return -1;
    int found = -1;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
        CSelect* s = page->GetNextObjectSelection(pos, nullptr);
        auto* v = s ? DynamicDowncast<CVectorArticle>(s->Article()) : nullptr;
        if (!v)
            continue;
        int index = -1;
        v->GetPaletteIndex(index);
        if (found >= 0 && index != found)
            return -1;
        found = index;
    }
    return found;
}

COLORREF CColourBox::GetColourRef(CDesignView* view, int style) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    CVectorStylePB* styles = StyleTable(page);
    CColourPalette* palette = Palette(page);
    if (!styles || !palette || style < 0 || style >= styles->fnGetSize())
        return 0;
    CVectorStyle* s = styles->fnMap2VectorStyle(style);
    return s ? palette->GetColour(s->fnGetColPalIdx()) : 0;
}

void CColourBox::DrawItem(LPDRAWITEMSTRUCT dis) {
    if (!dis || dis->itemID == UINT(-1) || !m_pView || !StyleTable(Page()) || !Palette(Page()))
        return;
    CString text;
    GetLBText(int(dis->itemID), text);
    const COLORREF colour = GetColourRef(m_pView, int(GetItemData(int(dis->itemID))));
    CDC* dc = CDC::FromHandle(dis->hDC);
    const CRect r(dis->rcItem);
    if (dis->itemState & ODS_FOCUS)
        dc->DrawFocusRect(&r);
    const bool selected = dis->itemState & ODS_SELECTED;
    dc->FillSolidRect(&r, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    dc->SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc->SetBkMode(TRANSPARENT);
    CFont* old = nullptr;
    if (auto* app = dynamic_cast<CJoxWinAppEx*>(AfxGetApp()))
        if (CFont* font = app->AppFont())
            old = dc->SelectObject(font);
    dc->TextOut(r.left + kTextIndent, r.top, text);
    if (old)
        dc->SelectObject(old);
    CBrush brush(colour);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(r.right - kSwatchFromRight, r.top + kSwatchInset, r.right - kSwatchInset,
                  r.bottom - kSwatchInset);
    dc->SelectObject(oldBrush);
}

void CColourBox::MeasureItem(LPMEASUREITEMSTRUCT mis) {
    if (!mis)
        return;
    CRect r;
    if (m_hWnd)
        GetWindowRect(&r);
    mis->itemWidth = UINT(r.Width() + kExtraRowWidth);
    mis->itemHeight =
        CCustomToolBar::fnGetButtonStyle() == kLargeButtons ? kRowHeightLarge : kRowHeight;
}

BOOL CColourBox::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN) {
        if (msg->wParam == WPARAM(VK_RETURN)) {
            PostMessage(WM_COMMAND, ID_COLOUR_LIST, 0);
            return TRUE;
        }
        if (msg->wParam == WPARAM(VK_ESCAPE)) {
            if (CWnd* main = AfxGetMainWnd())
                main->SetFocus();
            return TRUE;
        }
    }
    return CComboBox::PreTranslateMessage(msg);
}

void CColourBox::OnSelchange() {
    if (m_pView && m_pView->m_hWnd)
        ::PostMessageW(m_pView->m_hWnd, WM_COMMAND, ID_APPLY_COLOUR, 0);
}
