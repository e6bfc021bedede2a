#include "pivora/jox_page.h"

#include "pivora/document/record_fields.h"

#include "pivora/framework/app_params.h"
#include "pivora/scope_guard.h"

#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include <cmath>
#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CJoxPage, CDocument)

CloseModAction CJoxPage::s_eCloseModifiedAction = eCloseModNone;

namespace {

const wchar_t kAutoResizeParam[] = L"AutoResize";

CLpoint RoundedCentre(const CWindow& w) {
    return CLpoint(LONG(std::round((double(w.x1) + w.x2) * 0.5)),
                   LONG(std::round((double(w.y1) + w.y2) * 0.5)));
}

} // namespace

CJoxPage::CJoxPage()
    : m_nAutoResize(QvGetAppParam(kAutoResizeParam, 1)), m_pGrid(new CGrid),
      m_CreatedTime(CTime::GetCurrentTime()), m_ModifiedTime(m_CreatedTime) {
    m_RootArticle.SetName(CString(kRootName));
    m_RootArticle.SetDocument(this);
    m_RootArticle.InvExtents(0);
}

CJoxPage::~CJoxPage() {
    // Further roots first: the embedded root does not own its right siblings.
    while (CTree* r = m_RootArticle.GetRsibling())
        delete r;
    RemoveAllParams();
    delete m_pGrid;
    delete m_pModulesVersion;
    SetAutosaveName(CString());
}

// ---- Tree and extents ----

CArticle* CJoxPage::RootArticle(LONG id) {
    if (id == -1)
        return &m_RootArticle;
    for (CTree* t = &m_RootArticle; t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CArticle>(t);
        if (a && a->GetID() == id)
            return a;
    }
    return &m_RootArticle;
}

void CJoxPage::SetActiveRootArticle(LONG id) {
    if (id == -1) {
        m_lActiveRootID = -1;
        return;
    }
    for (CTree* t = &m_RootArticle; t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CArticle>(t);
        if (a && a->GetID() == id) {
            m_lActiveRootID = id;
            return;
        }
    }
}

void CJoxPage::DeleteArticle(CArticle* a, int adjust, int) {
    // A null article has nothing to delete, and the embedded root is part of the page.
    if (!a || a == &m_RootArticle)
        return;
    if (adjust) {
        CArticle* t = a->DeleteAdjust();
        if (!t)
            return;
        t->DeleteAdjustUnfixed();
        a = t->DeleteAdjustParent();
        if (!a || a == &m_RootArticle)
            return;
    }
    a->InvExtents(1);
    delete a;
}

void CJoxPage::RecalcExtents(unsigned int flags) {
    CWindow w = CWindow::EmptyExtent();
    CWindow r = RootArticle()->Extents(flags);
    w.fnIncludePoint(CLpoint(r.x1, r.y1));
    w.fnIncludePoint(CLpoint(r.x2, r.y2));
    if (w.fnIsEmptyExtent())
        w = CWindow(0, 0, 100000, 100000);
    CLpoint c = RoundedCentre(w);
    if (int64_t(w.x2) - w.x1 < 1000) {
        w.x1 = c.x - 500;
        w.x2 = c.x + 500;
    }
    if (int64_t(w.y2) - w.y1 < 1000) {
        w.y1 = c.y - 500;
        w.y2 = c.y + 500;
    }
    m_PageExtents = w;
}

void CJoxPage::ViewExtents(const CWindow& w, bool notify) {
    if (notify && !m_bViewModified) {
        auto moved = [](LONG a, LONG b) { return std::llabs(int64_t(a) - b) > 1; };
        if (moved(w.x1, m_ViewExtents.x1) || moved(w.y1, m_ViewExtents.y1) ||
            moved(w.x2, m_ViewExtents.x2) || moved(w.y2, m_ViewExtents.y2))
            m_bViewModified = 1;
    }
    m_ViewExtents = w;
}

void CJoxPage::GetActiveObjectExtents(CWindow& w) {
    w = CWindow::EmptyExtent();
    bool any = false;
    CArticleList list;
    RootArticle()->GetArticleList(&list, nullptr, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CArticle* a = list.GetNext(pos);
        CItem* item = a->GetItem();
        if (!item || item->IsInActive() || item->GetProperty(CItem::kNoActiveExtentsBit))
            continue;
        CWindow e = item->Extents();
        if ((e.x1 == WINDOW_EMPTY_LOW && e.y1 == WINDOW_EMPTY_LOW) ||
            (e.x2 == WINDOW_EMPTY_HIGH && e.y2 == WINDOW_EMPTY_HIGH))
            continue;
        w.fnIncludePoint(CLpoint(e.x1, e.y1));
        w.fnIncludePoint(CLpoint(e.x2, e.y2));
        any = true;
    }
    if (!any)
        w = CWindow(0, 0, 0, 0);
}

