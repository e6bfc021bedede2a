// The select tool's clipboard of articles: copy and cut the selection with the parameter
// blocks it may need, paste it at the design's corner or around the last selected article.
// A paste reads the whole stream before it touches the design.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "pivora/colour_palette.h"
#include "pivora/param_blk.h"
#include "pivora/rec_archive.h"
#include "pivora/select.h"
#include "platform/core/archive.h"
#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"
#include "platform/framework/cmd_ui.h"
#include "platform/system/global_memory.h"
#include "platform/system/shared_file.h"
#include "platform/windowing/clipboard.h"
#include "platform/windowing/resources.h"
#include "vector/vector_style_pb.h"

#include <memory>
#include <unordered_set>
#include <vector>

namespace {

constexpr UINT kFileGrowth = 4096;
constexpr int kArchiveBuffer = 4096;
constexpr int kPaletteParamId = 1;
constexpr int kStyleParamId = 14;
// Articles with this property keep their identifier when pasted.
constexpr DWORD kKeepIdBit = 512;

const UINT g_format = RegisterClipboardFormatW(L"Tavrin_1.0");

const bool kRegistered = [] {
    platform::RegisterStrings({
        {CSelectTool::IDS_CANNOT_OPEN_CLIPBOARD, L"Cannot open the Clipboard"},
        {CSelectTool::IDS_CANNOT_SET_CLIPBOARD, L"Unable to set Clipboard data"},
    });
    return true;
}();

// Closes the clipboard on every road out.
struct ClipboardOpen {
    bool open;
    explicit ClipboardOpen(HWND owner) : open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpen() {
        if (open)
            ::CloseClipboard();
    }
};

// What a paste read: freed unless the page takes it.
struct Pasted {
    CParamBlkArray blocks;
    std::vector<std::pair<CArticle*, int>> entries;
    ~Pasted() {
        for (auto& e : entries)
            CTree::DeleteRow(e.first);
        for (INT_PTR i = 0; i < blocks.GetSize(); ++i)
            delete blocks.GetAt(i);
    }
};

// Reads a whole stream into in; raises the archive exception when it is damaged.
void ReadStream(CFile& file, CDesignPage* page, Pasted& in) {
    CArchive ar(&file, CArchive::load, kArchiveBuffer);
    ar.m_pDocument = page;
    const DWORD_PTR blocks = ar.ReadCount(1);
    for (DWORD_PTR i = 0; i < blocks; ++i)
        in.blocks.Add(ar.ReadObjectAs<CParamBlk>());
    const DWORD_PTR count = ar.ReadCount(1);
    for (DWORD_PTR i = 0; i < count; ++i) {
        std::unique_ptr<CObject> head(ar.ReadObjectHeader(RUNTIME_CLASS(CSelect)));
        if (!head)
            AfxThrowArchiveException(CArchiveException::badIndex);
        bool created = false;
        auto* article = ar.ReadObjectReferenceAs<CArticle>(&created);
        // Only an article of its own may be kept; a reference back is someone else's.
        if (article && !created)
            AfxThrowArchiveException(CArchiveException::badIndex);
        if (article)
            in.entries.emplace_back(article, 0);
        // Entries travel alone: a row of siblings is not what copy writes.
        if (article && (article->GetRsibling() || article->GetLsibling()))
            AfxThrowArchiveException(CArchiveException::badIndex);
        int32_t selectMode = 0;
        ar >> selectMode;
        if (selectMode < CSelect::kSelectArticle || selectMode > CSelect::kSelectArticleToo)
            AfxThrowArchiveException(CArchiveException::badIndex);
        if (article) {
            article->BuildLinks();
            in.entries.back().second = selectMode;
        }
    }
    ar.Close();
}

LONG FreshID() {
    // The article counter is private to articles: a new one draws the next identifier.
    CArticle drawn;
    return drawn.GetID();
}

template <class Fn> void ForSubtree(CArticle* a, Fn fn) {
    std::vector<CTree*> stack{a};
    while (!stack.empty()) {
        CTree* t = stack.back();
        stack.pop_back();
        if (auto* art = DynamicDowncast<CArticle>(t))
            fn(art);
        for (CTree* c = t->GetFirstChild(); c; c = c->GetRsibling())
            stack.push_back(c);
    }
}

} // namespace

bool CSelectTool::CanReadArticleStream(const BYTE* data, size_t size, CDesignPage* page) {
    Pasted in;
    try {
        CMemFile file(data, UINT(size));
        ReadStream(file, page, in);
    } catch (const CException&) {
        return false;
    }
    return true;
}