void CJoxPage::fnSnapToExtents(CLpoint& p) const {
    const CWindow& e = m_PageExtents;
    if (p.x < e.x1)
        p.x = e.x1;
    else if (p.x > e.x2)
        p.x = e.x2;
    if (p.y < e.y1)
        p.y = e.y1;
    else if (p.y > e.y2)
        p.y = e.y2;
}

void CJoxPage::OnDraw(CJoxView* view, CJoxDC* dc) {
    RootArticle()->OnDraw(view, dc);
}

void CJoxPage::ClearTree() {
    while (CTree* r = m_RootArticle.GetRsibling())
        delete r;
    while (CTree* c = m_RootArticle.GetFirstChild())
        delete c;
    m_RootArticle.Item(nullptr);
    m_lActiveRootID = -1;
    m_RootArticle.InvExtents(1);
}

// ---- Parameter blocks ----

int CColourPalette::GetCurrentGreyCount(CJoxPage* page) {
    return GetCurrentGreyCount(page ? page->GetColourPalette(false, eColourPaletteDefault)
                                    : nullptr);
}

CParamBlk* CJoxPage::AddParam(CParamBlk* b) {
    if (!b)
        return nullptr;
    m_ParamBlks.Add(b);
    b->SetDocument(this);
    return b;
}

CParamBlk* CJoxPage::FindParam(int id, int start, CParamBlk* (*factory)()) {
    if (CParamBlk* b = FindThisParam(m_ParamBlks, id, start))
        return b;
    return factory ? AddParam(factory()) : nullptr;
}

int CJoxPage::FindParam(CParamBlk* b) const {
    for (INT_PTR i = 0; i < m_ParamBlks.GetSize(); ++i)
        if (m_ParamBlks.GetAt(i) == b)
            return int(i);
    return -1;
}

int CJoxPage::MakeParamFirst(CParamBlk* b) {
    int i = FindParam(b);
    if (i < 0)
        return 0;
    m_ParamBlks.RemoveAt(i);
    m_ParamBlks.InsertAt(0, b);
    return 1;
}

int CJoxPage::RemoveParam(CParamBlk* b) {
    int i = FindParam(b);
    return i < 0 ? 0 : RemoveParam(i);
}

int CJoxPage::RemoveParam(int i) {
    if (i < 0 || i >= m_ParamBlks.GetSize())
        return 0;
    CParamBlk* b = m_ParamBlks.GetAt(i);
    m_ParamBlks.RemoveAt(i);
    delete b;
    return 1;
}

void CJoxPage::RemoveAllParams() {
    while (!m_ParamBlks.IsEmpty())
        RemoveParam(0);
}

CColourPalette* CJoxPage::GetColourPalette(bool create, EColourPaletteType) {
    CParamBlk* b = FindParam(CParamBlk::kColourPaletteId);
    if (auto* palette = DynamicDowncast<CColourPalette>(b))
        return palette;
    if (b || !create)
        return nullptr;
    return static_cast<CColourPalette*>(AddParam(new CColourPalette));
}

void CJoxPage::GetStorableDesignParams(CParamBlkArray& out, CRecArchive& ar) {
    for (INT_PTR i = 0; i < m_ParamBlks.GetSize(); ++i) {
        CParamBlk* b = m_ParamBlks.GetAt(i);
        if (b && b->CanSerialize(ar.Archive()))
            out.Add(b);
    }
}

void CJoxPage::StoreDesignParams(int id, CRecArchive& ar) {
    CParamBlkArray storable;
    GetStorableDesignParams(storable, ar);
    CArchive& a = ar.Archive();
    DWORD pos = ar.StartStore(WORD(id));
    a.WriteCount(DWORD_PTR(storable.GetSize()));
    for (INT_PTR i = 0; i < storable.GetSize(); ++i)
        a.WriteObject(storable.GetAt(i));
    ar.EndStore(pos);
}

// ---- State ----

void CJoxPage::SetModifiedFlag(BOOL on) {
    CDocument::SetModifiedFlag(on);
    if (on)
        m_dwTypeModified = 0xFFFFFFFFu;
}