UINT CSelectTool::ClipboardFormat() {
    (void)kRegistered;
    return g_format;
}

void CSelectTool::OnEditCopy() {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !(view->Abilities() & kAbilityEdit) || NumSelected(view) == 0)
        return;
    CSharedFile file(kFileGrowth);
    {
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        ar.m_pDocument = page;
        CRecArchive rec(ar);
        CParamBlkArray blocks;
        page->GetStorableDesignParams(blocks, rec);
        ar.WriteCount(DWORD_PTR(blocks.GetSize()));
        for (INT_PTR i = 0; i < blocks.GetSize(); ++i)
            ar.WriteObject(blocks.GetAt(i));
        // An entry below another selected entry travels with it.
        std::vector<CSelect*> entries;
        std::unordered_set<const CArticle*> selected;
        const CSelectList& list = page->GetObjectSelectionList();
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CSelect* s = list.GetNext(pos);
            selected.insert(s->Article());
        }
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CSelect* s = list.GetNext(pos);
            bool below = false;
            for (CTree* up = s->Article()->GetParent(); up && !below; up = up->GetParent())
                if (auto* ua = DynamicDowncast<CArticle>(up))
                    below = selected.count(ua) != 0;
            if (!below)
                entries.push_back(s);
        }
        // Each article goes as a detached copy with its subtree: the stream would carry its
        // right siblings too, and the design is never touched while it is written.
        std::vector<std::unique_ptr<CArticle>> copies;
        std::vector<std::unique_ptr<CSelect>> written;
        for (CSelect* s : entries) {
            auto* copy = DynamicDowncast<CArticle>(s->Article()->CopyTreeObject());
            if (!copy)
                continue;
            std::vector<CArticle*> from, to;
            ForSubtree(s->Article(), [&](CArticle* d) { from.push_back(d); });
            ForSubtree(copy, [&](CArticle* d) { to.push_back(d); });
            for (size_t i = 0; i < from.size() && i < to.size(); ++i)
                to[i]->fnSetID(from[i]->GetID(), nullptr);
            copies.emplace_back(copy);
            written.push_back(std::make_unique<CSelect>(copy, s->SelectMode()));
        }
        ar.WriteCount(DWORD_PTR(written.size()));
        for (auto& w : written)
            ar.WriteObject(w.get());
        ar.Close();
    }
    HGLOBAL block = file.Detach();
    if (!block)
        return;
    ClipboardOpen clip(view->GetSafeHwnd());
    if (!clip.open || !::EmptyClipboard()) {
        ::GlobalFree(block);
        AfxMessageBox(IDS_CANNOT_OPEN_CLIPBOARD);
        return;
    }
    if (!::SetClipboardData(ClipboardFormat(), block)) {
        ::GlobalFree(block);
        AfxMessageBox(IDS_CANNOT_SET_CLIPBOARD);
    }
}

void CSelectTool::OnEditCut() {
    CDesignView* view = m_pViewForLastMessage;
    if (!view || !(view->Abilities() & kAbilityEdit))
        return;
    OnEditCopy();
    OnEditClear();
}

void CSelectTool::OnEditPasteMode(int mode) {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !(view->Abilities() & kAbilityEdit))
        return;
    CArticle* reference = nullptr;
    if (CSelect* last = page->GetObjectSelectionList().IsEmpty()
                            ? nullptr
                            : page->GetObjectSelectionList().GetTail())
        reference = last->Article();
    OnExit(view, 0);
    if (PasteNative(view, mode, reference))
        page->SetModifiedFlag();
    OnInit(view, 0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintSelection);
}