void CJoxPage::SetTypeModifiedFlag(int type, int on) {
    DWORD bit = DWORD(1) << (type & 31);
    if (on)
        m_dwTypeModified |= bit;
    else
        m_dwTypeModified &= ~bit;
}

int CJoxPage::IsTypeModified(int type) const {
    return (m_dwTypeModified >> (type & 31)) & 1;
}

BOOL CJoxPage::SaveModified() {
    if (IsLocked()) {
        platform::ShowMessageBox(nullptr, kDocumentLocked, L"", MB_OK, IDS_DOCUMENT_LOCKED);
        return 0;
    }
    return CDocument::SaveModified();
}

void CJoxPage::OnChangedViewList() {
    if (!AreUpdatesLocked())
        CDocument::OnChangedViewList();
}

void CJoxPage::DeleteContents() {
    RemoveAllParams();
}

void CJoxPage::SetTitle(const wchar_t* title, bool) {
    // Frames learn of titles once they exist; the stored title is all there is here.
    CDocument::SetTitle(title);
}

void CJoxPage::SetFileNameExtension(const CString& ext) {
    CString path = GetPathName();
    // Only a dot in the file name starts the extension, not one in a folder name.
    int nameStart = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/')) + 1;
    int dot = path.ReverseFind(L'.');
    if (dot >= nameStart)
        path = path.Left(dot);
    if (ext.IsEmpty() || ext[0] != L'.')
        path += L".";
    path += ext;
    SetPathName(path, FALSE);
}

void CJoxPage::SetModulesVersion(bool add) {
    if (!m_pModulesVersion)
        m_pModulesVersion = new CArray<CVersion, CVersion&>;
    m_pModulesVersion->RemoveAll();
    CVersion running;
    if (add && CVersion::GetAppVersion(nullptr, running))
        m_pModulesVersion->Add(running);
}

// ---- Storage ----

void CJoxPage::Serialize(CArchive& ar) {
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        SetModulesVersion(true);
        if (m_pModulesVersion) {
            DWORD pos = rec.StartStore(kRecVersions);
            ar.WriteCount(DWORD_PTR(m_pModulesVersion->GetSize()));
            for (INT_PTR i = 0; i < m_pModulesVersion->GetSize(); ++i)
                m_pModulesVersion->ElementAt(i).Serialize(ar);
            rec.EndStore(pos);
        }
        rec.StoreField(kRecTree, static_cast<CObject&>(m_RootArticle));
        StoreDesignParams(kRecParams, rec);
        rec.StoreField(kRecContext, WORD(m_nContext));
        rec.StoreField(kRecFlags, uint32_t(m_dwFlags));
        rec.StoreField(kRecCreated, m_CreatedTime);
        rec.StoreField(kRecModified, m_ModifiedTime);
        record_fields::StoreFixed(ar, kRecExtents, int32_t(m_PageExtents.x1),
                                  int32_t(m_PageExtents.y1), int32_t(m_PageExtents.x2),
                                  int32_t(m_PageExtents.y2));
        rec.StoreField(kRecGrid, static_cast<const CObject*>(m_pGrid));
        rec.StoreField(kRecAutoResize, uint32_t(m_nAutoResize));
        record_fields::StoreFixed(ar, kRecViewExtents, int32_t(m_ViewExtents.x1),
                                  int32_t(m_ViewExtents.y1), int32_t(m_ViewExtents.x2),
                                  int32_t(m_ViewExtents.y2));
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecTree:
            LoadTree(rec, len);
            return true;
        case kRecParams:
            LoadParams(rec, len);
            return true;
        case kRecContext: {
            WORD context;
            if (record_fields::LoadFixed(rec, len, context))
                m_nContext = context;
            return true;
        }
        case kRecFlags:
            record_fields::LoadFixed(rec, len, m_dwFlags);
            return true;
        case kRecCreated:
        case kRecModified: {
            uint32_t seconds;
            if (record_fields::LoadFixed(rec, len, seconds))
                (id == kRecCreated ? m_CreatedTime : m_ModifiedTime) = CTime(int64_t(seconds));
            return true;
        }
        case kRecExtents:
            LoadRect(rec, len, m_PageExtents);
            return true;
        case kRecGrid:
            LoadGrid(rec, len);
            return true;
        case kRecAutoResize: {
            uint32_t v;
            if (record_fields::LoadFixed(rec, len, v))
                m_nAutoResize = int(v);
            return true;
        }
        case kRecViewExtents:
            LoadRect(rec, len, m_ViewExtents);
            return true;
        case kRecVersions:
            LoadVersions(rec, len);
            return true;
        default:
            return false;
        }
    });
}

void CJoxPage::LoadTree(CRecArchive& rec, DWORD len) {
    // A second tree record replaces the first instead of leaking it.
    ClearTree();
    CScopeGuard onFailure([&] {
        m_RootArticle.BuildLinks();
        ClearTree();
    });
    record_fields::LoadSized(rec, len, [&] { rec.LoadField(m_RootArticle); });
    onFailure.Dismiss();
    m_RootArticle.BuildLinks();
    // The further roots are the root's siblings, not its descendants: their items need
    // their owners too.
    for (CTree* t = m_RootArticle.GetRsibling(); t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t))
            a->BuildItemLinks();
    m_RootArticle.SetDocument(this);
    m_RootArticle.InvExtents(1);
}

void CJoxPage::LoadParams(CRecArchive& rec, DWORD len) {
    CArchive& ar = rec.Archive();
    std::vector<CParamBlk*> loaded;
    CScopeGuard onFailure([&] {
        for (CParamBlk* b : loaded)
            delete b;
    });
    record_fields::LoadSized(rec, len, [&] {
        DWORD_PTR count = ar.ReadCount(2);
        for (DWORD_PTR i = 0; i < count; ++i) {
            CParamBlk* b = ar.ReadObjectAs<CParamBlk>();
            // A null entry in a file holds nothing; it is dropped.
            if (b)
                loaded.push_back(b);
        }
    });
    onFailure.Dismiss();
    RemoveAllParams();
    for (CParamBlk* b : loaded)
        m_ParamBlks.Add(b);
    for (CParamBlk* b : loaded)
        b->PostSerializeLoad(this);
}

void CJoxPage::LoadGrid(CRecArchive& rec, DWORD len) {
    std::unique_ptr<CGrid> loaded;
    record_fields::LoadSized(rec, len, [&] { loaded.reset(rec.LoadObject<CGrid>()); });
    CGrid* grid = loaded.release();
    // Snapping and the grid's users expect one: a null grid in a file gives a default one.
    if (!grid)
        grid = new CGrid;
    delete m_pGrid;
    m_pGrid = grid;
}

void CJoxPage::LoadRect(CRecArchive& rec, DWORD len, CWindow& rect) {
    if (len != 16 && len != 20) {
        // Another size is not a rectangle: keep what the page has.
        rec.SkipField(len);
        return;
    }
    CArchive& ar = rec.Archive();
    if (len == 20)
        ar.Skip(4);
    int32_t v[4];
    ar >> v[0] >> v[1] >> v[2] >> v[3];
    rect = CWindow(v[0], v[1], v[2], v[3]);
}

void CJoxPage::LoadVersions(CRecArchive& rec, DWORD len) {
    SetModulesVersion(false);
    CArchive& ar = rec.Archive();
    CArray<CVersion, CVersion&> versions;
    record_fields::LoadSized(rec, len, [&] {
        // Each record holds at least its version word and its payload length.
        DWORD_PTR count = ar.ReadCount(12);
        for (DWORD_PTR i = 0; i < count; ++i) {
            CVersion v;
            v.Serialize(ar);
            versions.Add(v);
        }
    });
    m_pModulesVersion->Copy(versions);
}

// ---- Opening, saving, backup and recovery copies ----

BOOL CJoxPage::OnOpenDocument(const wchar_t* path) {
    if (!CDocument::OnOpenDocument(path)) {
        ClearTree();
        delete m_pGrid;
        m_pGrid = new CGrid;
        return 0;
    }
    if (m_strAutosaveFile.IsEmpty())
        fnSetAutosaveFile(path);
    return 1;
}

BOOL CJoxPage::OnSaveDocument(const wchar_t* path) {
    const bool backup = QvGetAppParam(L"BackupOn", 0) != 0 && IsModified();
    fnSetAutosaveFile(path);
    // The backup is taken once the new file is complete, so a failed save leaves both the
    // previous file and its older backup where they were.
    CString target(path);
    BOOL ok = SaveToFile(path, [&] {
        if (backup)
            CreateBackup(target);
    });
    if (ok) {
        SetModifiedFlag(FALSE);
        m_bViewModified = 0;
    }
    return ok;
}