BOOL CSelectTool::PasteNative(CDesignView* view, int mode, CArticle* reference) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    CArticle* root = page ? page->RootArticle() : nullptr;
    if (!root)
        return FALSE;
    ClipboardOpen clip(view->GetSafeHwnd());
    if (!clip.open) {
        AfxMessageBox(IDS_CANNOT_OPEN_CLIPBOARD);
        return FALSE;
    }
    HGLOBAL block = ::GetClipboardData(ClipboardFormat());
    if (!block) {
        AfxMessageBox(IDS_CANNOT_SET_CLIPBOARD);
        return FALSE;
    }
    Pasted in;
    try {
        // Read in place: the block stays the clipboard's, which is open until the end.
        CSharedFile file;
        file.SetHandle(block, FALSE);
        ReadStream(file, page, in);
    } catch (const CException& e) {
        AfxMessageBox(e.GetMessageText());
        return FALSE;
    }

    CColourPalette* palette = nullptr;
    CVectorStylePB* styles = nullptr;
    for (INT_PTR i = 0; i < in.blocks.GetSize(); ++i) {
        CParamBlk* b = in.blocks.GetAt(i);
        if (b && b->Id() == kPaletteParamId)
            palette = DynamicDowncast<CColourPalette>(b);
        if (b && b->Id() == kStyleParamId)
            styles = DynamicDowncast<CVectorStylePB>(b);
    }
    if (palette && styles) {
        styles->SetColourPalette(palette);
        styles->SyncWithColPal();
    }

    // The group's top-left corner goes 5 pixels inside the design's (or the window's).
    CWindow all = CWindow::EmptyExtent();
    for (auto& e : in.entries) {
        const CWindow w = e.first->Extents(0);
        if (w.x1 > w.x2 || w.y1 > w.y2)
            continue;
        all = all.x1 > all.x2 ? w
                              : CWindow(std::min(all.x1, w.x1), std::min(all.y1, w.y1),
                                        std::max(all.x2, w.x2), std::max(all.y2, w.y2));
    }
    CRect client;
    view->GetClientRect(&client);
    const CWindow& pe = page->Extents();
    CPoint corner(pe.x1, pe.y2);
    if (pe.fnIsEmptyExtent())
        corner = CPoint(client.left, client.top);
    else
        view->DocToClient(corner);
    corner.x =
        corner.x < client.left + kPasteInset ? client.left + kPasteInset : corner.x + kPasteInset;
    corner.y =
        corner.y < client.top + kPasteInset ? client.top + kPasteInset : corner.y + kPasteInset;
    view->ClientToDoc(corner);
    CMat2d move;
    if (all.x1 <= all.x2)
        move = CMat2d(CDpoint(double(corner.x) - all.x1, double(corner.y) - all.y2));

    page->RemoveAllObjectSelection();
    page->StartUndoTransaction(0);
    for (auto& e : in.entries) {
        CArticle* a = e.first;
        a->DoTransform(move, 1);
        ForSubtree(a, [](CArticle* d) {
            d->InvExtents(1);
            if (!d->GetProperty(kKeepIdBit))
                d->fnSetID(FreshID(), nullptr);
        });
        a->PreMergeAdjust(page, in.blocks);
        if (mode == 2 && reference)
            reference->InsertRsibling(a);
        else if (mode == 1 && reference)
            reference->InsertLsibling(a);
        else if (CArticle* insert = page->InsertArticle())
            insert->InsertLsibling(a);
        else
            root->AddChild(a);
        page->AddNewUndo(a, 0);
        a->InvExtents(1);
        a->BuildLinks();
        a->MergeAdjust(in.blocks);
        page->AddObjectSelection(a, e.second, 1);
    }
    in.entries.clear();
    if (styles)
        styles->fnClrAllRTFlags();
    view->OnToolBarCmdMsg(ID_CLIPBOARD_PASTED);
    return TRUE;
}

BOOL CSelectTool::OnClipboardCmdMsg(UINT id, int code, void* extra, void* handlerInfo,
                                    BOOL& handled) {
    if (id != ID_EDIT_COPY && id != ID_EDIT_CUT && id != ID_EDIT_PASTE &&
        id != ID_EDIT_PASTE_BEFORE && id != ID_EDIT_PASTE_AFTER)
        return FALSE;
    handled = TRUE;
    if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI)
        return FALSE;
    if (IsQuery(handlerInfo))
        return TRUE;
    CDesignView* view = m_pViewForLastMessage;
    const bool editing = view && (view->Abilities() & kAbilityEdit);
    if (CCmdUI* ui = UpdateUI(code, extra)) {
        const bool available = ::IsClipboardFormatAvailable(ClipboardFormat()) != FALSE;
        const bool some = NumSelected(view) > 0;
        if (!editing && id != ID_EDIT_PASTE)
            CDesignView::OnUpdateProhibitedItem(ui);
        else if (id == ID_EDIT_PASTE)
            ui->Enable(editing && available);
        else if (id == ID_EDIT_COPY || id == ID_EDIT_CUT)
            ui->Enable(some);
        else
            ui->Enable(some && available);
        return TRUE;
    }
    switch (id) {
    case ID_EDIT_COPY:
        OnEditCopy();
        break;
    case ID_EDIT_CUT:
        OnEditCut();
        break;
    case ID_EDIT_PASTE:
        OnEditPasteMode(0);
        break;
    case ID_EDIT_PASTE_BEFORE:
        OnEditPasteMode(1);
        break;
    default:
        OnEditPasteMode(2);
    }
    return TRUE;
}
